<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>DBConnection</name>
    <message>
        <source>Cannot connect to the database (%1): %2</source>
        <comment>stDBCONNECTFAILED</comment>
        <translation>No se puede conectar con la base de datos (%1): %2</translation>
    </message>
    <message>
        <source>Unknown database type %1.</source>
        <comment>stDBUNKNOWNTYPE</comment>
        <translation>Tipo de base de datos desconocido: %1.</translation>
    </message>
    <message>
        <source>The database driver %1 is not installed.</source>
        <comment>stDBDRIVERMISSING</comment>
        <translation>El controlador de base de datos %1 no está instalado.</translation>
    </message>
    <message>
        <source>The local database is not open.</source>
        <comment>stLOCALDBNOTOPEN</comment>
        <translation>La base de datos local no está abierta.</translation>
    </message>
</context>
<context>
    <name>Formatters</name>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <comment>stINVALIDFLOAT</comment>
        <translation>&apos;%1&apos; no es un número decimal válido</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid time</source>
        <comment>stINVALIDTIME</comment>
        <translation>&apos;%1&apos; no es una hora válida</translation>
    </message>
</context>
<context>
    <name>TAppRegistry</name>
    <message>
        <source>Database is not opened!</source>
        <comment>stDBNOTOPENED</comment>
        <translation>¡La base de datos no está abierta!</translation>
    </message>
</context>
<context>
    <name>TCommandLine</name>
    <message>
        <source>Horavant 2.0 time clock station</source>
        <comment>stCMDDESCRIPTION</comment>
        <translation>Horavant 2.0, estación de control de asistencia</translation>
    </message>
    <message>
        <source>Start without the start-up picture.</source>
        <comment>stCMDNOSPLASH</comment>
        <translation>Iniciar sin la imagen de presentación.</translation>
    </message>
</context>
<context>
    <name>TContinousScanThread</name>
    <message>
        <source>The continuous scan ended after an unexpected error.</source>
        <comment>stSCANFAILED</comment>
        <translation>La lectura continua terminó por un error inesperado.</translation>
    </message>
</context>
<context>
    <name>TDBManager</name>
    <message>
        <source>&apos;%1&apos; is not a valid date and time</source>
        <comment>stINVALIDDATETIME</comment>
        <translation>&apos;%1&apos; no es una fecha y hora válida</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <comment>stINVALIDINTEGER</comment>
        <translation>&apos;%1&apos; no es un número entero válido</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <comment>stINVALIDFLOAT</comment>
        <translation>&apos;%1&apos; no es un número decimal válido</translation>
    </message>
    <message>
        <source>Field &apos;%1&apos; not found</source>
        <comment>stFIELDNOTFOUND</comment>
        <translation>No se encontró el campo &apos;%1&apos;</translation>
    </message>
    <message>
        <source>The SQL statement is empty.</source>
        <comment>stEMPTYSTATEMENT</comment>
        <translation>La instrucción SQL está vacía.</translation>
    </message>
    <message>
        <source>The database rejected the statement.</source>
        <comment>stSTATEMENTFAILED</comment>
        <translation>La base de datos rechazó la instrucción.</translation>
    </message>
    <message>
        <source>Invalid format specifier &apos;%1&apos; in &quot;%2&quot;</source>
        <comment>stFMTINVALID</comment>
        <translation>Especificador de formato &apos;%1&apos; no válido en &quot;%2&quot;</translation>
    </message>
    <message>
        <source>No argument for &apos;%1&apos; in &quot;%2&quot;</source>
        <comment>stFMTNOARGUMENT</comment>
        <translation>Falta el argumento de &apos;%1&apos; en &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Argument %3 does not fit &apos;%1&apos; in &quot;%2&quot;</source>
        <comment>stFMTWRONGARGUMENT</comment>
        <translation>El argumento %3 no corresponde a &apos;%1&apos; en &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Database is not opened!</source>
        <comment>stDBNOTOPENED</comment>
        <translation>¡La base de datos no está abierta!</translation>
    </message>
    <message>
        <source>Both connections are null! (uDBManager)</source>
        <comment>stBOTHCONNECTIONSNULL</comment>
        <translation>¡No hay ninguna conexión con la base de datos! (uDBManager)</translation>
    </message>
</context>
<context>
    <name>THtmlRenderer</name>
    <message>
        <source>Web Page (HTML)</source>
        <comment>stRPTFORMATHTML</comment>
        <translation>Página web (HTML)</translation>
    </message>
    <message>
        <source>Cannot write the HTML file: %1</source>
        <comment>stRPTHTMLWRITE</comment>
        <translation>No se puede escribir el archivo HTML: %1</translation>
    </message>
