// The identification statements on SQLite, MariaDB and Firebird: who each mode lists, an employee's
// credentials, bar-code lookup and the one-to-many fingerprint search, the latter through the
// registered TrivaneCOM server and the simulated reader.
#include "ClockTestDatabase.h"
#include "SimReader.h"
#include "TestServerRegistry.h"
#include "uIdentification.h"
#include "uVelloxBSP.h"


#include <QTest>

#include <map>

using namespace Qt::StringLiterals;
using TBackend = TClockTestDatabase::TBackend;

Q_DECLARE_METATYPE(TClockTestDatabase::TBackend)
Q_DECLARE_METATYPE(TPasswordMode)

namespace
{

// id, first name, last name, password, bar code, privileges, last operation, status, finger.
struct TStaffMember {
    int id;
    const char* first;
    const char* last;
    const char* password;
    const char* barCode;
    int privileges;
    int lastOperation;
    int status;
    const char* finger;
};
const TStaffMember Staff[] = {
    {1, "Ann", "Adams", "Pa'ss", "1001", 2, 0, 1, "ann-thumb"},
    {2, "", "Baker", "", "1002", 0, 1, 1, nullptr}, // no first name
    {3, "Cy", "Cole", "", "1003", 1, 1, 1, "cy-thumb"},
    {4, "Dee", "Diaz", "", "1003", 0, 0, 1, "dee-thumb"}, // the same bar code as Cy
    {5, "Eve", "Evans", "", "1005", 2, 0, 0, "eve-thumb"}, // inactive
};

} // namespace

#define REQUIRE_DATABASE(variable, backend)                                                                  \
    TClockTestDatabase* variable = m_databases[backend].get();                                               \
    if (!variable) {                                                                                         \
        if (TestSupport::ServersRequired())                                                                  \
            QFAIL(qPrintable(TestServers::MissingServersMessage()));                                         \
        QSKIP(qPrintable(TestServers::MissingServersMessage()));                                             \
    }

class TestIdentification : public QObject
{
    Q_OBJECT

    TestServerRegistry m_registry;
    std::unique_ptr<SimReader> m_sim;
    std::map<TBackend, std::unique_ptr<TClockTestDatabase>> m_databases;

    QString TemplateOf(const QString& finger) const
    {
        QString text;
        m_sim->Run({u"template"_s, finger}, &text);
        return text.trimmed();
    }

    void AddStaff(TClockTestDatabase& database) const
    {
        database.AddGroup(7, {u"08:00"_s, QString(), QString(), u"17:00"_s}, 480, 10, false);
        for (const TStaffMember& member : Staff) {
            database.AddEmployee(member.id, 7);
            database.Execute(u"UPDATE EMPLOYEES SET FIRSTNAME = '%1', LASTNAME = '%2', USERPASSWORD = '%3', "
                             "BARCODE = '%4', PRIVILEGESLEVEL = %5, LASTOPERATION = %6, EMPLOYEESTATUS = %7, "
                             "AUTHPASSWORD = %8, AUTHFINGERPRINT = %9, AUTHBARCODE = 1, CHECKOUTREASON = %10 "
                             "WHERE EMPLOYEEID = %11"_s
                                 .arg(QLatin1String(member.first), QLatin1String(member.last),
                                      QString::fromLatin1(member.password).replace(u"'"_s, u"''"_s),
                                      QLatin1String(member.barCode))
                                 .arg(member.privileges)
                                 .arg(member.lastOperation)
                                 .arg(member.status)
                                 .arg(*member.password ? 1 : 0)
                                 .arg(member.finger ? 1 : 0)
                                 .arg(member.id == 3 ? 1 : 0)
                                 .arg(member.id));
            if (member.finger)
                database.Execute(u"INSERT INTO FIRTABLE (EMPLOYEEID, FIRTEXT) VALUES (%1, '%2')"_s.arg(member.id).arg(
                    TemplateOf(QLatin1String(member.finger))));
        }
    }

