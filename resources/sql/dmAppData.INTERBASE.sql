-- Statements of the application data module: Firebird texts that differ from the MSSQL set.
-- GETDATEFORMAT reads no table of ours: it gives its one row on an empty database as well. The cast
-- keeps the UTF8 connection from padding the literal to four bytes a character.
GETDATEFORMAT=SELECT CAST('yyyy-mm-dd' AS VARCHAR(10)) as DBDATEFORMAT FROM rdb$database
GETSERVERTIME=SELECT CURRENT_TIMESTAMP AS SERVERDATETIME FROM rdb$database