</context>
<context>
    <name>TIdentification</name>
    <message>
        <source>The user is invalid!</source>
        <comment>stINVALIDUSER</comment>
        <translation>¡El usuario no es válido!</translation>
    </message>
</context>
<context>
    <name>TKronvikCalculations</name>
    <message>
        <source>The number %1 is out of range.</source>
        <comment>stNUMBEROUTOFRANGE</comment>
        <translation>El número %1 está fuera de rango.</translation>
    </message>
    <message>
        <source>The check type %1 is out of range.</source>
        <comment>stCHECKTYPEOUTOFRANGE</comment>
        <translation>El tipo de registro %1 está fuera de rango.</translation>
    </message>
</context>
<context>
    <name>TLanguageDispatcher</name>
    <message>
        <source>Invalid language index!</source>
        <comment>stINVALIDLANGUAGE</comment>
        <translation>¡Índice de idioma no válido!</translation>
    </message>
</context>
<context>
    <name>TPdfRenderer</name>
    <message>
        <source>Adobe Acrobat (PDF)</source>
        <comment>stRPTFORMATPDF</comment>
        <translation>Adobe Acrobat (PDF)</translation>
    </message>
    <message>
        <source>The PDF file cannot be started.</source>
        <comment>stRPTPDFSTART</comment>
        <translation>No se puede crear el archivo PDF.</translation>
    </message>
</context>
<context>
    <name>TPrinterRenderer</name>
    <message>
        <source>There are no pages to print.</source>
        <comment>stRPTNOPAGES</comment>
        <translation>No hay páginas para imprimir.</translation>
    </message>
    <message>
        <source>The printer %1 cannot be started.</source>
        <comment>stRPTPRINTERSTART</comment>
        <translation>No se puede iniciar la impresora %1.</translation>
    </message>
</context>
<context>
    <name>TPunchEngine</name>
    <message>
        <source>The employee has no open check-in, so the check-out was not registered.</source>
        <comment>stNOOPENCHECKIN</comment>
        <translation>El empleado no tiene una entrada abierta, por lo que no se registró la salida.</translation>
    </message>
</context>
<context>
    <name>TRegistrySettings</name>
    <message>
        <source>Can not save information to the registry!</source>
        <comment>stREGISTRYSAVEERROR</comment>
        <translation>¡No se puede guardar la información en la configuración!</translation>
    </message>
</context>
<context>
    <name>TReportPainter</name>
    <message>
        <source>A picture on page %1 is not a valid JPEG image.</source>
        <comment>stRPTBADPAGEJPEG</comment>
        <translation>Una imagen de la página %1 no es una imagen JPEG válida.</translation>
    </message>
</context>
<context>
    <name>TReportPreview</name>
    <message>
        <source>Firs&amp;t</source>
        <comment>stFIRSTPAGE</comment>
        <translation>&amp;Primera</translation>
    </message>
    <message>
        <source>Move to first page</source>
        <comment>stFIRSTPAGEHINT</comment>
        <translation>Ir a la primera página</translation>
    </message>
    <message>
        <source>Pre&amp;vious</source>
        <comment>stPREVIOUSPAGE</comment>
        <translation>A&amp;nterior</translation>
    </message>
    <message>
        <source>Move to previous page</source>
        <comment>stPREVIOUSPAGEHINT</comment>
        <translation>Ir a la página anterior</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <comment>stNEXTPAGE</comment>
        <translation>&amp;Siguiente</translation>
    </message>
    <message>
        <source>Move to next page</source>
        <comment>stNEXTPAGEHINT</comment>
        <translation>Ir a la página siguiente</translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <comment>stLASTPAGE</comment>
        <translation>Ú&amp;ltima</translation>
    </message>
    <message>
        <source>Move to last page</source>
        <comment>stLASTPAGEHINT</comment>
        <translation>Ir a la última página</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <comment>stZOOMIN</comment>
        <translation>A&amp;cercar</translation>
    </message>
    <message>
        <source>Zoom In (+)</source>
        <comment>stZOOMINHINT</comment>
        <translation>Acercar (+)</translation>
    </message>
    <message>
        <source>Zoom O&amp;ut</source>
        <comment>stZOOMOUT</comment>
        <translation>Al&amp;ejar</translation>
    </message>
    <message>
        <source>Zoom Out (-)</source>
        <comment>stZOOMOUTHINT</comment>
        <translation>Alejar (-)</translation>
    </message>
    <message>
        <source>Fit to Page &amp;Width</source>
        <comment>stZOOMWIDTH</comment>
        <translation>Ajustar al an&amp;cho</translation>
    </message>
    <message>
        <source>Zoom to fit page width</source>
        <comment>stZOOMWIDTHHINT</comment>
        <translation>Ajustar al ancho de la página</translation>
    </message>
    <message>
        <source>Fit to Pag&amp;e</source>
        <comment>stZOOMPAGE</comment>
        <translation>Ajustar a la pá&amp;gina</translation>
    </message>
    <message>
        <source>Zoom to fit page</source>
        <comment>stZOOMPAGEHINT</comment>
        <translation>Ajustar a la página completa</translation>
    </message>
    <message>
        <source>Page</source>
        <comment>stPAGECAPTION</comment>
        <translation>Página</translation>
    </message>
    <message>
        <source>of</source>
        <comment>stOF</comment>
        <translation>de</translation>
    </message>
