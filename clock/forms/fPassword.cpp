#include "fPassword.h"

#include "dmAppData.h"
#include "fMyMessageDlg.h"
#include "uCheckOutReasons.h"
#include "uKeyFilters.h"
#include "uVelloxBSP.h"
#include "ui_fPassword.h"

#include <QAbstractItemView>
#include <QCollator>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace
{

constexpr int RefusalSeconds = 4;
constexpr int NotInPlaceSeconds = 3;

bool IsEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool IsShiftEnter(const QEvent* event)
{
    return IsEnterKey(event) && static_cast<const QKeyEvent*>(event)->modifiers().testFlag(Qt::ShiftModifier);
}

// The lists show their entries alphabetically, whatever order the database gives.
void FillSorted(QComboBox* list, QList<TIdEntry> entries)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const TIdEntry& a, const TIdEntry& b) { return collator.compare(a.Text, b.Text) < 0; });
    const QSignalBlocker quiet(list);
    list->clear();
    for (const TIdEntry& entry : entries)
        list->addItem(entry.Text, entry.Id);
    list->setCurrentIndex(-1);
}

void ShowRefusal(const QString& text)
{
    ShowTimedMessage(mkError, QString(), text, RefusalSeconds);
}

bool AskYes(int kind, const QString& text)
{
    return AskMessage(kind, QString(), text, mbYesNo) == mrYes;
}

} // namespace

template <typename Handler> void TfrmPassword::Guarded(Handler&& handler)
{
    try {
        handler();
    } catch (...) {
        m_failure = std::current_exception();
        reject();
    }
}

TfrmPassword::TfrmPassword(TdtmAppData& appData, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmPassword>()), m_appData(appData), m_identification(appData)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Buttons of our own: the box would give standard buttons Qt's texts again at a language switch.
    btnOk = ui->DialogButtons->addButton(QString(), QDialogButtonBox::AcceptRole);
    btnOk->setObjectName(u"btnOk"_s);
    btnCancel = ui->DialogButtons->addButton(QString(), QDialogButtonBox::RejectRole);
    btnCancel->setObjectName(u"btnCancel"_s);
    TControlValidator::DigitKeys(ui->edtBarCode);
    // Codes are padded to one width: a fixed-pitch font lines the names up.
    ui->cmbReason->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (QWidget* reasonControl : {static_cast<QWidget*>(ui->lblReason), static_cast<QWidget*>(ui->cmbReason),
                                   static_cast<QWidget*>(ui->lblNote), static_cast<QWidget*>(ui->memNote)})
        reasonControl->hide();

    ui->cmbReason->installEventFilter(this);
    ui->cmbReason->view()->window()->installEventFilter(this); // its drop-down closing
    ui->memNote->installEventFilter(this);
    connect(ui->cmbUserList, &QComboBox::activated, this,
            [this](int index) { Guarded([this, index] { cmbUserListChange(index); }); });
    connect(ui->edtBarCode, &QLineEdit::returnPressed, this, [this] { Guarded([this] { edtBarCodeEnter(); }); });
    connect(ui->edtPassword, &QLineEdit::returnPressed, this, [this] { Guarded([this] { TryLogin(); }); });
    connect(ui->actLogin, &QAction::triggered, this, [this] { Guarded([this] { TryLogin(); }); });
    // Ok only tries to log in: the dialog closes once somebody is identified.
    connect(btnOk, &QPushButton::clicked, ui->actLogin, &QAction::trigger);
    connect(ui->DialogButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui->edtPassword, &QLineEdit::textChanged, this, &TfrmPassword::actLoginUpdate);
    connect(ui->cmbReason, &QComboBox::currentIndexChanged, this, &TfrmPassword::actLoginUpdate);

    ApplyTexts();
    actLoginUpdate();
}

TfrmPassword::~TfrmPassword() = default;

// ---- Modes and lists ---------------------------------------------------------------------------

QString TfrmPassword::ModeCaption(TPasswordMode mode)
{
    switch (mode) {
    case pmAdministrator:
        return u"Administrator Login"_s;
    case pmUser:
        return u"User Login"_s;
    case pmCheckIn:
        return u"Password for Check In"_s;
    case pmCheckOut:
    case pmCheckOutReason:
        break;
    }
    return u"Password for Check Out"_s;
}

