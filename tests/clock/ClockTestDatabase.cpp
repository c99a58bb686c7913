#include "ClockTestDatabase.h"
#include "TestSupport.h"

#include "uFormatters.h"

#include <QFile>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <stdexcept>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TClockTestDatabase::TBackend)

namespace
{

// Start-up asks only whether to create the tables of a new server database: yes.
class TAgreeingPrompts final : public TStartupPrompts
{
public:
    QStringList notices;
    bool AskYesNo(TKind, const QString&) override { return true; }
    void Show(TKind, const QString& text) override { notices.append(text); }
    bool EditDatabaseSettings(TAppRegistry&) override { return false; }
};

const QStringList WorkDays{u"MONDAY"_s,   u"TUESDAY"_s, u"WEDNESDAY"_s,
                           u"THURSDAY"_s, u"FRIDAY"_s,  u"SATURDAY"_s};

} // namespace

QString TClockTestDatabase::Name(TBackend backend)
{
    return backend == Sqlite ? u"sqlite"_s : backend == MariaDb ? u"mariadb"_s : u"firebird"_s;
}

const QList<TClockTestDatabase::TBackend>& TClockTestDatabase::AllBackends()
{
    static const QList<TBackend> backends{Sqlite, MariaDb, Firebird};
    return backends;
}

std::map<TClockTestDatabase::TBackend, std::unique_ptr<TClockTestDatabase>>
TClockTestDatabase::StartAvailable()
{
    std::map<TBackend, std::unique_ptr<TClockTestDatabase>> databases;
    for (TBackend backend : AllBackends()) {
        auto database = std::make_unique<TClockTestDatabase>(backend);
        if (database->Start())
            databases[backend] = std::move(database);
    }
    return databases;
}

void TClockTestDatabase::AddBackendRows()
{
    QTest::addColumn<TBackend>("backend");
    for (TBackend backend : AllBackends())
        QTest::newRow(qPrintable(Name(backend))) << backend;
}

TClockTestDatabase::TClockTestDatabase(TBackend backend) : m_backend(backend) {}

TClockTestDatabase::~TClockTestDatabase()
{
    m_appData.reset(); // Firebird drops no database that is still attached
    if (m_server)
        TestServers::DropDatabase(*m_server);
}

bool TClockTestDatabase::Start()
{
    TestSupport::UseUserDirectoriesIn(m_dir.path());
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, u"Ostrelo"_s, u"KronvikClock2"_s);
    if (m_backend == Sqlite) {
        settings.setValue(u"DatabaseType"_s, Dialect::LOCAL);
        settings.setValue(u"DatabaseName"_s, m_dir.filePath(u"clock.db"_s));
    } else {
        m_server = m_backend == MariaDb ? TestServers::CreateMariaDbDatabase(u"clock"_s)
                                        : TestServers::CreateFirebirdDatabase(u"clock"_s);
        if (!m_server)
            return false;
        settings.setValue(u"DatabaseType"_s, m_server->dialect);
        settings.setValue(u"HostName"_s, QString(m_server->host + u':' + QString::number(m_server->port)));
        settings.setValue(u"DatabaseName"_s, m_server->database);
        settings.setValue(u"UserName"_s, m_server->user);
        settings.setValue(u"Password"_s, m_server->password);
    }
    settings.sync();

    TAgreeingPrompts prompts;
    m_appData = std::make_unique<TdtmAppData>(prompts);
    if (m_appData->CannotContinue())
        throw std::runtime_error(prompts.notices.join(u'\n').toStdString());
    return true;
}

QSqlDatabase TClockTestDatabase::Database() const
{
    return QSqlDatabase::database(m_appData->ActiveConnectionName());
}

void TClockTestDatabase::Execute(const QString& sql) const
{
    QSqlQuery query(Database());
    if (!query.exec(sql))
        throw std::runtime_error(QString(query.lastError().text() + u'\n' + sql).toStdString());
}

QVariant TClockTestDatabase::Scalar(const QString& sql) const
{
    QSqlQuery query(Database());
    if (!query.exec(sql))
        throw std::runtime_error(QString(query.lastError().text() + u'\n' + sql).toStdString());
    return query.next() ? query.value(0) : QVariant();
}

void TClockTestDatabase::AddGroup(int groupId, const QStringList& startBreakEndTimes, int minutesToWork,
                                  int tolerance, bool checkInEarly, int sundayMinutes) const
{
    QStringList columns{u"GROUPID"_s, u"GROUPNAME"_s, u"TOLERANCE"_s, u"CHECKINEARLY"_s};
    QStringList values{QString::number(groupId), u"'Group %1'"_s.arg(groupId), QString::number(tolerance),
                       checkInEarly ? u"1"_s : u"0"_s};
    for (const QString& day : WorkDays) {
        const QStringList suffixes{u"_S"_s, u"_L"_s, u"_B"_s, u"_E"_s};
        for (int i = 0; i < suffixes.size(); ++i) {
            columns.append(day + suffixes[i]);
            values.append(Formatters::TimeOfDayForSQL(startBreakEndTimes.value(i)));
        }
        columns.append(day + u"_T"_s);
        values.append(QString::number(minutesToWork));
    }
    columns << u"SUNDAY_S"_s << u"SUNDAY_T"_s;
    values << u"0"_s << QString::number(sundayMinutes);
    Execute(
        u"INSERT INTO EMPLOYEEGROUPS (%1) VALUES (%2)"_s.arg(columns.join(u", "_s), values.join(u", "_s)));
}

void TClockTestDatabase::AddEmployee(int employeeId, int groupId) const
{
    Execute(u"INSERT INTO EMPLOYEES (EMPLOYEEID, FIRSTNAME, LASTNAME, GROUPID, LASTOPERATION) "
            "VALUES (%1, 'First%1', 'Last%1', %2, 0)"_s.arg(employeeId)
                .arg(groupId));
}