</context>
<context>
    <name>TReportRenderer</name>
    <message>
        <source>The output is not open for writing.</source>
        <comment>stRPTNOTWRITABLE</comment>
        <translation>La salida no está abierta para escritura.</translation>
    </message>
    <message>
        <source>Cannot write the file %1: %2</source>
        <comment>stRPTCANNOTWRITE</comment>
        <translation>No se puede escribir el archivo %1: %2</translation>
    </message>
</context>
<context>
    <name>TReportSnapshot</name>
    <message>
        <source>Report Snapshot File (NDR)</source>
        <comment>stRPTFORMATNDR</comment>
        <translation>Archivo de instantánea de informe (NDR)</translation>
    </message>
    <message>
        <source>Cannot write the report snapshot: %1</source>
        <comment>stRPTSNAPWRITE</comment>
        <translation>No se puede escribir la instantánea del informe: %1</translation>
    </message>
    <message>
        <source>Cannot open the file %1: %2</source>
        <comment>stRPTCANNOTOPEN</comment>
        <translation>No se puede abrir el archivo %1: %2</translation>
    </message>
    <message>
        <source>The report snapshot is damaged (%1).</source>
        <comment>stRPTSNAPDAMAGED</comment>
        <translation>La instantánea del informe está dañada (%1).</translation>
    </message>
    <message>
        <source>The file is not a report snapshot.</source>
        <comment>stRPTNOTSNAPSHOT</comment>
        <translation>El archivo no es una instantánea de informe.</translation>
    </message>
    <message>
        <source>The report snapshot was made by a newer version of the program (format %1).</source>
        <comment>stRPTSNAPNEWER</comment>
        <translation>La instantánea del informe se creó con una versión más reciente del programa (formato %1).</translation>
    </message>
    <message>
        <source>its length does not match</source>
        <comment>stRPTSNAPLENGTH</comment>
        <translation>su longitud no coincide</translation>
    </message>
    <message>
        <source>its checksum does not match</source>
        <comment>stRPTSNAPCHECKSUM</comment>
        <translation>su suma de comprobación no coincide</translation>
    </message>
    <message>
        <source>its content cannot be read</source>
        <comment>stRPTSNAPCONTENT</comment>
        <translation>su contenido no se puede leer</translation>
    </message>
</context>
<context>
    <name>TReportWriter</name>
    <message>
        <source>There is no tab stop left on the line.</source>
        <comment>stRPTNOTABLEFT</comment>
        <translation>No quedan tabulaciones libres en la línea.</translation>
    </message>
    <message>
        <source>Pictures of type &quot;%1&quot; cannot be printed; only JPG pictures can.</source>
        <comment>stRPTIMAGETYPE</comment>
        <translation>No se pueden imprimir imágenes de tipo &quot;%1&quot;; solo se pueden imprimir imágenes JPG.</translation>
    </message>
    <message>
        <source>The picture is not a valid JPEG image.</source>
        <comment>stRPTBADJPEG</comment>
        <translation>La imagen no es una imagen JPEG válida.</translation>
    </message>
</context>
<context>
    <name>TRtfRenderer</name>
    <message>
        <source>Rich Text Format (RTF)</source>
        <comment>stRPTFORMATRTF</comment>
        <translation>Texto enriquecido (RTF)</translation>
    </message>
    <message>
        <source>Cannot write the RTF file: %1</source>
        <comment>stRPTRTFWRITE</comment>
        <translation>No se puede escribir el archivo RTF: %1</translation>
    </message>