void TfrmPassword::SetMode(TPasswordMode mode)
{
    m_mode = mode;
    m_listFilter = TIdentification::ListFilter(mode);
    const bool withReason = mode == pmCheckOutReason;
    if (withReason && !m_reasonsLoaded)
        LoadReasons();
    for (QWidget* reasonControl : {static_cast<QWidget*>(ui->lblReason), static_cast<QWidget*>(ui->cmbReason),
                                   static_cast<QWidget*>(ui->lblNote), static_cast<QWidget*>(ui->memNote)})
        reasonControl->setVisible(withReason);
    setWindowTitle(ModeCaption(mode));
    setFixedSize(width(), withReason ? FormHeightWithReason : FormHeight);
    if (!m_employeesLoaded)
        LoadEmployees();
    actLoginUpdate();
}

void TfrmPassword::LoadEmployees()
{
    FillSorted(ui->cmbUserList, m_identification.Employees(m_listFilter));
    m_employeesLoaded = true;
}

void TfrmPassword::LoadReasons()
{
    QList<TIdEntry> entries;
    for (const TCheckOutReason& reason : TCheckOutReasons(m_appData).Load())
        entries.append({TCheckOutReasons::FormatReasonEntry(reason.Code, reason.Name), reason.ReasonId});
    FillSorted(ui->cmbReason, entries);
    m_reasonsLoaded = true;
}

int TfrmPassword::ReasonId() const
{
    return ui->cmbReason->currentIndex() < 0 ? -1 : ui->cmbReason->currentData().toInt();
}

QString TfrmPassword::Note() const { return ui->memNote->toPlainText(); }

// ---- Identification ----------------------------------------------------------------------------

bool TfrmPassword::ReaderPresent() const { return m_appData.ReaderAvailable() && m_appData.Reader(); }

int TfrmPassword::Identify()
{
    if (!m_employeesLoaded)
        SetMode(m_mode);
    if (ReaderPresent() && m_appData.AppRegistry().MatchFingerprints)
        return IdentifyByFingerprint();
    return ShowDialog();
}

int TfrmPassword::ShowDialog()
{
    const int result = exec();
    if (m_failure)
        std::rethrow_exception(std::exchange(m_failure, nullptr));
    return result == Accepted ? m_resultEmployeeId : -1;
}

int TfrmPassword::IdentifyByFingerprint()
{
    TVelloxBSP& reader = *m_appData.Reader();
    const QString captured = reader.Capture();
    if (captured.isEmpty()) {
        if (reader.LastError() == TVelloxBSP::CaptureTimeout)
            ShowTimedMessage(mkError, QString(), tr("Your fingerprint is not in-place!", "stTIMEOUT"),
                             NotInPlaceSeconds);
        return -1;
    }
    switch (SearchFingerprint(captured, true, m_mode == pmAdministrator, m_resultEmployeeId, m_employeeName)) {
    case FingerprintSearch::Found:
        return m_resultEmployeeId;
    case FingerprintSearch::NotValid:
        return -1;
    }
    const QString offer =
        m_mode == pmAdministrator
            ? tr("Your fingerprint is not registered or you don't have administrator privileges.\n"
                 "Do you want to use password identification instead?",
                 "stNOTADMPRIVILEGES")
            : tr("Your fingerprint is incorrectly placed or not properly registered. \n"
                 "Do you want to use password authentication instead?",
                 "stFINGERERRORPASSWD");
    if (!AskYes(mkInformation, offer))
        return -1;
    // The finger was tried already: the dialog asks for the password of whoever is chosen.
    m_fingerprintDone = true;
    return ShowDialog();
}

int TfrmPassword::SearchFingerprint(const QString& firText, bool validate, bool administratorsOnly, int& employeeId,
                                    QString& employeeName)
{
    if (!m_appData.Reader())
        return FingerprintSearch::NotFound;
    TIdentification::TEmployeeCheck accept;
    if (validate && !m_skipValidation)
        accept = [this](int id) { return ValidateEmployee(id); };
    TFingerprintMatch match;
    const int result =
        m_identification.SearchFingerprint(*m_appData.Reader(), firText, administratorsOnly, &match, accept);
    if (result == FingerprintSearch::Found) {
        employeeId = match.EmployeeId;
        employeeName = match.EmployeeName;
        m_privilegesLevel = match.PrivilegesLevel;
        m_groupId = match.GroupId;
    }
    return result;
}

// ---- Choosing an employee ----------------------------------------------------------------------

