#include "TestServers.h"
#include "TestSupport.h"
#include "dmAppData.h"
#include "uClock.h"
#include "uDBConnection.h"
#include "uSchemaScript.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using TKind = TStartupPrompts::TKind;

namespace
{

// The user at start-up, answering from a script: Yes/No answers in order (No once they run out) and
// an optional edit of the database settings (declined when there is none).
class TScriptedPrompts final : public TStartupPrompts
{
public:
    QList<bool> answers;
    std::function<void(TAppRegistry&)> editSettings;
    QStringList questions;
    QStringList notices;
    int edits = 0;

    bool AskYesNo(TKind, const QString& text) override
    {
        questions.append(text);
        return !answers.isEmpty() && answers.takeFirst();
    }
    void Show(TKind, const QString& text) override { notices.append(text); }
    bool EditDatabaseSettings(TAppRegistry& settings) override
    {
        ++edits;
        if (editSettings)
            editSettings(settings);
        return bool(editSettings);
    }
};

// A clock that records the time it was asked to set, or refuses as an unprivileged user's does.
class TRecordingClock final : public TClock
{
public:
    explicit TRecordingClock(bool permitted, QDateTime* setTo) : m_permitted(permitted), m_setTo(setTo) {}

protected:
    bool SetLocalTime(const QDateTime& localTime, QString* error) override
    {
        if (!m_permitted) {
            *error = u"Operation not permitted"_s;
            return false;
        }
        *m_setTo = localTime;
        return true;
    }

private:
    bool m_permitted;
    QDateTime* m_setTo;
};

QString HostAndPort(const TestServers::Database& server)
{
    return server.host + u':' + QString::number(server.port);
}

std::optional<TestServers::Database> CreateServerDatabase(const QString& backend)
{
    return backend == u"firebird"_s ? TestServers::CreateFirebirdDatabase(u"appdata"_s)
                                    : TestServers::CreateMariaDbDatabase(u"appdata"_s);
}

void Execute(const QString& connectionName, const QString& sql)
{
    QSqlQuery query(QSqlDatabase::database(connectionName));
    if (!query.exec(sql))
        QFAIL(qPrintable(sql));
}

QByteArray ReadAvailable(int fd)
{
    QByteArray bytes;
    pollfd ready{fd, POLLIN, 0};
    char buffer[256];
    while (::poll(&ready, 1, 200) > 0) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count <= 0)
            break;
        bytes.append(buffer, count);
    }
    return bytes;
}

// A pseudo-terminal standing in for a serial device: the program writes to the slave's path, the
// test reads what arrived at the master.
class TPseudoTerminal final
{
public:
    TPseudoTerminal()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~TPseudoTerminal()
    {
        if (m_master >= 0)
            ::close(m_master);
    }
    bool IsOpen() const { return !m_slavePath.isEmpty(); }
    const QString& SlavePath() const { return m_slavePath; }
    QByteArray Received() const { return ReadAvailable(m_master); }

private:
    int m_master = -1;
    QString m_slavePath;
};

} // namespace