</context>
<context>
    <name>TSQLStringsHolder</name>
    <message>
        <source>No statement set found for %1 in %2.</source>
        <comment>stNOSTATEMENTSET</comment>
        <translation>No se encontró ningún conjunto de instrucciones para %1 en %2.</translation>
    </message>
    <message>
        <source>%1, line %2: %3</source>
        <comment>stSTATEMENTFILEERROR</comment>
        <translation>%1, línea %2: %3</translation>
    </message>
    <message>
        <source>continuation line without a statement</source>
        <comment>stSTATEMENTCONTINUATION</comment>
        <translation>línea de continuación sin instrucción</translation>
    </message>
    <message>
        <source>expected NAME=statement</source>
        <comment>stSTATEMENTEXPECTED</comment>
        <translation>se esperaba NOMBRE=instrucción</translation>
    </message>
    <message>
        <source>statement %1 is defined twice</source>
        <comment>stSTATEMENTTWICE</comment>
        <translation>la instrucción %1 está definida dos veces</translation>
    </message>
    <message>
        <source>Name already exists!</source>
        <comment>stNAMEEXISTS</comment>
        <translation>¡El nombre ya existe!</translation>
    </message>
    <message>
        <source>Invalid language index!</source>
        <comment>stINVALIDLANGUAGE</comment>
        <translation>¡Índice de idioma no válido!</translation>
    </message>
    <message>
        <source>The end of the parameter %1 is undefined.</source>
        <comment>stPARAMETERENDUNDEFINED</comment>
        <translation>No se encontró el final del parámetro %1.</translation>
    </message>
</context>
<context>
    <name>TTextRenderer</name>
    <message>
        <source>Plain Text (TXT)</source>
        <comment>stRPTFORMATTXT</comment>
        <translation>Texto sin formato (TXT)</translation>
    </message>
    <message>
        <source>Cannot write the text file: %1</source>
        <comment>stRPTTEXTWRITE</comment>
        <translation>No se puede escribir el archivo de texto: %1</translation>
    </message>
</context>
<context>
    <name>TVelloxBSP</name>
    <message>
        <source>The fingerprint reader is not available.</source>
        <comment>stREADERNOTAVAILABLE</comment>
        <translation>El lector de huellas digitales no está disponible.</translation>
    </message>
    <message>
        <source>The fingerprint reader failed in %1 (%2).</source>
        <comment>stREADERCALLFAILED</comment>
        <translation>El lector de huellas digitales falló en %1 (%2).</translation>
    </message>
    <message>
        <source>The fingerprint reader gave no number for %1.</source>
        <comment>stREADERNONUMBER</comment>
        <translation>El lector de huellas digitales no devolvió ningún número para %1.</translation>
    </message>
</context>
<context>
    <name>TdtmAppData</name>
    <message>
        <source>The access to the database is not properly configured or can not access the database. 
Error: %1
Do you want to change the database settings?</source>
        <comment>stDBCONFIGERROR</comment>
        <translation>El acceso a la base de datos no está bien configurado o no se puede acceder a la base de datos. 
Error: %1
¿Desea cambiar la configuración de la base de datos?</translation>
    </message>
    <message>
        <source>The specified database does not contain the necessary tables to store the information. 
Do you want to create them now?</source>
        <comment>stNOALLTABLESEXIST</comment>
        <translation>La base de datos indicada no contiene las tablas necesarias para guardar la información. 
¿Desea crearlas ahora?</translation>
    </message>
    <message>
        <source>Application cannot continue!</source>
        <comment>stAPPCANTCONTINUE</comment>
        <translation>¡La aplicación no puede continuar!</translation>
    </message>
    <message>
        <source>The computer&apos;s clock could not be set to the time of the database server (%1).
The program goes on with the computer&apos;s own time.</source>
        <comment>stSYNCTIMEERROR</comment>
        <translation>No se pudo ajustar el reloj del equipo a la hora del servidor de la base de datos (%1).
El programa continúa con la hora del equipo.</translation>
    </message>
    <message>
        <source>The tables cannot be created. Verify that the database account has table creation privileges. 
Application cannot continue!</source>
        <comment>stTABLECREATIONERROR</comment>
        <translation>No se pueden crear las tablas. Verifique que la cuenta de la base de datos tenga privilegios para crear tablas. 
¡La aplicación no puede continuar!</translation>
    </message>
    <message>
        <source>The tables have been created successfully!</source>
        <comment>stTABLECREATIONSUCCEDED</comment>
        <translation>¡Las tablas se crearon correctamente!</translation>
    </message>
    <message>
        <source>File not supported</source>
        <comment>stFILENOTSUPPORTED</comment>
        <translation>Tipo de archivo no admitido</translation>
    </message>
    <message>
        <source>The picture %1 cannot be read: %2</source>
        <comment>stPICTUREREADERROR</comment>
        <translation>No se puede leer la imagen %1: %2</translation>
    </message>
    <message>
        <source>Port %1 could not be opened!</source>
        <comment>stCOMERROROPEN</comment>
        <translation>¡No se pudo abrir el puerto %1!</translation>
    </message>
    <message>
        <source>Could not write to: %1</source>
        <comment>stCOMERRORWRITE</comment>
        <translation>No se pudo escribir en: %1</translation>
    </message>