void TfrmPassword::cmbUserListChange(int index)
{
    if (index < 0 || m_resultEmployeeId >= 1)
        return;
    const int employeeId = ui->cmbUserList->itemData(index).toInt();
    // One person's typing never counts for the next one chosen.
    if (employeeId != m_selectedEmployeeId)
        ui->edtPassword->clear();
    m_selectedEmployeeId = employeeId;
    m_employeeName = ui->cmbUserList->itemText(index);
    LoadEmployee();
    PrepareCredentials();
    TryLogin();
}

void TfrmPassword::edtBarCodeEnter()
{
    const QString barCode = ui->edtBarCode->text();
    if (barCode.isEmpty() || m_resultEmployeeId >= 1)
        return; // employees without a bar code must not be found by an empty one
    const int employeeId = m_identification.EmployeeIdByBarCode(barCode);
    if (employeeId == 0) {
        ShowRefusal(tr("This Bar Code: \"%1\" does not correspond to any employee.", "stNOBARCODE").arg(barCode));
        ui->edtBarCode->selectAll(); // the next scan replaces the number
        return;
    }
    if (!ValidateEmployee(employeeId)) {
        ui->edtBarCode->selectAll();
        return;
    }
    if (employeeId != m_selectedEmployeeId)
        ui->edtPassword->clear();
    m_selectedEmployeeId = employeeId;
    m_employeeName = m_appData.EmployeeNameLastFirst(employeeId);
    LoadEmployee();
    PrepareCredentials();
    TryLogin();
}

void TfrmPassword::LoadEmployee()
{
    m_chosen = m_identification.ReadEmployee(m_selectedEmployeeId);
    m_privilegesLevel = m_chosen.PrivilegesLevel;
    m_groupId = m_chosen.GroupId;
    m_storedFirText = m_identification.StoredFirText(m_selectedEmployeeId);
}

void TfrmPassword::PrepareCredentials()
{
    if ((m_mode == pmCheckOut && m_chosen.AskReason) || m_mode == pmCheckOutReason) {
        if (m_mode == pmCheckOut)
            SetMode(pmCheckOutReason);
        ui->cmbReason->setFocus();
        // The password waits until the fingerprint step is over; without a reader it is over.
        const bool fingerprintOver = m_fingerprintDone || !m_chosen.AuthFingerprint || !ReaderPresent();
        ui->edtPassword->setEnabled(m_chosen.AuthPassword && fingerprintOver);
    } else {
        ui->edtPassword->setEnabled(m_chosen.AuthPassword);
        if (m_chosen.AuthPassword)
            ui->edtPassword->setFocus();
    }
    actLoginUpdate();
}

void TfrmPassword::TryLogin()
{
    if (m_selectedEmployeeId <= 0 || m_resultEmployeeId >= 1)
        return;
    if (m_mode == pmCheckOutReason && ui->cmbReason->currentIndex() < 0)
        return;
    const bool needsNoCredential = !m_chosen.AuthFingerprint && !m_chosen.AuthPassword;
    if (VerifyFingerprint() || CheckPassword() || needsNoCredential) {
        m_resultEmployeeId = m_selectedEmployeeId;
        accept();
    }
}

bool TfrmPassword::VerifyFingerprint()
{
    if (!ReaderPresent()) {
        m_fingerprintDone = true;
        return false;
    }
    if (!m_chosen.AuthFingerprint || m_fingerprintDone)
        return false;
    TVelloxBSP& reader = *m_appData.Reader();
    if (reader.Verify(m_storedFirText))
        return true;
    // Nothing was taken (the capture was cancelled): the next attempt captures again.
    if (reader.LastError() == TVelloxBSP::NoFingerprintTaken)
        return false;
    if (reader.LastError() == TVelloxBSP::CaptureTimeout
        && AskYes(mkConfirmation, tr("Fingerprint scanning time out. Try again?", "stTIMEDOUT"))
        && reader.Verify(m_storedFirText))
        return true;
    FallBackToPassword();
    return false;
}

void TfrmPassword::FallBackToPassword()
{
    if (!m_chosen.AuthPassword)
        return;
    m_fingerprintDone = true;
    ui->edtPassword->setEnabled(true);
    ui->edtPassword->setFocus();
    actLoginUpdate();
    ShowRefusal(tr("Fingerprint authentication has failed. Password authentication will be used instead.",
                   "stFINGERPRINTFAILED"));
}

