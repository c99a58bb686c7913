#include "uIdentification.h"

#include "dmAppData.h"
#include "uPunchEngine.h"
#include "uVelloxBSP.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace
{

bool IsOne(const TQuery& row, const QString& column) { return row.FieldByName(column).AsInteger() == 1; }

QString DisplayName(const TQuery& row)
{
    return Formatters::EmployeeNameLastFirst(row.FieldByName(u"FIRSTNAME"_s).AsString(),
                                             row.FieldByName(u"LASTNAME"_s).AsString());
}

} // namespace

TIdentification::TIdentification(TdtmAppData& appData)
    : m_appData(appData), m_statements(std::make_unique<TSQLStringsHolder>(u"fPassword"_s))
{
    m_statements->SetDispatcher(&appData.SQLStringsHolderDispatcher());
}

TIdentification::~TIdentification() = default;

QString TIdentification::ListFilter(TPasswordMode mode)
{
    switch (mode) {
    case pmAdministrator:
        return u"  AND PRIVILEGESLEVEL > 0"_s;
    case pmCheckIn:
        return u"  AND LASTOPERATION = 0"_s;
    case pmCheckOut:
    case pmCheckOutReason:
        return u"  AND LASTOPERATION = 1"_s;
    case pmUser:
        break;
    }
    return {};
}

QList<TIdEntry> TIdentification::Employees(const QString& listFilter)
{
    m_statements->ClearParams();
    TDBManager& db = m_appData.DBManager();
    const TQueryReleaser rows(db, db.Open(m_statements->GetStatement(u"ALLUSERS"_s) + listFilter));
    QList<TIdEntry> employees;
    for (; !rows->Eof(); rows->Next())
        employees.append({DisplayName(*rows.get()), rows->FieldByName(u"EMPLOYEEID"_s).AsInteger()});
    return employees;
}

TEmployeeAuthInfo TIdentification::ReadEmployee(int employeeId)
{
    m_statements->ClearParams();
    m_statements->AddParam(u"EMPLOYEEID"_s, employeeId);
    TDBManager& db = m_appData.DBManager();
    const TQueryReleaser row(db, db.Open(m_statements->GetStatement(u"USERINFO"_s)));
    // The employee was found a moment ago (in the list, by bar code or fingerprint) and is gone now.
    if (row->Eof())
        throw Exception(
            QCoreApplication::translate("TIdentification", "The user is invalid!", "stINVALIDUSER"));
    TEmployeeAuthInfo employee;
    employee.EmployeeId = employeeId;
    employee.AuthFingerprint = IsOne(*row.get(), u"AUTHFINGERPRINT"_s);
    employee.AuthPassword = IsOne(*row.get(), u"AUTHPASSWORD"_s);
    employee.AuthBarCode = IsOne(*row.get(), u"AUTHBARCODE"_s);
    employee.AskReason = IsOne(*row.get(), u"CHECKOUTREASON"_s);
    employee.BarCode = row->FieldByName(u"BARCODE"_s).AsString();
    employee.StoredPassword = row->FieldByName(u"USERPASSWORD"_s).AsString();
    employee.GroupId = row->FieldByName(u"GROUPID"_s).AsInteger();
    employee.LastOperation = row->FieldByName(u"LASTOPERATION"_s).AsInteger();
    employee.PrivilegesLevel = row->FieldByName(u"PRIVILEGESLEVEL"_s).AsInteger();
    employee.EmployeeStatus = row->FieldByName(u"EMPLOYEESTATUS"_s).AsInteger();
    return employee;
}

QString TIdentification::StoredFirText(int employeeId)
{
    m_statements->ClearParams();
    TDBManager& db = m_appData.DBManager();
    const TQueryReleaser row(db, db.OpenFmt(m_statements->GetStatement(u"LOADFIR"_s), {employeeId}));
    return row->Eof() ? QString() : row->FieldByName(u"FIRTEXT"_s).AsString();
}

int TIdentification::EmployeeIdByBarCode(const QString& barCode)
{
    m_statements->ClearParams();
    m_statements->AddParam(u"BARCODE"_s, barCode);
    TDBManager& db = m_appData.DBManager();
    const TQueryReleaser row(db, db.Open(m_statements->GetStatement(u"USERBYBARCODE"_s)));
    return row->Eof() ? 0 : row->FieldByName(u"EMPLOYEEID"_s).AsInteger();
}

TRefusal TIdentification::Refusal(const TEmployeeAuthInfo& employee, TPasswordMode mode)
{
    if (employee.EmployeeStatus == 0)
        return TRefusal::InactiveEmployee;
    switch (mode) {
    case pmAdministrator:
        return employee.PrivilegesLevel == PrivilegesLevel::StandardUser ? TRefusal::NotAdministrator
                                                                         : TRefusal::None;
    case pmCheckIn:
        return employee.LastOperation == LastOperation::CheckedIn ? TRefusal::AlreadyCheckedIn : TRefusal::None;
    case pmCheckOut:
    case pmCheckOutReason:
        return employee.LastOperation == LastOperation::CheckedOut ? TRefusal::AlreadyCheckedOut
                                                                   : TRefusal::None;
    case pmUser:
        break;
    }
    return TRefusal::None;
}

int TIdentification::SearchFingerprint(TVelloxBSP& reader, const QString& captured, bool administratorsOnly,
                                       TFingerprintMatch* match, const TEmployeeCheck& accept)
{
    m_statements->ClearParams();
    TDBManager& db = m_appData.DBManager();
    const TQueryReleaser rows(db, db.Open(m_statements->GetStatement(
                                      administratorsOnly ? u"GETADMACTIVEUSERFIRS"_s : u"GETACTIVEUSERSFIRS"_s)));
    for (; !rows->Eof(); rows->Next()) {
        if (!reader.Match(captured, rows->FieldByName(u"FIRTEXT"_s).AsString()))
            continue;
        const int employeeId = rows->FieldByName(u"EMPLOYEEID"_s).AsInteger();
        if (accept && !accept(employeeId))
            return FingerprintSearch::NotValid;
        if (match) {
            *match = {employeeId, DisplayName(*rows.get()), rows->FieldByName(u"PRIVILEGESLEVEL"_s).AsInteger(),
                      rows->FieldByName(u"GROUPID"_s).AsInteger()};
        }
        return FingerprintSearch::Found;
    }
    return FingerprintSearch::NotFound;
}