class TestAppData : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        // Settings, the local database and the help pages all go to this test's own directory.
        TestSupport::UseUserDirectoriesIn(m_dir->path());
    }
    void cleanup()
    {
        TClock::Install(nullptr);
        m_dir.reset();
    }

    void freshDataDirectoryGivesUsableLocalDatabaseWithoutQuestions()
    {
        TScriptedPrompts prompts;
        TdtmAppData data(prompts);

        QVERIFY(!data.CannotContinue());
        QCOMPARE(prompts.questions, QStringList());
        QCOMPARE(prompts.notices, QStringList());
        const QString file = DBConnection::DefaultLocalDatabasePath();
        QVERIFY2(file.startsWith(m_dir->path()) && QFile::exists(file), qPrintable(file));
        QVERIFY(data.TablesExist());
        QCOMPARE(data.DBDateFormat(), u"yyyy-mm-dd"_s);
        QCOMPARE(
            data.FormatDateTimeForSQL(DateTimeConv::EncodeDate(2024, 3, 5) + DateTimeConv::EncodeTime(7, 8)),
            u"2024-03-05 07:08:00"_s);
        // Stored timestamps are text here: midnight keeps its time so it sorts inside its own day.
        QCOMPARE(data.FormatDateTimeForSQL(DateTimeConv::EncodeDate(2024, 3, 5)), u"2024-03-05 00:00:00"_s);
        QCOMPARE(data.AppRegistry().StationId, 1); // the local schema's own station

        // A second start finds everything in place and asks nothing either.
        TScriptedPrompts again;
        TdtmAppData second(again);
        QVERIFY(!second.CannotContinue());
        QCOMPARE(again.questions, QStringList());
    }

    void localDatabaseNameSettingChoosesTheFile()
    {
        const QString path = m_dir->filePath(u"elsewhere/clock.db"_s);
        SaveSettings({{u"DatabaseType"_s, 0}, {u"DatabaseName"_s, path}});
        TScriptedPrompts prompts;
        TdtmAppData data(prompts);
        QVERIFY(!data.CannotContinue());
        QVERIFY(QFile::exists(path));
        QVERIFY(!QFile::exists(DBConnection::DefaultLocalDatabasePath()));
    }

    // An existing local file that lacks tables: the required names are matched as substrings, and
    // missing ones are created only after the user agrees.
    void existingLocalFileWithMissingTables_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("cannotContinue");
        QTest::addColumn<QString>("lastNotice");

        const QString renameEmployees = u"ALTER TABLE EMPLOYEES RENAME TO OLDEMPLOYEES"_s;
        const QString dropGroups = u"DROP TABLE EMPLOYEEGROUPS"_s;
        QTest::newRow("OLDEMPLOYEES satisfies EMPLOYEES")
            << renameEmployees << QList<bool>{} << false << false << QString();
        QTest::newRow("missing table, No")
            << dropGroups << QList<bool>{false} << true << true << u"Application cannot continue!"_s;
        QTest::newRow("missing table, Yes") << dropGroups << QList<bool>{true} << true << false
                                            << u"The tables have been created successfully!"_s;
    }
    void existingLocalFileWithMissingTables()
    {
        QFETCH(QString, change);
        QFETCH(QList<bool>, answers);
        QFETCH(bool, asked);
        QFETCH(bool, cannotContinue);
        QFETCH(QString, lastNotice);
        {
            TScriptedPrompts prompts;
            TdtmAppData data(prompts); // creates the file with every table
            Execute(data.ActiveConnectionName(), change);
        }
        TScriptedPrompts prompts;
        prompts.answers = answers;
        TdtmAppData data(prompts);
        QCOMPARE(prompts.questions.size(), asked ? 1 : 0);
        if (asked)
            QVERIFY(prompts.questions.first().startsWith(
                u"The specified database does not contain the necessary tables"_s));
        QCOMPARE(data.CannotContinue(), cannotContinue);
        QCOMPARE(prompts.notices.value(prompts.notices.size() - 1), lastNotice);
        if (!cannotContinue)
            QVERIFY(data.TablesExist());
    }

    // Any failure to connect asks whether to change the settings; declining ends the program,
    // accepting connects with the new settings and keeps them.
    void connectionFailureOffersToChangeSettings_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("No") << false;
        QTest::newRow("Yes, then LOCAL") << true;
    }
    void connectionFailureOffersToChangeSettings()
    {
        QFETCH(bool, accept);
        SaveSettings({{u"DatabaseType"_s, 7}});
        TScriptedPrompts prompts;
        prompts.answers = {accept};
        if (accept)
            prompts.editSettings = [](TAppRegistry& settings) { settings.DatabaseType = Dialect::LOCAL; };
        TdtmAppData data(prompts);

        QCOMPARE(prompts.questions.size(), 1);
        QCOMPARE(prompts.questions.first(),
                 u"The access to the database is not properly configured or can not access the database. \n"
                 "Error: Unknown database type 7.\nDo you want to change the database settings?"_s);
        QCOMPARE(data.CannotContinue(), !accept);
        QCOMPARE(prompts.edits, accept ? 1 : 0);
        QCOMPARE(prompts.notices, accept ? QStringList() : QStringList{u"Application cannot continue!"_s});
        QCOMPARE(StoredSetting(u"DatabaseType"_s).toInt(), accept ? 0 : 7);
    }

    void serverWithoutTablesCreatesThemAfterYes_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<bool>("answer");
        QTest::newRow("mariadb, Yes") << u"mariadb"_s << true;
        QTest::newRow("mariadb, No") << u"mariadb"_s << false;
        QTest::newRow("firebird, Yes") << u"firebird"_s << true;
    }
    void serverWithoutTablesCreatesThemAfterYes()
    {
        QFETCH(QString, backend);
        QFETCH(bool, answer);
        const auto server = CreateServerDatabase(backend);
        TESTSERVERS_REQUIRE(server);
        const auto drop = qScopeGuard([&] { TestServers::DropDatabase(*server); });
        SaveServerSettings(*server, server->password);

        TScriptedPrompts prompts;
        prompts.answers = {answer};
        auto data = std::make_unique<TdtmAppData>(prompts);
        QCOMPARE(prompts.questions.size(), 1);
        QCOMPARE(data->CannotContinue(), !answer);
        QCOMPARE(data->TablesExist(), answer);
        QCOMPARE(prompts.notices.value(0), answer ? u"The tables have been created successfully!"_s
                                                  : u"Application cannot continue!"_s);
        data.reset(); // Firebird drops no database that is still attached
    }

    void wrongPasswordAsksToChangeSettings_data()
    {
        QTest::addColumn<bool>("correct");
        QTest::newRow("No") << false;
        QTest::newRow("Yes, corrected") << true;
    }
    void wrongPasswordAsksToChangeSettings()
    {
        QFETCH(bool, correct);
        const auto server = TestServers::CreateMariaDbDatabase(u"appdata"_s);
        TESTSERVERS_REQUIRE(server);
        const auto drop = qScopeGuard([&] { TestServers::DropDatabase(*server); });
        SaveServerSettings(*server, server->password + u"-wrong"_s);

        TScriptedPrompts prompts;
        prompts.answers = {correct, true}; // change the settings; then create the tables
        if (correct)
            prompts.editSettings = [&](TAppRegistry& settings) { settings.Password = server->password; };
        TdtmAppData data(prompts);

        QVERIFY(prompts.questions.value(0).startsWith(
            u"The access to the database is not properly configured or can not access the database. \nError: "_s));
        QCOMPARE(data.CannotContinue(), !correct);
        QCOMPARE(data.DBManager().IsConnected(), correct);
        if (correct)
            QCOMPARE(StoredSetting(u"Password"_s).toString(), server->password);
    }

    void dateFormatAndServerTimePerDialect_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("dateFormat");
        QTest::newRow("sqlite") << u"sqlite"_s << u"yyyy-mm-dd"_s;
        QTest::newRow("mariadb") << u"mariadb"_s << u"yyyy-mm-dd"_s;
        QTest::newRow("firebird") << u"firebird"_s << u"yyyy-mm-dd"_s;
    }
    void dateFormatAndServerTimePerDialect()
    {
        QFETCH(QString, backend);
        QFETCH(QString, dateFormat);
        std::optional<TestServers::Database> server;
        if (backend != u"sqlite"_s) {
            server = CreateServerDatabase(backend);
            TESTSERVERS_REQUIRE(server);
            SaveServerSettings(*server, server->password);
        }
        const auto drop = qScopeGuard([&] {
            if (server)
                TestServers::DropDatabase(*server);
        });
        TScriptedPrompts prompts;
        prompts.answers = {true};
        auto data = std::make_unique<TdtmAppData>(prompts);
        QVERIFY(!data->CannotContinue());
        QCOMPARE(data->GetDBDateFormat(), dateFormat);
        QCOMPARE(data->DBDateFormat(), dateFormat);
        // The servers run on this machine, so their clock and ours agree to within a minute.
        const double minutesApart =
            std::abs(data->GetServerTime() - TClock::Now()) * DateTimeConv::MinutesPerDay;
        QVERIFY2(minutesApart < 1.0, qPrintable(QString::number(minutesApart)));
        data.reset();
    }

    // The computer's clock follows a server database's time when asked to; without the privilege
    // the user is told and the program goes on.
    void synchronizeTimeWithServer_data()
    {
        QTest::addColumn<bool>("permitted");
        QTest::newRow("permitted") << true;
        QTest::newRow("not permitted") << false;
    }
    void synchronizeTimeWithServer()
    {
        QFETCH(bool, permitted);
        const auto server = TestServers::CreateMariaDbDatabase(u"appdata"_s);
        TESTSERVERS_REQUIRE(server);
        const auto drop = qScopeGuard([&] { TestServers::DropDatabase(*server); });
        SaveServerSettings(*server, server->password);
        SaveSettings({{u"SynchronizeTime"_s, true}});
        QDateTime setTo;
        TClock::Install(std::make_unique<TRecordingClock>(permitted, &setTo));

        TScriptedPrompts prompts;
        prompts.answers = {true};
        TdtmAppData data(prompts);
        QVERIFY(!data.CannotContinue());
        QCOMPARE(setTo.isValid(), permitted);
        if (permitted) {
            QVERIFY(std::abs(setTo.secsTo(QDateTime::currentDateTime())) < 60);
        } else {
            QVERIFY(prompts.notices.last().startsWith(
                u"The computer's clock could not be set to the time of the database server"_s));
            QVERIFY(prompts.notices.last().contains(u"Operation not permitted"_s));
        }
    }

    void servicesReadTheDatabase()
    {
        TScriptedPrompts prompts;
        TdtmAppData data(prompts);
        const QString connection = data.ActiveConnectionName();
        Execute(connection, u"INSERT INTO EMPLOYEEGROUPS (GROUPID, GROUPNAME, MONDAY_T, TUESDAY_T, FRIDAY_T, "
                            "SUNDAY_T) VALUES (7, 'Night', 480, 480, 450, NULL)"_s);
        Execute(connection,
                u"INSERT INTO EMPLOYEES (EMPLOYEEID, GROUPID, FIRSTNAME, LASTNAME, LASTOPERATION) "
                "VALUES (3, 7, ' Ana ', 'Pérez', 1), (4, 7, 'Solo', '', 0)"_s);

        QCOMPARE(data.EmployeeNameLastFirst(3), u"Pérez, Ana"_s);
        QCOMPARE(data.EmployeeNameFirstLast(3), u"Ana Pérez"_s);
        QCOMPARE(data.EmployeeNameLastFirst(4), u"Solo"_s);
        QCOMPARE(data.EmployeeNameLastFirst(99), QString());
        QCOMPARE(data.GetLastOperation(3), 1);
        QCOMPARE(data.GetLastOperation(4), 0);
        QCOMPARE(data.GetLastOperation(99), 0);
        QCOMPARE(data.WeeklyScheduledHours(3), (480 + 480 + 450) / 60.0);
        QCOMPARE(data.WeeklyScheduledHours(99), 0.0);
        QCOMPARE(data.LookupField(u"GETUSERNAME"_s, 3, u"LASTNAME"_s), u"Pérez"_s);
        QCOMPARE(data.LookupField(u"GETUSERNAME"_s, 99, u"LASTNAME"_s), QString());

        const TQueryReleaser employees(
            data.DBManager(), data.DBManager().Open(u"SELECT * FROM EMPLOYEES ORDER BY EMPLOYEEID"_s));
        employees->Next();
        QCOMPARE(TdtmAppData::RowCount(*employees.get()), 2);
        QCOMPARE(employees->FieldByName(u"EMPLOYEEID"_s).AsInteger(), 3); // back on the first row
        const TQueryReleaser none(data.DBManager(),
                                  data.DBManager().Open(u"SELECT * FROM EMPLOYEES WHERE EMPLOYEEID = 99"_s));
        QCOMPARE(TdtmAppData::RowCount(*none.get()), 0);

        QVERIFY(!data.PlaySound(m_dir->filePath(u"missing.wav"_s)));
        QVERIFY(!data.PlaySound(QString()));
    }

    void helpFollowsTheLanguage()
    {
        TScriptedPrompts prompts;
        TdtmAppData data(prompts);
        QCOMPARE(data.Language(), 1);
        const QString english = data.HelpTopicPath(u"welcome.html"_s);
        QVERIFY2(QFile::exists(english), qPrintable(english));

        QSignalSpy changed(&data, &TdtmAppData::LanguageChanged);
        data.SetLanguage(2);
        QCOMPARE(changed.size(), 1);
        const QString spanish = data.HelpTopicPath(u"welcome.html"_s);
        QVERIFY(spanish != english);
        QVERIFY(QFile::exists(spanish));
        QVERIFY(ReadText(spanish).contains(u"lang=\"es\""_s));
        QVERIFY(!QFile::exists(data.HelpTopicPath(u"no-such-topic.html"_s))); // a path all the same

        QVERIFY_THROWS_EXCEPTION(Exception, data.SetLanguage(3));
        QCOMPARE(data.Language(), 2);
    }

    void loadPictureFile_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("error");
        QTest::newRow("bmp") << u"logo.bmp"_s << QString();
        QTest::newRow("jpg") << u"logo.jpg"_s << QString();
        QTest::newRow("JPEG in capitals") << u"logo.JPEG"_s << QString();
        QTest::newRow("png") << u"logo.png"_s << u"File not supported"_s;
        QTest::newRow("no extension") << u"logo"_s << u"File not supported"_s;
    }
    void loadPictureFile()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, error);
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QString path = m_dir->filePath(fileName);
        const QString suffix = QFileInfo(fileName).suffix().toLower();
        QVERIFY(image.save(path, suffix == u"bmp"_s                       ? "BMP"
                                 : suffix == u"png"_s || suffix.isEmpty() ? "PNG"
                                                                          : "JPEG"));
        try {
            const QByteArray jpeg = TdtmAppData::LoadPictureFile(path);
            QVERIFY2(error.isEmpty(), "an error was expected");
            QVERIFY(jpeg.startsWith("\xFF\xD8"));
            QCOMPARE(QImage::fromData(jpeg).size(), image.size());
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), error);
        }
    }

    void unreadablePictureIsAnError()
    {
        const QString path = m_dir->filePath(u"broken.jpg"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        file.close();
        QVERIFY_THROWS_EXCEPTION(Exception, TdtmAppData::LoadPictureFile(path));
        QVERIFY_THROWS_EXCEPTION(Exception, TdtmAppData::LoadPictureFile(m_dir->filePath(u"missing.bmp"_s)));
    }

    void serialOutputWritesTheCode()
    {
        TPseudoTerminal terminal;
        QVERIFY(terminal.IsOpen());
        QVERIFY(TdtmAppData::SendCodeToSerialPort(terminal.SlavePath(), u"OPEN#1"_s));
        QCOMPARE(terminal.Received(), QByteArray("OPEN#1"));
        // The port was closed and released: it opens again.
        QVERIFY(TdtmAppData::SendCodeToSerialPort(terminal.SlavePath(), u"2"_s));
        QCOMPARE(terminal.Received(), QByteArray("2"));

        QVERIFY(!TdtmAppData::SendCodeToSerialPort(terminal.SlavePath(), QString()));
        QCOMPARE(terminal.Received(), QByteArray());
    }

    void serialOutputErrors()
    {
        const QString missing = m_dir->filePath(u"ttyMissing0"_s);
        QCOMPARE(SerialError(missing, u"1"_s), u"Port %1 could not be opened!"_s.arg(missing));
        QVERIFY(!QFile::exists(missing)); // never created

        // Another program holding the port keeps us off it.
        TPseudoTerminal terminal;
        QVERIFY(terminal.IsOpen());
        const int holder = ::open(QFile::encodeName(terminal.SlavePath()).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(holder >= 0);
        const auto release = qScopeGuard([&] { ::close(holder); });
        QCOMPARE(::flock(holder, LOCK_EX | LOCK_NB), 0);
        QCOMPARE(SerialError(terminal.SlavePath(), u"1"_s),
                 u"Port %1 could not be opened!"_s.arg(terminal.SlavePath()));
        QCOMPARE(terminal.Received(), QByteArray());

        // A device that takes no writes.
        QCOMPARE(SerialError(u"/dev/full"_s, u"1"_s), u"Could not write to: /dev/full"_s);
    }

private:
    static QString SerialError(const QString& port, const QString& code)
    {
        try {
            TdtmAppData::SendCodeToSerialPort(port, code);
        } catch (const Exception& e) {
            return e.Message();
        }
        return {};
    }

    static void SaveSettings(const QList<std::pair<QString, QVariant>>& values)
    {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, u"Ostrelo"_s, u"KronvikClock2"_s);
        for (const auto& [name, value] : values)
            store.setValue(name, value);
    }
    static QVariant StoredSetting(const QString& name)
    {
        const QSettings store(QSettings::IniFormat, QSettings::UserScope, u"Ostrelo"_s, u"KronvikClock2"_s);
        return store.value(name);
    }
    static void SaveServerSettings(const TestServers::Database& server, const QString& password)
    {
        SaveSettings({{u"DatabaseType"_s, server.dialect},
                      {u"HostName"_s, HostAndPort(server)},
                      {u"DatabaseName"_s, server.database},
                      {u"UserName"_s, server.user},
                      {u"Password"_s, password}});
    }
    static QString ReadText(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestAppData)
#include "tst_appdata.moc"
