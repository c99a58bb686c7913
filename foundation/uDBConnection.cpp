#include "uDBConnection.h"

#include "uClock.h"
#include "uDateTime.h"
#include "uExceptions.h"
#include "uSQLStringsHolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const QString TimestampFormat = u"yyyy-MM-dd HH:mm:ss"_s;

// "host:port", "host/port" or "host,port" (as each server's tools write it) into its two parts.
std::pair<QString, int> SplitHostPort(const QString& hostName)
{
    static const QRegularExpression withPort(u"^(.*[^:])[:/,](\\d{1,5})$"_s);
    const QRegularExpressionMatch match = withPort.match(hostName.trimmed());
    if (match.hasMatch() && !match.captured(1).contains(u':')) // an IPv6 address has colons of its own
        return {match.captured(1), match.captured(2).toInt()};
    return {hostName.trimmed(), -1};
}

// An ODBC connection-string value, braced when it holds characters the string itself uses.
QString OdbcValue(QString value)
{
    if (!value.contains(u';') && !value.contains(u'{') && !value.contains(u'}') && !value.contains(u'='))
        return value;
    return u'{' + value.replace(u'}', u"}}"_s) + u'}';
}

[[noreturn]] void RaiseConnectError(const QString& driver, const QString& reason)
{
    throw EDatabaseError(QCoreApplication::translate("DBConnection", "Cannot connect to the database (%1): %2",
                                                     "stDBCONNECTFAILED")
                             .arg(driver, reason));
}

void ConfigureLocal(QSqlDatabase& db, const TConnectionSettings& settings)
{
    const QString path = settings.DatabaseName.isEmpty() ? DBConnection::DefaultLocalDatabasePath()
                                                         : settings.DatabaseName;
    QDir().mkpath(QFileInfo(path).absolutePath()); // SQLite creates the file, not its folder
    db.setDatabaseName(path);
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=5000"_s);
}

void ConfigureMsSql(QSqlDatabase& db, const TConnectionSettings& settings)
{
    // FreeTDS (tdsodbc) registers itself with unixODBC as "FreeTDS".
    const auto [host, port] = SplitHostPort(settings.HostName);
    db.setDatabaseName(u"DRIVER={FreeTDS};SERVER=%1;PORT=%2;DATABASE=%3;UID=%4;PWD=%5;"
                       "TDS_Version=7.4;ClientCharset=UTF-8"_s
                           .arg(OdbcValue(host), QString::number(port > 0 ? port : 1433),
                                OdbcValue(settings.DatabaseName), OdbcValue(settings.UserName),
                                OdbcValue(settings.Password)));
}

void ConfigureServer(QSqlDatabase& db, int dialect, const TConnectionSettings& settings)
{
    const auto [host, port] = SplitHostPort(settings.HostName);
    db.setHostName(host);
    if (port > 0)
        db.setPort(port);
    db.setDatabaseName(settings.DatabaseName);
    db.setUserName(settings.UserName);
    db.setPassword(settings.Password);
    if (dialect == Dialect::MYSQL)
        db.setConnectOptions(u"MYSQL_OPT_CONNECT_TIMEOUT=10"_s);
    // QIBASE always talks UTF8 to Firebird.
}

void Configure(QSqlDatabase& db, int dialect, const TConnectionSettings& settings)
{
    switch (dialect) {
    case Dialect::LOCAL:
        ConfigureLocal(db, settings);
        break;
    case Dialect::MSSQL:
        ConfigureMsSql(db, settings);
        db.setUserName(settings.UserName);
        db.setPassword(settings.Password);
        break;
    default:
        ConfigureServer(db, dialect, settings);
        break;
    }
}

// Session set-up after the login; returns the failure's text, empty on success.
QString PrepareSession(QSqlDatabase& db, int dialect)
{
    if (dialect == Dialect::LOCAL) {
        DBConnection::RegisterLocalFunctions(db);
        return QString();
    }
    if (dialect != Dialect::MYSQL)
        return QString();
    // Quote doubling is then the complete escape of a text in SQL: a backslash is an ordinary letter.
    QSqlQuery query(db);
    for (const QString& sql : {u"SET NAMES utf8mb4"_s,
                               u"SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, "
                               "IF(@@SESSION.sql_mode = '', '', ','), 'NO_BACKSLASH_ESCAPES')"_s}) {
        if (!query.exec(sql))
            return query.lastError().text();
    }
    return QString();
}

// ---------------------------------------------------------------------------------------------
// The Access functions of the local database

// The order of day, month and year in a date format such as "dd/mm/yyyy" or "M/d/yy".
QString DateFieldOrder(const QString& dateFormat)
{
    QString order;
    for (const QChar c : dateFormat.toLower()) {
        if ((c == u'y' || c == u'm' || c == u'd') && !order.contains(c))
            order += c;
    }
    return order.size() == 3 ? order : u"ymd"_s;
}

int FullYear(int year) { return year >= 100 ? year : year + (year < 50 ? 2000 : 1900); }