</context>
<context>
    <name>TfrmAbout</name>
    <message>
        <source>About Horavant</source>
        <comment>stABOUTCAPTION</comment>
        <translation>Acerca de Horavant</translation>
    </message>
    <message>
        <source>Version:</source>
        <comment>stVERSIONLABEL</comment>
        <translation>Versión:</translation>
    </message>
    <message>
        <source>Programming Crew:</source>
        <comment>stCREWLABEL</comment>
        <translation>Equipo de programación:</translation>
    </message>
    <message>
        <source>Ok</source>
        <comment>stOKBUTTON</comment>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>TfrmCheckOutReasons</name>
    <message>
        <source>Check Out Reasons Catalog</source>
        <comment>stFRMCHECKOUTREASONS</comment>
        <translation>Catálogo de motivos de salida</translation>
    </message>
    <message>
        <source>List of check out reasons</source>
        <comment>stLBXREASONSHINT</comment>
        <translation>Lista de motivos de salida</translation>
    </message>
    <message>
        <source>Code</source>
        <comment>stLBLCODE</comment>
        <translation>Código</translation>
    </message>
    <message>
        <source>Reason identification code</source>
        <comment>stEDTCODEHINT</comment>
        <translation>Código que identifica el motivo</translation>
    </message>
    <message>
        <source>Reason</source>
        <comment>stLBLREASON</comment>
        <translation>Motivo</translation>
    </message>
    <message>
        <source>Description of the reason</source>
        <comment>stEDTREASONHINT</comment>
        <translation>Descripción del motivo</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <comment>stACTSETADD</comment>
        <translation>&amp;Agregar</translation>
    </message>
    <message>
        <source>Add a reason to the catalog</source>
        <comment>stACTSETADDHINT</comment>
        <translation>Agregar un motivo al catálogo</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <comment>stACTSETMODIFY</comment>
        <translation>&amp;Modificar</translation>
    </message>
    <message>
        <source>Edit selected reason</source>
        <comment>stACTSETMODIFYHINT</comment>
        <translation>Modificar el motivo seleccionado</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <comment>stACTDELETE</comment>
        <translation>&amp;Eliminar</translation>
    </message>
    <message>
        <source>Erase selected reason</source>
        <comment>stACTDELETEHINT</comment>
        <translation>Eliminar el motivo seleccionado</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <comment>stACTADD</comment>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>Save reason</source>
        <comment>stACTADDHINT</comment>
        <translation>Guardar el motivo</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <comment>stACTMODIFY</comment>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>Save changes</source>
        <comment>stACTMODIFYHINT</comment>
        <translation>Guardar los cambios</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <comment>stACTCANCEL</comment>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Cancel changes</source>
        <comment>stACTCANCELHINT</comment>
        <translation>Descartar los cambios</translation>
    </message>
    <message>
        <source>Help</source>
        <comment>stACTOPENHELP</comment>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Are you sure you want to delete this Check Out Reason?</source>
        <comment>stDELETEWARNING</comment>
        <translation>¿Está seguro de que desea eliminar este motivo de salida?</translation>
    </message>
    <message>
        <source>This Reason Name or Code already exist on DB! Please try with another one.</source>
        <comment>stREASONEXIST</comment>
        <translation>¡Ya existe un motivo con ese nombre o código en la base de datos! Intente con otro.</translation>
    </message>
    <message>
        <source>First you have to add Check Out Reasons. Do you want to do it now?</source>
        <comment>stCHECKVERIF</comment>
        <translation>Primero debe agregar motivos de salida. ¿Desea hacerlo ahora?</translation>
    </message>
</context>
<context>
    <name>TfrmDatabaseSettings</name>
    <message>
        <source>Database Settings</source>
        <comment>stDBSETTINGS</comment>
        <translation>Configuración de la base de datos</translation>
    </message>
    <message>
        <source>Database type:</source>
        <comment>stDBTYPE</comment>
        <translation>Tipo de base de datos:</translation>
    </message>
    <message>
        <source>Local database</source>
        <comment>stDBTYPELOCAL</comment>
        <translation>Base de datos local</translation>
    </message>
    <message>
        <source>InterBase / Firebird</source>
        <comment>stDBTYPEINTERBASE</comment>
        <translation>InterBase / Firebird</translation>
    </message>
    <message>
        <source>Microsoft SQL Server</source>
        <comment>stDBTYPEMSSQL</comment>
        <translation>Microsoft SQL Server</translation>
    </message>
    <message>
        <source>MySQL / MariaDB</source>
        <comment>stDBTYPEMYSQL</comment>
        <translation>MySQL / MariaDB</translation>
    </message>
    <message>
        <source>Oracle</source>
        <comment>stDBTYPEORACLE</comment>
        <translation>Oracle</translation>
    </message>
    <message>
        <source>Server:</source>
        <comment>stDBHOST</comment>
        <translation>Servidor:</translation>
    </message>
    <message>
        <source>Database:</source>
        <comment>stDBNAME</comment>
        <translation>Base de datos:</translation>
    </message>
    <message>
        <source>User name:</source>
        <comment>stDBUSER</comment>
        <translation>Usuario:</translation>
    </message>
    <message>
        <source>Password:</source>
        <comment>stDBPASSWORD</comment>
        <translation>Contraseña:</translation>
    </message>