bool TfrmPassword::CheckPassword()
{
    if (!m_chosen.AuthPassword)
        return false;
    const QString typed = ui->edtPassword->text();
    if (typed == m_chosen.StoredPassword)
        return true;
    if (!typed.isEmpty()) {
        ShowRefusal(tr("Wrong password! Please try again.", "stPASSWORDFAILED"));
        ui->edtPassword->selectAll();
    }
    return false;
}

bool TfrmPassword::ValidateEmployee(int employeeId)
{
    const TEmployeeAuthInfo employee = m_identification.ReadEmployee(employeeId);
    const TRefusal refusal = TIdentification::Refusal(employee, m_mode);
    if (refusal != TRefusal::InactiveEmployee)
        SelectListEntry(employeeId);
    switch (refusal) {
    case TRefusal::None:
        return true;
    case TRefusal::InactiveEmployee:
        ShowRefusal(tr("This Employee is Inactive, please contact your System Administrator.", "stINACTIVEEMP"));
        break;
    case TRefusal::NotAdministrator:
        ShowRefusal(tr("This Employee does not have Administrative Privileges", "stNOTADMINPRIV"));
        break;
    case TRefusal::AlreadyCheckedIn:
        ShowRefusal(tr("This Employee is already Checked In.", "stEMPCHECKEDIN"));
        break;
    case TRefusal::AlreadyCheckedOut:
        ShowRefusal(tr("This Employee is already Checked Out.", "stEMPCHECKEDOUT"));
        break;
    }
    return false;
}

void TfrmPassword::SelectListEntry(int employeeId)
{
    const int index = ui->cmbUserList->findData(employeeId);
    if (index >= 0)
        ui->cmbUserList->setCurrentIndex(index); // not a choice: `activated` stays quiet
}

void TfrmPassword::actLoginUpdate()
{
    const bool hasPassword = !ui->edtPassword->text().isEmpty();
    bool enabled = hasPassword;
    if (m_mode == pmCheckOutReason) {
        if (!m_chosen.AskReason)
            return;
        // With the password box off, Ok starts the fingerprint step.
        const bool chosen = m_selectedEmployeeId > 0 && ui->cmbReason->currentIndex() >= 0;
        enabled = chosen && (!ui->edtPassword->isEnabled() || hasPassword);
    }
    ui->actLogin->setEnabled(enabled);
    btnOk->setEnabled(enabled);
}

// ---- Keyboard, texts, failures -----------------------------------------------------------------

void TfrmPassword::keyPressEvent(QKeyEvent* event)
{
    // Enter means something in each field (look up, log in, next field) and never presses a default
    // button: a bar-code scanner ends every number with it.
    if (IsEnterKey(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmPassword::eventFilter(QObject* watched, QEvent* event)
{
    const bool noteShown = ui->memNote->isVisible();
    if (watched == ui->cmbReason && IsEnterKey(event)) {
        if (noteShown)
            ui->memNote->setFocus();
        return true;
    }
    if (watched == ui->cmbReason->view()->window() && event->type() == QEvent::Hide) {
        // After the list has taken the focus back from its drop-down.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (ui->memNote->isVisible() && ui->cmbReason->currentIndex() >= 0)
                    ui->memNote->setFocus();
            },
            Qt::QueuedConnection);
        return false;
    }
    if (watched == ui->memNote && IsEnterKey(event) && !IsShiftEnter(event)) {
        if (ui->edtPassword->isEnabled())
            ui->edtPassword->setFocus();
        else if (ui->actLogin->isEnabled())
            ui->actLogin->trigger(); // nothing to type: Enter goes on to the fingerprint
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPassword::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        ApplyTexts();
    }
    QDialog::changeEvent(event);
}

void TfrmPassword::ApplyTexts()
{
    setWindowTitle(ModeCaption(m_mode));
    btnOk->setText(ui->actLogin->text());
    btnOk->setToolTip(ui->actLogin->toolTip());
    btnCancel->setText(tr("&Cancel", "stCANCEL"));
    if (m_appData.AppRegistry().ShowAppHints)
        return;
    for (QWidget* widget : {static_cast<QWidget*>(ui->edtBarCode), static_cast<QWidget*>(ui->cmbUserList),
                            static_cast<QWidget*>(ui->edtPassword), static_cast<QWidget*>(ui->cmbReason),
                            static_cast<QWidget*>(ui->memNote), static_cast<QWidget*>(btnOk)})
        widget->setToolTip(QString());
}
