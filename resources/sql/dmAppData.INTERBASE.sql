-- Statements of the application data module: Firebird texts that differ from the MSSQL set.
-- GETDATEFORMAT reads no table of ours: it gives its one row on an empty database as well.
GETDATEFORMAT=SELECT 'yyyy-mm-dd' as DBDATEFORMAT FROM rdb$database
GETSERVERTIME=SELECT CURRENT_TIMESTAMP AS SERVERDATETIME FROM rdb$database