</context>
<context>
    <name>TfrmMainWindow</name>
    <message>
        <source>&amp;Application</source>
        <comment>stMNUAPPLICATION</comment>
        <translation>&amp;Aplicación</translation>
    </message>
    <message>
        <source>A&amp;dministration</source>
        <comment>stMNUADMINISTRATION</comment>
        <translation>A&amp;dministración</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <comment>stMNUHELP</comment>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>Check In</source>
        <comment>stACTCHECKIN</comment>
        <translation>Registrar entrada</translation>
    </message>
    <message>
        <source>Check Out</source>
        <comment>stACTCHECKOUT</comment>
        <translation>Registrar salida</translation>
    </message>
    <message>
        <source>Exit Application...</source>
        <comment>stACTEXIT</comment>
        <translation>Salir de la aplicación...</translation>
    </message>
    <message>
        <source>Login Administrator</source>
        <comment>stACTADMLOGIN</comment>
        <translation>Iniciar sesión de administrador</translation>
    </message>
    <message>
        <source>Logout Administrator</source>
        <comment>stACTADMLOGOUT</comment>
        <translation>Cerrar sesión de administrador</translation>
    </message>
    <message>
        <source>Start Continuous Scan...</source>
        <comment>stSTARTCONTSCAN</comment>
        <translation>Iniciar lectura continua...</translation>
    </message>
    <message>
        <source>Help Topics</source>
        <comment>stACTHELPTOPICS</comment>
        <translation>Temas de ayuda</translation>
    </message>
    <message>
        <source>About...</source>
        <comment>stACTABOUT</comment>
        <translation>Acerca de...</translation>
    </message>
    <message>
        <source>January</source>
        <comment>stJAN</comment>
        <translation>Enero</translation>
    </message>
    <message>
        <source>February</source>
        <comment>stFEB</comment>
        <translation>Febrero</translation>
    </message>
    <message>
        <source>March</source>
        <comment>stMAR</comment>
        <translation>Marzo</translation>
    </message>
    <message>
        <source>April</source>
        <comment>stAPR</comment>
        <translation>Abril</translation>
    </message>
    <message>
        <source>May</source>
        <comment>stMAY</comment>
        <translation>Mayo</translation>
    </message>
    <message>
        <source>June</source>
        <comment>stJUN</comment>
        <translation>Junio</translation>
    </message>
    <message>
        <source>July</source>
        <comment>stJUL</comment>
        <translation>Julio</translation>
    </message>
    <message>
        <source>August</source>
        <comment>stAUG</comment>
        <translation>Agosto</translation>
    </message>
    <message>
        <source>September</source>
        <comment>stSEP</comment>
        <translation>Septiembre</translation>
    </message>
    <message>
        <source>October</source>
        <comment>stOCT</comment>
        <translation>Octubre</translation>
    </message>
    <message>
        <source>November</source>
        <comment>stNOV</comment>
        <translation>Noviembre</translation>
    </message>
    <message>
        <source>December</source>
        <comment>stDEC</comment>
        <translation>Diciembre</translation>
    </message>
    <message>
        <source>Administrator privileges are needed to start the application. Your privileges will be verified ...</source>
        <comment>stADMPRIVNEEDED</comment>
        <translation>Se necesitan privilegios de administrador para iniciar la aplicación. Se verificarán sus privilegios ...</translation>
    </message>
    <message>
        <source>Welcome to Horavant!</source>
        <comment>stWELCOMEMSG</comment>
        <translation>¡Bienvenido a Horavant!</translation>
    </message>
    <message>
        <source>You don&apos;t have the necessary privileges.  Application cannot continue.</source>
        <comment>stPRIVILEGESNOTPROV</comment>
        <translation>No tiene los privilegios necesarios.  La aplicación no puede continuar.</translation>
    </message>
    <message>
        <source>Checked In</source>
        <comment>stCHECKEDIN</comment>
        <translation>Entrada registrada</translation>
    </message>
    <message>
        <source>Checked Out</source>
        <comment>stCHECKEDOUT</comment>
        <translation>Salida registrada</translation>
    </message>
    <message>
        <source>Checking In...</source>
        <comment>stCHECKINGIN</comment>
        <translation>Registrando entrada...</translation>
    </message>
    <message>
        <source>Checking Out...</source>
        <comment>stCHECKINGOUT</comment>
        <translation>Registrando salida...</translation>
    </message>
    <message>
        <source>Administrator Mode</source>
        <comment>stADMMODEMESSAGE</comment>
        <translation>Modo administrador</translation>
    </message>
    <message>
        <source>Supervisor Mode</source>
        <comment>stSPVSMODEMESSAGE</comment>
        <translation>Modo supervisor</translation>
    </message>
    <message>
        <source>Ready...</source>
        <comment>stMSGREADY</comment>
        <translation>Listo...</translation>
    </message>
    <message>
        <source>Administrator Privileges</source>
        <comment>stADMMESSAGE</comment>
        <translation>Privilegios de administrador</translation>
    </message>
    <message>
        <source>Press Ctrl+C to STOP continuous scan...</source>
        <comment>stHOWSTOPCONTSCAN</comment>
        <translation>Presione Ctrl+C para DETENER la lectura continua...</translation>
    </message>
    <message>
        <source>Press Ctrl+C to START continuous scan...</source>
        <comment>stHOWSTARTCONTSCAN</comment>
        <translation>Presione Ctrl+C para INICIAR la lectura continua...</translation>
    </message>
    <message>
        <source>Stop Continuous Scan...</source>
        <comment>stSTOPCONTSCAN</comment>
        <translation>Detener lectura continua...</translation>
    </message>
    <message>
        <source>Welcome! You are now logged in with administrator privileges.</source>
        <comment>stWELCOMEADM</comment>
        <translation>¡Bienvenido! Ha iniciado sesión con privilegios de administrador.</translation>
    </message>
    <message>
        <source>Close administrator session?</source>
        <comment>stLOGOUT</comment>
        <translation>¿Cerrar la sesión de administrador?</translation>
    </message>
    <message>
        <source>Continuous Scan will start now...</source>
        <comment>stCONTSCANSTART</comment>
        <translation>La lectura continua comenzará ahora...</translation>
    </message>
    <message>
        <source>Continuous Scan is being stopped. Please wait...</source>
        <comment>stCONTSCANSTOP</comment>
        <translation>Se está deteniendo la lectura continua. Espere, por favor...</translation>
    </message>
    <message>
        <source>To show the application just click on this icon.</source>
        <comment>stIMHERE</comment>
        <translation>Para mostrar la aplicación, haga clic en este icono.</translation>
    </message>
    <message>
        <source>Exit Application?</source>
        <comment>stEXITAPP</comment>
        <translation>¿Salir de la aplicación?</translation>
    </message>
    <message>
        <source>An unexpected error has occurred.</source>
        <comment>stUNEXPECTEDERROR</comment>
        <translation>Se produjo un error inesperado.</translation>
    </message>
