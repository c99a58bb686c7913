#include "TestServers.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QtGlobal>

#include <ibase.h>

#include <string>

namespace TestServers
{

namespace
{

// What scripts/test-servers exported for one server.
struct ServerSettings final {
    QString host;
    int port = 0;
    QString user;
    QString password;
    QString directory; // Firebird only: where database files go
};

QString Variable(const QString& server, const char* field)
{
    return QStringLiteral("HORAVANT_TEST_%1_%2").arg(server, QLatin1String(field));
}

QStringList VariablesOf(const QString& server)
{
    QStringList names;
    for (const char* field : {"HOST", "PORT", "USER", "PASSWORD"})
        names << Variable(server, field);
    if (server == u"FIREBIRD")
        names << Variable(server, "DIR");
    return names;
}

QStringList MissingVariables(const QString& server)
{
    QStringList missing;
    for (const QString& name : VariablesOf(server)) {
        if (qEnvironmentVariableIsEmpty(name.toLocal8Bit().constData()))
            missing << name;
    }
    return missing;
}

std::optional<ServerSettings> ReadSettings(const QString& server)
{
    if (!MissingVariables(server).isEmpty())
        return std::nullopt;
    const auto value = [&](const char* field) {
        return qEnvironmentVariable(Variable(server, field).toLocal8Bit().constData());
    };
    return ServerSettings{value("HOST"), value("PORT").toInt(), value("USER"), value("PASSWORD"),
                          value("DIR")};
}

// prefix_<pid>_<sequence>_<random>: unique among the tests running at the same time, and a plain
// identifier on every server.
QString UniqueName(const QString& prefix)
{
    static QAtomicInteger<int> sequence;
    QString kept;
    for (const QChar c : prefix.left(24).toLower()) {
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_')
            kept += c;
    }
    if (kept.isEmpty() || kept.front().isDigit())
        kept.prepend(u't');
    return QStringLiteral("%1_%2_%3_%4")
        .arg(kept)
        .arg(QCoreApplication::applicationPid())
        .arg(sequence.fetchAndAddRelaxed(1) + 1)
        .arg(QRandomGenerator::global()->bounded(0x10000), 4, 16, QLatin1Char('0'));
}

QString ConnectionName()
{
    static QAtomicInteger<int> sequence;
    return QStringLiteral("testservers-%1").arg(sequence.fetchAndAddRelaxed(1) + 1);
}

// Why the last Create... of this thread failed.
thread_local QString lastError;

// Runs a statement on the MariaDB server outside any database; the error, or empty.
QString ExecOnMariaDbServer(const Database& server, const QString& sql)
{
    Database admin = server;
    admin.database.clear();
    Connection connection(admin);
    if (!connection.isOpen())
        return QStringLiteral("MariaDB test server: ") + connection.errorText();
    QSqlQuery query(connection.database());
    if (!query.exec(sql))
        return QStringLiteral("MariaDB test server: %1: %2").arg(sql, query.lastError().text());
    return {};
}

// ---- Firebird through the client library: Qt's driver cannot create or drop a database.

QByteArray FirebirdPath(const Database& database)
{
    return QStringLiteral("%1/%2:%3").arg(database.host).arg(database.port).arg(database.database).toUtf8();
}

bool Failed(const ISC_STATUS* status)
{
    return status[0] == 1 && status[1] != 0;
}

QString FirebirdErrorText(const ISC_STATUS* status)
{
    QStringList parts;
    char buffer[512];
    const ISC_STATUS* cursor = status;
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0)
        parts << QString::fromUtf8(buffer);
    return parts.join(u"; ");
}

// A database parameter buffer: the login, the UTF-8 path, and whatever else is appended.
class ParameterBuffer final
{
public:
    explicit ParameterBuffer(const Database& database)
    {
        add(isc_dpb_user_name, database.user.toUtf8());
        add(isc_dpb_password, database.password.toUtf8());
        add(isc_dpb_utf8_filename, {});
    }
    ParameterBuffer& add(char tag, const QByteArray& value)
    {
        m_bytes += tag;
        m_bytes += char(value.size());
        m_bytes.append(value.constData(), size_t(value.size()));
        return *this;
    }
    ParameterBuffer& addByte(char tag, char value) { return add(tag, QByteArray(1, value)); }
    ParameterBuffer& addInt32(char tag, qint32 value)
    {
        QByteArray bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = char((value >> (8 * i)) & 0xff); // the buffer is little-endian
        return add(tag, bytes);
    }
    short size() const { return short(m_bytes.size()); }
    const char* data() const { return m_bytes.data(); }

private:
    std::string m_bytes = std::string(1, char(isc_dpb_version1));
};

// Creates the database file; the error, or empty.
QString CreateFirebirdFile(const Database& database)
{
    const QByteArray path = FirebirdPath(database);
    ParameterBuffer parameters(database);
    parameters.addInt32(isc_dpb_page_size, 8192)
        .addByte(isc_dpb_sql_dialect, SQL_DIALECT_V6)
        .add(isc_dpb_set_db_charset, "UTF8")
        .add(isc_dpb_lc_ctype, "UTF8")
        // Test data needs no crash safety; without a sync per commit the tests run much faster.
        .addByte(isc_dpb_force_write, 0);
    ISC_STATUS_ARRAY status{};
    isc_db_handle handle = 0;
    isc_create_database(status, 0, path.constData(), &handle, parameters.size(), parameters.data(), 0);
    if (Failed(status)) {
        return QStringLiteral("Firebird test server: could not create %1: %2")
            .arg(QString::fromUtf8(path), FirebirdErrorText(status));
    }
    isc_detach_database(status, &handle);
    return {};
}

bool DropFirebirdFile(const Database& database)
{
    const QByteArray path = FirebirdPath(database);
    const ParameterBuffer parameters(database);
    ISC_STATUS_ARRAY status{};
    isc_db_handle handle = 0;
    isc_attach_database(status, 0, path.constData(), &handle, parameters.size(), parameters.data());
    if (!Failed(status))
        isc_drop_database(status, &handle);
    if (Failed(status)) {
        qWarning("Firebird test server: could not drop %s: %s", path.constData(),
                 qPrintable(FirebirdErrorText(status)));
        if (handle)
            isc_detach_database(status, &handle);
        return false;
    }
    return true;
}

} // namespace

