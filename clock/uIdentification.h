#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class TdtmAppData;
class TSQLStringsHolder;
class TVelloxBSP;

// EMPLOYEES.PRIVILEGESLEVEL.
namespace PrivilegesLevel
{
enum : int { StandardUser = 0, GroupPrivileges = 1, AdministratorPrivileges = 2 };
}

// What the identification is for; the caller picks one of the first four, the dialog itself moves
// from pmCheckOut to pmCheckOutReason for an employee who must give a check-out reason.
enum TPasswordMode : quint8 {
    pmAdministrator = 0,
    pmUser = 1,
    pmCheckIn = 2,
    pmCheckOut = 3,
    pmCheckOutReason = 4,
};

// Results of the one-to-many fingerprint search.
namespace FingerprintSearch
{
enum : int { Found = 0, NotFound = -1, NotValid = -2 };
}

// An entry of a pick list: the text shown and the id it stands for.
struct TIdEntry {
    QString Text;
    int Id = 0;
};

// The identification columns of one employee (USERINFO).
struct TEmployeeAuthInfo {
    int EmployeeId = 0;
    bool AuthFingerprint = false;
    bool AuthPassword = false;
    bool AuthBarCode = false;
    bool AskReason = false; // CHECKOUTREASON = 1
    QString BarCode;
    QString StoredPassword;
    int GroupId = 0;
    int LastOperation = 0;
    int PrivilegesLevel = 0;
    int EmployeeStatus = 0;
};

// Why an employee found by bar code or fingerprint may not go on in a mode.
enum class TRefusal { None, InactiveEmployee, NotAdministrator, AlreadyCheckedIn, AlreadyCheckedOut };

// The employee a fingerprint search found.
struct TFingerprintMatch {
    int EmployeeId = 0;
    QString EmployeeName; // "LASTNAME, FIRSTNAME"
    int PrivilegesLevel = 0;
    int GroupId = 0;
};

// The database side of identifying the person at the clock: the employee list, an employee's
// credentials, bar-code lookup, the refusal rules of each mode and the one-to-many fingerprint
// search. The identification dialog (clock/forms/fPassword.h) puts the people in front of it; the
// continuous scan and the employee editor use the search alone. Statements come from its own holder
// ("fPassword"), attached to the data module's dispatcher. Main thread only.
class TIdentification final
{
public:
    // Decides whether a found employee may go on (showing why not is the caller's).
    using TEmployeeCheck = std::function<bool(int employeeId)>;

    explicit TIdentification(TdtmAppData& appData);
    ~TIdentification();
    TIdentification(const TIdentification&) = delete;
    TIdentification& operator=(const TIdentification&) = delete;

    // What ALLUSERS gets appended in a mode: who may be chosen from the list.
    static QString ListFilter(TPasswordMode mode);
    // Active employees admitted by `listFilter`, "LASTNAME, FIRSTNAME" with EMPLOYEEID, in result order.
    QList<TIdEntry> Employees(const QString& listFilter);
    // Raises Exception "The user is invalid!" when the employee does not exist.
    TEmployeeAuthInfo ReadEmployee(int employeeId);
    // The employee's stored template text; empty without one.
    QString StoredFirText(int employeeId);
    // The first employee whose BARCODE is `barCode`; 0 when none.
    int EmployeeIdByBarCode(const QString& barCode);
    // The first rule of `mode` the employee breaks (an inactive employee breaks them all).
    static TRefusal Refusal(const TEmployeeAuthInfo& employee, TPasswordMode mode);

    // Compares `captured` with the stored templates of the active employees (only those with
    // privileges when `administratorsOnly`), in the order the database returns them, and stops at
    // the first match. When `accept` is given and refuses the matched employee the result is
    // FingerprintSearch::NotValid; otherwise Found with *match filled, or NotFound.
    int SearchFingerprint(TVelloxBSP& reader, const QString& captured, bool administratorsOnly,
                          TFingerprintMatch* match, const TEmployeeCheck& accept = {});

private:
    TdtmAppData& m_appData;
    std::unique_ptr<TSQLStringsHolder> m_statements;
};