    static void BackendRows()
    {
        QTest::addColumn<TBackend>("backend");
        for (TBackend backend : TClockTestDatabase::AllBackends())
            QTest::newRow(qPrintable(TClockTestDatabase::Name(backend))) << backend;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_registry.IsValid());
        m_sim = std::make_unique<SimReader>();
        for (TBackend backend : TClockTestDatabase::AllBackends()) {
            auto database = std::make_unique<TClockTestDatabase>(backend);
            try {
                if (database->Start()) {
                    AddStaff(*database);
                    m_databases[backend] = std::move(database);
                }
            } catch (const std::exception& error) {
                QFAIL(error.what());
            }
        }
    }
    void cleanupTestCase()
    {
        m_databases.clear();
        m_sim.reset();
    }

    void employeesOfEachMode_data()
    {
        QTest::addColumn<TBackend>("backend");
        QTest::addColumn<TPasswordMode>("mode");
        QTest::addColumn<QStringList>("entries"); // "name=id", in id order
        const QStringList everybody{u"Adams, Ann=1"_s, u"Baker=2"_s, u"Cole, Cy=3"_s, u"Diaz, Dee=4"_s};
        for (TBackend backend : TClockTestDatabase::AllBackends()) {
            const QString name = TClockTestDatabase::Name(backend);
            QTest::addRow("%s, administrator", qPrintable(name))
                << backend << pmAdministrator << QStringList{u"Adams, Ann=1"_s, u"Cole, Cy=3"_s};
            QTest::addRow("%s, user", qPrintable(name)) << backend << pmUser << everybody;
            QTest::addRow("%s, check in", qPrintable(name))
                << backend << pmCheckIn << QStringList{u"Adams, Ann=1"_s, u"Diaz, Dee=4"_s};
            QTest::addRow("%s, check out", qPrintable(name))
                << backend << pmCheckOut << QStringList{u"Baker=2"_s, u"Cole, Cy=3"_s};
            QTest::addRow("%s, check out with reason", qPrintable(name))
                << backend << pmCheckOutReason << QStringList{u"Baker=2"_s, u"Cole, Cy=3"_s};
        }
    }
    void employeesOfEachMode()
    {
        QFETCH(TBackend, backend);
        QFETCH(TPasswordMode, mode);
        QFETCH(QStringList, entries);
        REQUIRE_DATABASE(database, backend);
        TIdentification identification(database->AppData());
        QStringList found;
        for (const TIdEntry& entry : identification.Employees(TIdentification::ListFilter(mode)))
            found << entry.Text + u'=' + QString::number(entry.Id);
        found.sort();
        QCOMPARE(found, entries);
    }

    void readsCredentials_data() { BackendRows(); }
    void readsCredentials()
    {
        QFETCH(TBackend, backend);
        REQUIRE_DATABASE(database, backend);
        TIdentification identification(database->AppData());
        const TEmployeeAuthInfo ann = identification.ReadEmployee(1);
        QCOMPARE(ann.EmployeeId, 1);
        QVERIFY(ann.AuthPassword);
        QVERIFY(ann.AuthFingerprint);
        QVERIFY(ann.AuthBarCode);
        QVERIFY(!ann.AskReason);
        QCOMPARE(ann.StoredPassword, u"Pa'ss"_s);
        QCOMPARE(ann.BarCode, u"1001"_s);
        QCOMPARE(ann.GroupId, 7);
        QCOMPARE(ann.PrivilegesLevel, 2);
        QCOMPARE(ann.LastOperation, 0);
        QCOMPARE(ann.EmployeeStatus, 1);
        const TEmployeeAuthInfo cy = identification.ReadEmployee(3);
        QVERIFY(cy.AskReason);
        QVERIFY(!cy.AuthPassword);
        QCOMPARE(cy.LastOperation, 1);
        QCOMPARE(identification.ReadEmployee(5).EmployeeStatus, 0);

        QCOMPARE(identification.StoredFirText(3), TemplateOf(u"cy-thumb"_s));
        QVERIFY(identification.StoredFirText(2).isEmpty());

        QVERIFY_THROWS_EXCEPTION(Exception, identification.ReadEmployee(99));
        try {
            identification.ReadEmployee(99);
        } catch (const Exception& error) {
            QCOMPARE(error.Message(), u"The user is invalid!"_s);
        }
    }

    void findsByBarCode_data() { BackendRows(); }
    void findsByBarCode()
    {
        QFETCH(TBackend, backend);
        REQUIRE_DATABASE(database, backend);
        TIdentification identification(database->AppData());
        QCOMPARE(identification.EmployeeIdByBarCode(u"1001"_s), 1);
        QCOMPARE(identification.EmployeeIdByBarCode(u"1005"_s), 5); // inactive: the dialog refuses it
        QVERIFY(QList<int>({3, 4}).contains(identification.EmployeeIdByBarCode(u"1003"_s)));
        QCOMPARE(identification.EmployeeIdByBarCode(u"999"_s), 0);
        // Pasted text passes the key filter: a quote is data, not SQL.
        QCOMPARE(identification.EmployeeIdByBarCode(u"1' OR '1'='1"_s), 0);
    }

    void searchesFingerprints_data()
    {
        QTest::addColumn<TBackend>("backend");
        QTest::addColumn<QString>("finger");
        QTest::addColumn<bool>("administratorsOnly");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("employeeId");
        for (TBackend backend : TClockTestDatabase::AllBackends()) {
            const QByteArray name = TClockTestDatabase::Name(backend).toLatin1();
            QTest::addRow("%s, employee", name.data()) << backend << u"dee-thumb"_s << false << 0 << 4;
            QTest::addRow("%s, supervisor among administrators", name.data())
                << backend << u"cy-thumb"_s << true << 0 << 3;
            QTest::addRow("%s, employee among administrators", name.data())
                << backend << u"dee-thumb"_s << true << -1 << 0;
            QTest::addRow("%s, inactive administrator", name.data()) << backend << u"eve-thumb"_s << true << -1 << 0;
            QTest::addRow("%s, unknown finger", name.data()) << backend << u"zed-thumb"_s << false << -1 << 0;
        }
    }
    void searchesFingerprints()
    {
        QFETCH(TBackend, backend);
        QFETCH(QString, finger);
        QFETCH(bool, administratorsOnly);
        QFETCH(int, result);
        QFETCH(int, employeeId);
        REQUIRE_DATABASE(database, backend);
        TIdentification identification(database->AppData());
        TVelloxBSP reader; // matching needs no open device
        TFingerprintMatch match;
        QCOMPARE(identification.SearchFingerprint(reader, TemplateOf(finger), administratorsOnly, &match), result);
        QCOMPARE(match.EmployeeId, employeeId);
        if (result == 0) {
            const TStaffMember& member = Staff[employeeId - 1];
            QCOMPARE(match.EmployeeName, QLatin1String(member.last) + u", "_s + QLatin1String(member.first));
            QCOMPARE(match.PrivilegesLevel, member.privileges);
            QCOMPARE(match.GroupId, 7);
        }
    }

    void searchAsksAboutTheMatchOnly_data() { BackendRows(); }
    void searchAsksAboutTheMatchOnly()
    {
        QFETCH(TBackend, backend);
        REQUIRE_DATABASE(database, backend);
        TIdentification identification(database->AppData());
        TVelloxBSP reader;
        QList<int> asked;
        const auto refuse = [&](int id) {
            asked << id;
            return false;
        };
        TFingerprintMatch match;
        QCOMPARE(identification.SearchFingerprint(reader, TemplateOf(u"ann-thumb"_s), false, &match, refuse), -2);
        QCOMPARE(asked, QList<int>{1});
        QCOMPARE(match.EmployeeId, 0); // a refused match is not handed out
        asked.clear();
        QCOMPARE(identification.SearchFingerprint(reader, TemplateOf(u"zed-thumb"_s), false, &match, refuse), -1);
        QVERIFY(asked.isEmpty());
        for (int slot = 0; slot < database->AppData().DBManager().PoolCount(); ++slot)
            QVERIFY(!database->AppData().DBManager().IsSlotBusy(slot));
    }
};

QTEST_MAIN(TestIdentification)
#include "tst_identification.moc"