std::optional<Database> CreateMariaDbDatabase(const QString& prefix)
{
    lastError.clear();
    const auto settings = ReadSettings(QStringLiteral("MYSQL"));
    if (!settings)
        return std::nullopt;
    Database database{QStringLiteral("QMYSQL"), settings->host,     settings->port, UniqueName(prefix),
                      settings->user,           settings->password, DialectMySql};
    lastError = ExecOnMariaDbServer(database, QStringLiteral("CREATE DATABASE `%1` CHARACTER SET "
                                                             "utf8mb4 COLLATE utf8mb4_unicode_ci")
                                                  .arg(database.database));
    if (!lastError.isEmpty())
        return std::nullopt;
    return database;
}

std::optional<Database> CreateFirebirdDatabase(const QString& prefix)
{
    lastError.clear();
    const auto settings = ReadSettings(QStringLiteral("FIREBIRD"));
    if (!settings)
        return std::nullopt;
    const QString file = QDir(settings->directory).filePath(UniqueName(prefix) + QStringLiteral(".fdb"));
    Database database{QStringLiteral("QIBASE"), settings->host,     settings->port,  file,
                      settings->user,           settings->password, DialectInterbase};
    lastError = CreateFirebirdFile(database);
    if (!lastError.isEmpty())
        return std::nullopt;
    return database;
}

QString LastError()
{
    return lastError;
}

bool DropDatabase(const Database& database)
{
    if (database.driver == u"QIBASE")
        return DropFirebirdFile(database);
    const QString error =
        ExecOnMariaDbServer(database, QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(database.database));
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
    return error.isEmpty();
}

QString MissingServersMessage()
{
    QStringList missing;
    for (const QString& server : {QStringLiteral("MYSQL"), QStringLiteral("FIREBIRD")})
        missing << MissingVariables(server);
    if (missing.isEmpty())
        return {};
    return QStringLiteral("test servers not started (%1 not set): run scripts/test, or "
                          "eval \"$(scripts/test-servers start DIR)\" before ctest")
        .arg(missing.join(u", "));
}

Connection::Connection(const Database& database) : m_name(ConnectionName())
{
    m_database = QSqlDatabase::addDatabase(database.driver, m_name);
    m_database.setHostName(database.host);
    m_database.setPort(database.port);
    m_database.setDatabaseName(database.database);
    m_database.setUserName(database.user);
    m_database.setPassword(database.password);
    if (database.driver == u"QIBASE")
        m_database.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
    if (!m_database.open()) {
        m_error = m_database.lastError().text();
        return;
    }
    if (database.driver == u"QMYSQL") {
        QSqlQuery query(m_database);
        if (!query.exec(QStringLiteral(
                "SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',NO_BACKSLASH_ESCAPES')"))) {
            m_error = query.lastError().text();
            m_database.close();
        }
    }
}

Connection::~Connection()
{
    m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

} // namespace TestServers
