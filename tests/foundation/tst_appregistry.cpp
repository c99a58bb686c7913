#include "TestServers.h"
#include "uAppRegistry.h"
#include "uDBConnection.h"
#include "uDBManager.h"
#include "uExceptions.h"
#include "uSchemaScript.h"

#include <QCoreApplication>
#include <QDir>
#include <QHostAddress>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

using TSaveAtOnceSetter = void (TAppRegistry::*)(bool);
Q_DECLARE_METATYPE(TSaveAtOnceSetter)

namespace
{

// A fresh database with every table, opened through the program's own connection code and given
// to a database manager: a SQLite file, or a new database on a loopback test server.
class TestDatabase final
{
public:
    TestDatabase(const std::optional<TestServers::Database>& server, const QString& directory)
        : m_server(server), m_connection(u"appregistry"_s)
    {
        try {
            if (m_server) {
                const TConnectionSettings settings{m_server->host + u':' + QString::number(m_server->port),
                                                   m_server->database, m_server->user, m_server->password};
                DBConnection::Open(m_server->dialect, settings, m_connection);
                Manager.SetServerConnection(m_connection);
                Manager.SetServerMode(true);
                SchemaScript::Run(Manager, m_server->dialect);
            } else {
                DBConnection::Open(Dialect::LOCAL, {{}, directory + u"/KronvikClock2.db"_s, {}, {}},
                                   m_connection);
                Manager.SetLocalConnection(m_connection);
                Manager.SetServerMode(false);
                SchemaScript::EnsureLocalSchema(Manager);
            }
        } catch (const Exception& e) {
            m_error = e.Message();
        }
    }
    ~TestDatabase()
    {
        Manager.ClearPool();
        DBConnection::Close(m_connection);
        if (m_server)
            TestServers::DropDatabase(*m_server);
    }
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const QString& Error() const { return m_error; }

    int StationCount(const QString& name)
    {
        const TQueryReleaser query(
            Manager,
            Manager.OpenFmt(u"SELECT COUNT(*) AS N FROM CHECKSTATIONS WHERE STATIONNAME = '%s'"_s, {name}));
        return query->FieldByName(u"N"_s).AsInteger();
    }

    TDBManager Manager;

private:
    std::optional<TestServers::Database> m_server;
    QString m_connection;
    QString m_error;
};

std::optional<TestServers::Database> CreateServerDatabase(const QString& backend)
{
    if (backend == u"mariadb")
        return TestServers::CreateMariaDbDatabase(u"appregistry"_s);
    return TestServers::CreateFirebirdDatabase(u"appregistry"_s);
}

void AddBackendRows()
{
    QTest::addColumn<QString>("backend");
    for (const QString& backend : {u"sqlite"_s, u"mariadb"_s, u"firebird"_s})
        QTest::newRow(qPrintable(backend)) << backend;
}

} // namespace