</context>
<context>
    <name>TfrmMyMessageDlg</name>
    <message>
        <source>Message</source>
        <comment>stMESSAGE</comment>
        <translation>Mensaje</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <comment>stCANCEL</comment>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Information</source>
        <comment>stINFORMATION</comment>
        <translation>Información</translation>
    </message>
    <message>
        <source>Confirmation</source>
        <comment>stCONFIRMATION</comment>
        <translation>Confirmación</translation>
    </message>
    <message>
        <source>Warning</source>
        <comment>stWARNING</comment>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>Error</source>
        <comment>stERROR</comment>
        <translation>Error</translation>
    </message>
    <message>
        <source>Progress</source>
        <comment>stPROGRESS</comment>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Yes</source>
        <comment>stYES</comment>
        <translation>Sí</translation>
    </message>
    <message>
        <source>No</source>
        <comment>stNO</comment>
        <translation>No</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <comment>stOK</comment>
        <translation>&amp;Aceptar</translation>
    </message>
    <message>
        <source>This window will be closed in %1 seconds.</source>
        <comment>stCLOSING</comment>
        <translation>Esta ventana se cerrará en %1 segundos.</translation>
    </message>
    <message>
        <source>An error has occurred. Error code</source>
        <comment>stAnErrorOccurred</comment>
        <translation>Se produjo un error. Código de error</translation>
    </message>
    <message>
        <source>Process cancelled by user request</source>
        <comment>stMSGPROCESSCANCELED</comment>
        <translation>Proceso cancelado a petición del usuario</translation>
    </message>
    <message>
        <source>Do not show this message again</source>
        <comment>stNOTSHOWMESSAGE</comment>
        <translation>No volver a mostrar este mensaje</translation>
    </message>
