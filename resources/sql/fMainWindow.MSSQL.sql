-- Statements of the main window: the common set, used by every dialect.
GETPIC=SELECT PICTURE FROM EMPLOYEES WHERE EMPLOYEEID = <#EMPLOYEEID/>