// Opens the database of the row's backend as `db`; a server row skips (or fails, under
// scripts/test) when its server was not started.
#define OPEN_DATABASE(db)                                                                                    \
    QFETCH(QString, backend);                                                                                \
    std::optional<TestServers::Database> db##Server;                                                         \
    if (backend != u"sqlite") {                                                                              \
        db##Server = CreateServerDatabase(backend);                                                          \
        TESTSERVERS_REQUIRE(db##Server);                                                                     \
    }                                                                                                        \
    TestDatabase db(db##Server, m_dir->path());                                                              \
    QVERIFY2(db.Error().isEmpty(), qPrintable(db.Error()))

class TestAppRegistry : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->path());
    }
    void cleanup() { m_dir.reset(); }

    // The value names are what earlier installations stored: a renamed property loses a setting.
    void namesKindsAndDefaults_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("defaultValue");
        const QVariant text = QString();
        const QList<std::pair<const char*, QVariant>> settings = {
            {"DatabaseType", 0},
            {"DatabaseName", text},
            {"HostName", text},
            {"UserName", text},
            {"Password", text},
            {"AppLanguage", 1},
            {"ShowCompanyName", false},
            {"StationId", 0},
            {"CompanyLogoFileName", text},
            {"PasswordWhenStarts", false},
            {"PasswordWhenFinish", false},
            {"DedicatedPC", false},
            {"MinimizeToTray", false},
            {"ContinuousScan", false},
            {"SynchronizeTime", false},
            {"DisplayPictureTime", 3},
            {"ShowAppHints", false},
            {"MatchFingerprints", false},
            {"EmailAddress", text},
            {"PopServer", text},
            {"PopPort", 0},
            {"SMTPServer", text},
            {"SMTPPort", 0},
            {"emailUsername", text},
            {"emailPassword", text},
            {"EACEnabled", false},
            {"CheckInPort", text},
            {"CheckInCode", text},
            {"CheckOutPort", text},
            {"CheckOutCode", text},
            {"CheckInSound", text},
            {"CheckOutSound", text},
            {"WizardStep", 0},
            {"HideNoHardwareMsg", false},
            {"HideScanFingerMsg", false},
            {"HideSuccScanMsg", false},
            {"HideSuccEditEmp", false},
            {"HideGroupChanged", false},
        };
        for (const auto& [name, value] : settings)
            QTest::newRow(name) << QString::fromLatin1(name) << value;
    }
    void namesKindsAndDefaults()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, defaultValue);
        TAppRegistry registry;
        registry.Load(); // nothing stored yet
        const QVariant value = registry.property(name.toLatin1().constData());
        QVERIFY2(value.isValid(), "no such property");
        QCOMPARE(value.metaType(), defaultValue.metaType());
        QCOMPARE(value, defaultValue);
    }
    void onlySettingsAreStored()
    {
        TAppRegistry registry;
        registry.setObjectName(u"settings"_s);
        registry.Save();
        QSettings store(registry.FileName(), QSettings::IniFormat);
        QCOMPARE(store.allKeys().size(), 38);
        QVERIFY(!store.contains(u"objectName"_s));
    }

    void roundTrip()
    {
        TAppRegistry saved;
        saved.DatabaseType = 3;
        saved.HostName = u"db.example.com:3307"_s;
        saved.Password = u"p=a;s's \"w\u00f6rd\"\\"_s;
        saved.AppLanguage = 2;
        saved.MatchFingerprints = true;
        saved.DisplayPictureTime = -5;
        saved.WizardStep = 255;
        saved.CheckInSound = u"/home/ana/sonidos/entrada \u00f1.wav"_s;
        saved.Save();

        TAppRegistry loaded;
        loaded.Load();
        QCOMPARE(loaded.DatabaseType, 3);
        QCOMPARE(loaded.HostName, saved.HostName);
        QCOMPARE(loaded.Password, saved.Password);
        QCOMPARE(loaded.AppLanguage, 2);
        QCOMPARE(loaded.MatchFingerprints, true);
        QCOMPARE(loaded.ShowAppHints, false);
        QCOMPARE(loaded.DisplayPictureTime, -5);
        QCOMPARE(loaded.WizardStep, 255);
        QCOMPARE(loaded.CheckInSound, saved.CheckInSound);
    }
    void storeUsesTheProgramsNamesAndNumbers()
    {
        TAppRegistry registry;
        registry.MatchFingerprints = true;
        registry.Save();
        QCOMPARE(QDir(m_dir->path()).relativeFilePath(registry.FileName()), u"Ostrelo/KronvikClock2.ini"_s);
        const QSettings store(registry.FileName(), QSettings::IniFormat);
        QCOMPARE(store.value(u"MatchFingerprints"_s).toString(), u"1"_s);
        QCOMPARE(store.value(u"ShowAppHints"_s).toString(), u"0"_s);
    }
    void missingAndUnreadableValuesKeepDefaults()
    {
        {
            QSettings store(TAppRegistry().FileName(), QSettings::IniFormat);
            store.setValue(u"DatabaseType"_s, u"4"_s);
            store.setValue(u"DisplayPictureTime"_s, u"soon"_s);
            store.setValue(u"ShowAppHints"_s, u"true"_s);
            store.setValue(u"DedicatedPC"_s, u"maybe"_s);
            store.setValue(u"NotASetting"_s, u"x"_s);
        }
        TAppRegistry registry;
        registry.Load();
        QCOMPARE(registry.DatabaseType, 4);
        QCOMPARE(registry.DisplayPictureTime, 3);
        QCOMPARE(registry.ShowAppHints, true);
        QCOMPARE(registry.DedicatedPC, false);
        QCOMPARE(registry.AppLanguage, 1);
    }
    void saveFailsWhenTheStoreCannotBeWritten()
    {
        TAppRegistry registry;
        QVERIFY(QDir().mkpath(registry.FileName())); // a folder where the file should be
        QVERIFY_THROWS_EXCEPTION(Exception, registry.Save());
        try {
            registry.Save();
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), u"Can not save information to the registry!"_s);
        }
    }

    void settersSaveAtOnce_data()
    {
        QTest::addColumn<TSaveAtOnceSetter>("setter");
        QTest::addColumn<QString>("name");
        QTest::newRow("HideGroupChanged") << &TAppRegistry::SetHideGroupChanged << u"HideGroupChanged"_s;
        QTest::newRow("HideSuccEditEmp") << &TAppRegistry::SetHideSuccEditEmp << u"HideSuccEditEmp"_s;
        QTest::newRow("HideScanFingerMsg") << &TAppRegistry::SetHideScanFingerMsg << u"HideScanFingerMsg"_s;
        QTest::newRow("HideNoHardwareMsg") << &TAppRegistry::SetHideNoHardwareMsg << u"HideNoHardwareMsg"_s;
        QTest::newRow("HideSuccScanMsg") << &TAppRegistry::SetHideSuccScanMsg << u"HideSuccScanMsg"_s;
    }
    void settersSaveAtOnce()
    {
        QFETCH(TSaveAtOnceSetter, setter);
        QFETCH(QString, name);
        TAppRegistry registry;
        registry.HostName = u"server"_s; // saved too: the setters save everything
        (registry.*setter)(true);
        TAppRegistry loaded;
        loaded.Load();
        QCOMPARE(loaded.property(name.toLatin1().constData()).toBool(), true);
        QCOMPARE(loaded.HostName, u"server"_s);
    }

    void ipAddressIsIPv4()
    {
        const QHostAddress address(TAppRegistry::GetIPAddress());
        QCOMPARE(address.protocol(), QAbstractSocket::IPv4Protocol);
    }
    void programVersion()
    {
        QCOMPARE(TAppVerInfo::FileVersion(), QStringLiteral(HORAVANT_VERSION));
        QCoreApplication::setApplicationVersion(u"2.0.7"_s);
        QCOMPARE(TAppVerInfo::FileVersion(), u"2.0.7"_s);
        QCoreApplication::setApplicationVersion(QString());
    }

    // Company settings and stations, on every database the program supports.
    void companySettingsRoundTrip_data() { AddBackendRows(); }
    void companySettingsRoundTrip()
    {
        OPEN_DATABASE(db);
        const QStringList names = {u"O'Brien & Sons"_s, u"Three'''quotes"_s, u"Back\\'slash"_s,
                                   u"x' OR '1'='1"_s, u"100% Caf\u00e9 \u00d1and\u00fa"_s};
        for (const QString& name : names) {
            TAppRegistry saved;
            saved.SetDBManager(&db.Manager);
            saved.CompanyName = name;
            saved.CompanyAddress = u"Calle Mayor 1\nE-28013 Madrid"_s;
            saved.Rounding = 2;
            saved.TimeFormat = 1;
            saved.ExtraTimeComp = 3;
            saved.Save();

            TAppRegistry loaded;
            loaded.SetDBManager(&db.Manager);
            loaded.LoadCompanySettings();
            QCOMPARE(loaded.CompanyName, name);
            QCOMPARE(loaded.CompanyAddress, saved.CompanyAddress);
            QCOMPARE(loaded.Rounding, 2);
            QCOMPARE(loaded.TimeFormat, 1);
            QCOMPARE(loaded.ExtraTimeComp, 3);
        }
    }

    void stationRegisteredOnce_data() { AddBackendRows(); }
    void stationRegisteredOnce()
    {
        OPEN_DATABASE(db);
        TAppRegistry registry;
        registry.SetDBManager(&db.Manager);
        registry.StationName = u"Front desk O'Hara"_s;
        registry.Save();
        const int stationId = registry.StationId;
        QVERIFY(stationId > 1);
        registry.Save();
        QCOMPARE(registry.StationId, stationId);
        QCOMPARE(db.StationCount(u"Front desk O''Hara"_s), 1);

        // The store holds the registered station, so the next start finds it by its number.
        TAppRegistry restarted;
        restarted.SetDBManager(&db.Manager);
        restarted.Load();
        QCOMPARE(restarted.StationId, stationId);
        restarted.LoadCompanySettings();
        QCOMPARE(restarted.StationName, registry.StationName);

        // Another name is another station.
        registry.StationName = u"Back door"_s;
        registry.Save();
        QVERIFY(registry.StationId != stationId);
    }
    void emptyStationNameIsStationOne_data() { AddBackendRows(); }
    void emptyStationNameIsStationOne()
    {
        OPEN_DATABASE(db);
        TAppRegistry registry;
        registry.SetDBManager(&db.Manager);
        registry.StationId = 7;
        registry.Save();
        QCOMPARE(registry.StationId, 1);
    }
    void unknownStationBecomesStationOne_data() { AddBackendRows(); }
    void unknownStationBecomesStationOne()
    {
        OPEN_DATABASE(db);
        TAppRegistry registry;
        registry.SetDBManager(&db.Manager);
        registry.StationId = 99;
        registry.LoadCompanySettings();
        QCOMPARE(registry.StationId, 1);
    }

    void companyLogo_data() { AddBackendRows(); }
    void companyLogo()
    {
        OPEN_DATABASE(db);
        QByteArray jpeg("\xff\xd8\xff\xe0", 4);
        jpeg += QByteArray(70000, '\0') + QByteArray("'\\\xff\xd9", 4);
        TAppRegistry registry;
        registry.SetDBManager(&db.Manager);
        registry.SetCompanyLogo(jpeg);
        TAppRegistry loaded;
        loaded.SetDBManager(&db.Manager);
        loaded.LoadCompanySettings();
        QCOMPARE(loaded.CompanyLogo, jpeg);

        registry.SetCompanyLogo({});
        loaded.LoadCompanySettings();
        QVERIFY(loaded.CompanyLogo.isEmpty());
    }

    void withoutDatabaseOnlyTheStoreIsWritten()
    {
        TDBManager notConnected;
        TAppRegistry registry;
        registry.SetDBManager(&notConnected);
        registry.StationName = u"Front desk"_s;
        registry.StationId = 4;
        registry.Save(); // no exception: the company settings wait for a connection
        registry.SetCompanyLogo(QByteArray("\xff\xd8", 2));
        QVERIFY(registry.CompanyLogo.isEmpty());
        TAppRegistry loaded;
        loaded.Load();
        QCOMPARE(loaded.StationId, 4);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestAppRegistry)
#include "tst_appregistry.moc"