QDate ReadDate(const QString& text, const QString& dateFormat, QString* rest)
{
    static const QRegularExpression iso(u"^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T]+(.*))?$"_s);
    static const QRegularExpression numeric(u"^(\\d{1,4})[^\\d\\s](\\d{1,4})[^\\d\\s](\\d{1,4})(?:\\s+(.*))?$"_s);
    QRegularExpressionMatch match = iso.match(text);
    QString order = u"ymd"_s;
    if (!match.hasMatch()) {
        match = numeric.match(text);
        order = DateFieldOrder(dateFormat);
    }
    if (!match.hasMatch())
        return QDate();
    *rest = match.captured(4).trimmed();
    const auto part = [&](QChar field) { return match.captured(int(order.indexOf(field)) + 1).toInt(); };
    return QDate(FullYear(part(u'y')), part(u'm'), part(u'd'));
}

QTime ReadTime(const QString& text)
{
    if (text.isEmpty())
        return QTime(0, 0);
    static const QRegularExpression time(
        u"^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2})(?:[.,]\\d+)?)?\\s*([ap])?\\.?m?\\.?$"_s,
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = time.match(text);
    if (!match.hasMatch())
        return QTime();
    int hour = match.captured(1).toInt();
    const QString half = match.captured(4).toLower();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return QTime();
        hour = hour % 12 + (half == u"p" ? 12 : 0);
    }
    return QTime(hour, match.captured(2).toInt(), match.captured(3).toInt());
}

// format(text, dateFormat): the canonical timestamp text, or the text itself when unreadable.
QString CanonicalTimestamp(const QString& text, const QString& dateFormat)
{
    QString rest;
    const QDate date = ReadDate(text.trimmed(), dateFormat, &rest);
    const QTime time = date.isValid() ? ReadTime(rest) : QTime();
    return time.isValid() ? QDateTime(date, time).toString(TimestampFormat) : text;
}

QString ValueText(sqlite3_value* value)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
}

void ResultText(sqlite3_context* context, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void SqlFormat(sqlite3_context* context, int, sqlite3_value** args)
{
    switch (sqlite3_value_type(args[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(context);
        return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: // a date-time kept as its day count
        ResultText(context, DateTimeConv::ToQDateTime(sqlite3_value_double(args[0])).toString(TimestampFormat));
        return;
    default:
        ResultText(context, CanonicalTimestamp(ValueText(args[0]), ValueText(args[1])));
    }
}

// The local database's server time is this computer's clock: the program's one clock object.
void SqlNow(sqlite3_context* context, int, sqlite3_value**)
{
    ResultText(context, TClock::CurrentDateTime().toString(TimestampFormat));
}

} // namespace

namespace DBConnection {

QString DriverName(int dialect)
{
    switch (dialect) {
    case Dialect::LOCAL: return u"QSQLITE"_s;
    case Dialect::INTERBASE: return u"QIBASE"_s;
    case Dialect::MSSQL: return u"QODBC"_s;
    case Dialect::MYSQL: return u"QMYSQL"_s;
    case Dialect::ORACLE: return u"QOCI"_s;
    default: return QString();
    }
}

QString DefaultLocalDatabasePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/KronvikClock2.db"_s;
}

QSqlDatabase Open(int dialect, const TConnectionSettings& settings, const QString& connectionName)
{
    const QString driver = DriverName(dialect);
    if (driver.isEmpty()) {
        throw EDatabaseError(
            QCoreApplication::translate("DBConnection", "Unknown database type %1.", "stDBUNKNOWNTYPE").arg(dialect));
    }
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        throw EDatabaseError(QCoreApplication::translate("DBConnection", "The database driver %1 is not installed.",
                                                         "stDBDRIVERMISSING")
                                 .arg(driver));
    }
    Close(connectionName);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, connectionName);
        Configure(db, dialect, settings);
        if (!db.open())
            failure = db.lastError().text();
        else
            failure = PrepareSession(db, dialect);
        if (failure.isEmpty())
            return db;
    }
    Close(connectionName);
    RaiseConnectError(driver, failure.trimmed());
}

void Close(const QString& connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    QSqlDatabase::database(connectionName, false).close();
    QSqlDatabase::removeDatabase(connectionName);
}

void RegisterLocalFunctions(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    sqlite3* sqlite = nullptr;
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        sqlite = *static_cast<sqlite3* const*>(handle.constData());
    if (!sqlite)
        throw EDatabaseError(QCoreApplication::translate("DBConnection", "The local database is not open.",
                                                         "stLOCALDBNOTOPEN"));
    const int formatResult = sqlite3_create_function_v2(sqlite, "format", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                                        nullptr, &SqlFormat, nullptr, nullptr, nullptr);
    const int nowResult = sqlite3_create_function_v2(sqlite, "now", 0, SQLITE_UTF8, nullptr, &SqlNow, nullptr,
                                                     nullptr, nullptr);
    if (formatResult != SQLITE_OK || nowResult != SQLITE_OK)
        throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(sqlite)));
}

} // namespace DBConnection