</context>
<context>
    <name>TfrmPassword</name>
    <message>
        <source>Authentication</source>
        <comment>stFRMPASSWORD</comment>
        <translation>Identificación</translation>
    </message>
    <message>
        <source>Enter your Employee Id or choose your name</source>
        <comment>stLBLNAME</comment>
        <translation>Escriba su número de empleado o elija su nombre</translation>
    </message>
    <message>
        <source>Enter the barcode here</source>
        <comment>stEDTBARCODEHINT</comment>
        <translation>Escriba aquí el código de barras</translation>
    </message>
    <message>
        <source>Choose your name from the list</source>
        <comment>stCMBUSERLISTHINT</comment>
        <translation>Elija su nombre en la lista</translation>
    </message>
    <message>
        <source>Choose a reason</source>
        <comment>stLBLREASON</comment>
        <translation>Elija un motivo</translation>
    </message>
    <message>
        <source>Choose the leaving reason</source>
        <comment>stCMBREASONHINT</comment>
        <translation>Elija el motivo de la salida</translation>
    </message>
    <message>
        <source>Note</source>
        <comment>stLBLNOTE</comment>
        <translation>Nota</translation>
    </message>
    <message>
        <source>Write a check out comment</source>
        <comment>stMEMNOTEHINT</comment>
        <translation>Escriba un comentario sobre la salida</translation>
    </message>
    <message>
        <source>Write your password and press Enter</source>
        <comment>stLBLPASSWORD</comment>
        <translation>Escriba su contraseña y presione Enter</translation>
    </message>
    <message>
        <source>Type your password</source>
        <comment>stEDTPASSWORDHINT</comment>
        <translation>Escriba su contraseña</translation>
    </message>
    <message>
        <source>Ok</source>
        <comment>stACTLOGIN</comment>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Insert the credentials</source>
        <comment>stACTLOGINHINT</comment>
        <translation>Confirmar la identificación</translation>
    </message>
    <message>
        <source>Your fingerprint is not in-place!</source>
        <comment>stTIMEOUT</comment>
        <translation>¡Su dedo no está colocado en el lector!</translation>
    </message>
    <message>
        <source>Your fingerprint is not registered or you don&apos;t have administrator privileges.
Do you want to use password identification instead?</source>
        <comment>stNOTADMPRIVILEGES</comment>
        <translation>Su huella digital no está registrada o usted no tiene privilegios de administrador.
¿Desea identificarse con su contraseña?</translation>
    </message>
    <message>
        <source>Your fingerprint is incorrectly placed or not properly registered. 
Do you want to use password authentication instead?</source>
        <comment>stFINGERERRORPASSWD</comment>
        <translation>Su dedo está mal colocado o su huella digital no está bien registrada. 
¿Desea identificarse con su contraseña?</translation>
    </message>
    <message>
        <source>This Bar Code: &quot;%1&quot; does not correspond to any employee.</source>
        <comment>stNOBARCODE</comment>
        <translation>El código de barras &quot;%1&quot; no corresponde a ningún empleado.</translation>
    </message>
    <message>
        <source>Fingerprint scanning time out. Try again?</source>
        <comment>stTIMEDOUT</comment>
        <translation>Se agotó el tiempo de lectura de la huella digital. ¿Desea intentarlo de nuevo?</translation>
    </message>
    <message>
        <source>Fingerprint authentication has failed. Password authentication will be used instead.</source>
        <comment>stFINGERPRINTFAILED</comment>
        <translation>Falló la identificación por huella digital. Se usará la contraseña.</translation>
    </message>
    <message>
        <source>Wrong password! Please try again.</source>
        <comment>stPASSWORDFAILED</comment>
        <translation>¡Contraseña incorrecta! Inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>This Employee is Inactive, please contact your System Administrator.</source>
        <comment>stINACTIVEEMP</comment>
        <translation>Este empleado está inactivo; comuníquese con el administrador del sistema.</translation>
    </message>
    <message>
        <source>This Employee does not have Administrative Privileges</source>
        <comment>stNOTADMINPRIV</comment>
        <translation>Este empleado no tiene privilegios de administración</translation>
    </message>
    <message>
        <source>This Employee is already Checked In.</source>
        <comment>stEMPCHECKEDIN</comment>
        <translation>Este empleado ya registró su entrada.</translation>
    </message>
    <message>
        <source>This Employee is already Checked Out.</source>
        <comment>stEMPCHECKEDOUT</comment>
        <translation>Este empleado ya registró su salida.</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <comment>stCANCEL</comment>
        <translation>&amp;Cancelar</translation>
    </message>
</context>
</TS>
