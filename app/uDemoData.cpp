#include "uDemoData.h"

#include "dmAppData.h"
#include "uExceptions.h"
#include "uVelloxBSP.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace
{

struct TDemoEmployee {
    int id;
    const char* first;
    const char* last;
    const char* password; // empty: identified by bar code or name alone
    const char* barCode;
    const char* finger;
    int privileges;       // 0 employee, 1 supervisor, 2 administrator
    bool fingerprintAuth; // the dialog asks for the finger before the password
    bool askReason;
};

const TDemoEmployee Employees[] = {
    {1, "Ana", "Rivera", "1234", "1001", "ana-thumb", 2, false, false},
    {2, "Ben", "Okafor", "2222", "1002", "ben-index", 0, false, false},
    {3, "Chloe", "Martin", "3333", "1003", "chloe-thumb", 0, true, false},
    {4, "David", "Kim", "", "1004", "david-thumb", 0, false, true},
    {5, "Eva", "Novak", "5555", "1005", "eva-index", 1, false, false},
};

QString Text(const char* text) { return QString::fromUtf8(text); }

} // namespace

TDemoData::TDemoData(TdtmAppData& appData, TPlaceFinger placeFinger)
    : m_appData(appData), m_placeFinger(std::move(placeFinger))
{
}

bool TDemoData::Fill()
{
    TDBManager& db = m_appData.DBManager();
    {
        const TQueryReleaser count(db, db.Open(u"SELECT COUNT(*) AS EMPLOYEES FROM EMPLOYEES"_s));
        if (count->FieldByName(u"EMPLOYEES"_s).AsInteger() > 0)
            return false;
    }
    {
        TDBTransaction transaction(db);
        AddGroup();
        AddEmployees();
        AddReasons();
        transaction.Commit();
    }
    for (const TDemoEmployee& employee : Employees)
        Enrol(employee.id, Text(employee.finger));
    ShowCompanyName();
    return true;
}

QStringList TDemoData::Summary()
{
    QStringList lines;
    for (const TDemoEmployee& employee : Employees) {
        const QString password = *employee.password ? Text(employee.password) : u"none"_s;
        const QString role = employee.privileges == 2   ? u" (administrator)"_s
                             : employee.privileges == 1 ? u" (supervisor)"_s
                                                        : QString();
        lines << u"%1, %2%3: password %4, bar code %5, finger %6"_s.arg(Text(employee.last), Text(employee.first),
                                                                        role, password, Text(employee.barCode),
                                                                        Text(employee.finger));
    }
    return lines;
}

void TDemoData::AddGroup()
{
    // 09:00-17:00 with a break from 13:00 to 14:00, Monday to Friday; weekends without schedule.
    QStringList columns{u"GROUPID"_s, u"GROUPNAME"_s, u"TOLERANCE"_s, u"CHECKINEARLY"_s};
    QStringList values{u"1"_s, u"'Bakery'"_s, u"10"_s, u"0"_s};
    for (const QString& day : {u"MONDAY"_s, u"TUESDAY"_s, u"WEDNESDAY"_s, u"THURSDAY"_s, u"FRIDAY"_s}) {
        columns << day + u"_S"_s << day + u"_L"_s << day + u"_B"_s << day + u"_E"_s << day + u"_T"_s;
        values << TdtmAppData::TimeOfDayForSQL(u"09:00"_s) << TdtmAppData::TimeOfDayForSQL(u"13:00"_s)
               << TdtmAppData::TimeOfDayForSQL(u"14:00"_s) << TdtmAppData::TimeOfDayForSQL(u"17:00"_s) << u"420"_s;
    }
    for (const QString& day : {u"SATURDAY"_s, u"SUNDAY"_s}) {
        columns << day + u"_S"_s << day + u"_T"_s;
        values << u"0"_s << u"0"_s;
    }
    m_appData.DBManager().Execute(
        u"INSERT INTO EMPLOYEEGROUPS (%1) VALUES (%2)"_s.arg(columns.join(u", "_s), values.join(u", "_s)));
}

void TDemoData::AddEmployees()
{
    for (const TDemoEmployee& employee : Employees) {
        m_appData.DBManager().Execute(
            u"INSERT INTO EMPLOYEES (EMPLOYEEID, FIRSTNAME, LASTNAME, GROUPID, USERPASSWORD, BARCODE, AUTHPASSWORD, "
            "AUTHFINGERPRINT, AUTHBARCODE, PRIVILEGESLEVEL, EMPLOYEESTATUS, CHECKOUTREASON, LASTOPERATION) "
            "VALUES (%1, '%2', '%3', 1, '%4', '%5', %6, %7, 1, %8, 1, %9, 0)"_s.arg(employee.id)
                .arg(Text(employee.first), Text(employee.last), Text(employee.password), Text(employee.barCode))
                .arg(*employee.password ? 1 : 0)
                .arg(employee.fingerprintAuth ? 1 : 0)
                .arg(employee.privileges)
                .arg(employee.askReason ? 1 : 0));
    }
}

void TDemoData::AddReasons()
{
    for (const auto& [code, name] : {std::pair{"01", "Lunch"}, {"02", "Doctor"}, {"03", "Personal"}}) {
        m_appData.DBManager().Execute(u"INSERT INTO CHECKOUTREASONS (REASONNAME, REASONCODE, REASONSTATUS) "
                                      "VALUES ('%1', '%2', 1)"_s.arg(Text(name), Text(code)));
    }
}

void TDemoData::Enrol(int employeeId, const QString& finger)
{
    TVelloxBSP& reader = *m_appData.Reader();
    if (!m_appData.ReaderAvailable() || !m_placeFinger(finger, 2))
        throw Exception(u"The simulated reader cannot enrol %1."_s.arg(finger));
    const QString firText = reader.Enroll(QString());
    if (firText.isEmpty())
        throw Exception(u"No finger was taken for %1."_s.arg(finger));
    TDBManager& db = m_appData.DBManager();
    TQuery* insert = db.PrepareFmt(u"INSERT INTO FIRTABLE (EMPLOYEEID, FIRTEXT) VALUES (%d, :FIRTEXT)"_s, {employeeId});
    const TQueryReleaser release(db, insert);
    db.SetMemoParam(insert, u"FIRTEXT"_s, firText);
    db.ExecPrepared(insert);
}

void TDemoData::ShowCompanyName()
{
    TAppRegistry& settings = m_appData.AppRegistry();
    settings.CompanyName = u"Horavant Demo Bakery"_s;
    settings.ShowCompanyName = true;
    settings.ContinuousScan = true;
    settings.Save();
}
