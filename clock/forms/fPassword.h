#pragma once

#include "uIdentification.h"

#include <QDialog>
#include <exception>
#include <memory>

class QPushButton;
class TdtmAppData;
namespace Ui
{
class TfrmPassword;
}

// Finds out who stands at the clock: by name from the list or by bar code, then by the credentials
// the employee's record asks for (fingerprint one-to-one, password, or none). With a reader and
// MatchFingerprints on, one captured fingerprint is searched among all employees instead and the
// dialog only shows when that finds nobody and the user wants to use the password.
//
// One object per identification: create it, SetMode, Identify, read the results, free it.
class TfrmPassword final : public QDialog
{
    Q_OBJECT

public:
    // Height of the dialog in each mode; the reason and note take the difference.
    static constexpr int FormHeight = 186;
    static constexpr int FormHeightWithReason = 310;

    explicit TfrmPassword(TdtmAppData& appData, QWidget* parent = nullptr);
    ~TfrmPassword() override;

    // Applies the mode's caption, list filter and height (pmCheckOutReason shows and loads the
    // reasons), and loads the employee list the first time.
    void SetMode(TPasswordMode mode);
    // The identified EMPLOYEEID, or -1 when nobody was identified (cancelled, refused, failed).
    // A database failure met while the dialog was up closes it and is raised again here.
    int Identify();
    // One-to-many search of `firText` (0 found, -1 no stored template matches, -2 matched but
    // refused by the mode's rules, which have shown why). Validation runs when `validate` is on
    // and SkipValidation() is off. On 0 sets employeeId, employeeName, PrivilegesLevel() and
    // GroupId(); otherwise leaves them.
    int SearchFingerprint(const QString& firText, bool validate, bool administratorsOnly, int& employeeId,
                          QString& employeeName);

    // ---- Results and state ---------------------------------------------------------------

    TPasswordMode Mode() const { return m_mode; }
    const QString& ListFilter() const { return m_listFilter; }
    int SelectedEmployeeId() const { return m_selectedEmployeeId; }
    int ResultEmployeeId() const { return m_resultEmployeeId; }
    const QString& EmployeeName() const { return m_employeeName; }
    int GroupId() const { return m_groupId; }
    int PrivilegesLevel() const { return m_privilegesLevel; }
    bool FingerprintDone() const { return m_fingerprintDone; }
    // REASONID of the chosen reason; -1 when none is chosen.
    int ReasonId() const;
    // The check-out comment written in the note box.
    QString Note() const;

    // The one-to-many search skips the mode's rules (continuous scanning punches in or out by the
    // employee's last operation, so no rule applies).
    bool SkipValidation() const { return m_skipValidation; }
    void SetSkipValidation(bool skip) { m_skipValidation = skip; }

    // The captions of the modes are the same in every language.
    static QString ModeCaption(TPasswordMode mode);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool ReaderPresent() const;
    void ApplyTexts();
    void LoadEmployees();
    void LoadReasons();
    int ShowDialog();
    int IdentifyByFingerprint();

    // Choosing an employee and proving who it is.
    void cmbUserListChange(int index);
    void edtBarCodeEnter();
    void LoadEmployee();
    void PrepareCredentials();
    void TryLogin();
    bool VerifyFingerprint();
    void FallBackToPassword();
    bool CheckPassword();
    bool ValidateEmployee(int employeeId);
    void SelectListEntry(int employeeId);
    void actLoginUpdate();

    // Runs a handler of the dialog; a failure closes the dialog and waits for Identify to raise it.
    template <typename Handler> void Guarded(Handler&& handler);

    std::unique_ptr<Ui::TfrmPassword> ui;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    TdtmAppData& m_appData;
    TIdentification m_identification;

    TPasswordMode m_mode = pmAdministrator; // the strictest until the caller says
    QString m_listFilter;
    int m_selectedEmployeeId = 0;
    int m_resultEmployeeId = -1;
    int m_groupId = 0;
    int m_privilegesLevel = 0;
    QString m_employeeName;
    TEmployeeAuthInfo m_chosen; // credentials of the chosen employee
    QString m_storedFirText;
    bool m_fingerprintDone = false;
    bool m_skipValidation = false;
    bool m_employeesLoaded = false;
    bool m_reasonsLoaded = false;
    std::exception_ptr m_failure;
};
