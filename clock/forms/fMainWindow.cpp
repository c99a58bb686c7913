#include "fMainWindow.h"

#include "dmAppData.h"
#include "fAbout.h"
#include "fMyMessageDlg.h"
#include "fPassword.h"
#include "uClock.h"
#include "uPictures.h"
#include "uPunchEngine.h"
#include "uScanThread.h"
#include "uUnhandledException.h"
#include "uVelloxBSP.h"
#include "ui_fMainWindow.h"

#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QEventLoop>
#include <QMenu>
#include <QScopeGuard>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <array>

using namespace Qt::StringLiterals;

namespace
{

// The reader's skin for its capture window, looked for in the program directory.
const auto SkinLibrary = u"TRV2Eng.dll"_s;
const auto TwelveHourFormat = u"hh:mm am/pm"_s;
// After a scan punch the scan waits this long before capturing again, so the employee can read
// the result and take the finger away.
constexpr int ScanPunchPauseMs = 2500;
constexpr int ExitWaitStepMs = 300;
constexpr int TrayBalloonMs = 10000;

// Seconds the self-closing messages stay up.
constexpr int ScanStartNoticeSeconds = 5;
constexpr int NotFoundSeconds = 4;
constexpr int PrivilegesNeededSeconds = 6;
constexpr int WelcomeSeconds = 4;

struct TMonthName {
    const char* Text;
    const char* Key;
};
constexpr std::array<TMonthName, 12> MonthNames = {{
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "January", "stJAN"),
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "February", "stFEB"),
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "March", "stMAR"),
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "April", "stAPR"),
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "May", "stMAY"),
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "June", "stJUN"),
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "July", "stJUL"),
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "August", "stAUG"),
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "September", "stSEP"),
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "October", "stOCT"),
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "November", "stNOV"),
    QT_TRANSLATE_NOOP3("TfrmMainWindow", "December", "stDEC"),
}};

// "January" ... "December" in the current language.
QString MonthName(int month)
{
    const TMonthName& name = MonthNames.at(size_t(month - 1));
    return TfrmMainWindow::tr(name.Text, name.Key);
}

// "0:05 am", "12:30 pm", or "14:05" on a 24-hour clock.
QString TimeLabelText(const QTime& time, bool twelveHour)
{
    if (!twelveHour)
        return QString::asprintf("%d:%.2d", time.hour(), time.minute());
    const int hour = time.hour() > 12 ? time.hour() - 12 : time.hour();
    return QString::asprintf("%d:%.2d ", hour, time.minute()) + (time.hour() < 12 ? u"am"_s : u"pm"_s);
}

// "December 11, 2026".
QString DayLabelText(const QDate& date)
{
    return u"%1 %2, %3"_s.arg(MonthName(date.month())).arg(date.day()).arg(date.year());
}

// Runs the event loop for `milliseconds` without taking the user's input (a click now could start
// what has to wait for the scan thread, which waits for us).
void PauseWithoutInput(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

TfrmMainWindow::TfrmMainWindow(TdtmAppData& appData, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TfrmMainWindow>()), m_appData(appData),
      m_punchEngine(std::make_unique<TPunchEngine>(appData)),
      SQLStringsHolder(std::make_unique<TSQLStringsHolder>(u"fMainWindow"_s))
{
    ui->setupUi(this);
    setWindowIcon(Pictures::Icon());
    SQLStringsHolder->SetDispatcher(&appData.SQLStringsHolderDispatcher());
    lblStatus = new QLabel(ui->StatusBar);
    lblStatus->setObjectName(u"lblStatus"_s);
    lblStatus->setContentsMargins(6, 0, 0, 0);
    ui->StatusBar->addWidget(lblStatus, 1);
    ui->lblUserName->hide();
    ui->layCentral->setAlignment(ui->pnlStation, Qt::AlignCenter);
    // Neither in a menu: the window carries them for their short cuts.
    addActions({ui->actOpenHelp, ui->actContinuousScan});

    m_punchDisplay = new TPunchDisplay({ui->stkDisplay, ui->OvcClock, ui->imgUser, ui->pnlCheckAd, ui->lblOperation,
                                        ui->lblUserName, ui->btnCheckIn, ui->btnCheckOut, ui->actCheckIn,
                                        ui->actCheckOut},
                                       this);
    connect(m_punchDisplay, &TPunchDisplay::Ended, this, &TfrmMainWindow::PunchDisplayEnded);
    BindButtonToAction(ui->btnCheckIn, ui->actCheckIn);
    BindButtonToAction(ui->btnCheckOut, ui->actCheckOut);
    CreateTrayIcon();
    ConnectActions();
    connect(ui->OvcClock, &TAnalogClock::MinuteChanged, this, &TfrmMainWindow::SetClockLabels);
    connect(ui->OvcClock, &TAnalogClock::HourChanged, this, [this] {
        if (m_activated)
            emit HourChanged();
    });

    // Without a reader object there is no capture window to skin, and a reader that refuses the
    // skin still captures.
    if (const auto& reader = m_appData.Reader()) {
        try {
            reader->SetSkinResource(m_appData.ProgramDirectory() + SkinLibrary);
        } catch (const Exception&) {
        }
    }
    m_appData.SetLanguage(m_appData.Language());
    m_normalSize = sizeHint();
    ui->pnlStation->setMaximumSize(ui->pnlStation->sizeHint());
    ApplyTrayAndKioskSettings();
    SetScanCaption(false);
    SetClockLabels();
    UpdateCompanyLabel();
    UpdateActions();
}

TfrmMainWindow::~TfrmMainWindow()
{
    // A scan still running stops, and gives the reader back, before the window it reports to goes.
    delete m_scanThread.data();
    CloseNotice();
}

void TfrmMainWindow::ShowStation()
{
    if (!m_appData.AppRegistry().DedicatedPC) {
        showNormal();
        return;
    }
    // The screen's size as well: a kiosk's X session may run without a window manager to honour
    // the full-screen request.
    if (const QScreen* screen = this->screen())
        setGeometry(screen->geometry());
    showFullScreen();
}

// ---- Creation and the window's events --------------------------------------------------------

void TfrmMainWindow::CreateTrayIcon()
{
    pmTrayIcon = new QMenu(this);
    pmTrayIcon->setObjectName(u"pmTrayIcon"_s);
    pmTrayIcon->addActions({ui->actCheckIn, ui->actCheckOut});
    pmTrayIcon->addSeparator();
    pmTrayIcon->addActions({ui->actAdmLogin, ui->actContinuousScan});
    pmTrayIcon->addSeparator();
    pmTrayIcon->addActions({ui->actAbout, ui->actExit});
    TrayIcon = new QSystemTrayIcon(Pictures::Icon(), this);
    TrayIcon->setObjectName(u"TrayIcon"_s);
    TrayIcon->setToolTip(windowTitle());
    TrayIcon->setContextMenu(pmTrayIcon);
    connect(TrayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            RestoreFromTray();
    });
}

void TfrmMainWindow::ConnectActions()
{
    const auto bind = [this](QAction* action, void (TfrmMainWindow::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); });
    };
    bind(ui->actCheckIn, &TfrmMainWindow::actCheckInExecute);
    bind(ui->actCheckOut, &TfrmMainWindow::actCheckOutExecute);
    bind(ui->actExit, &TfrmMainWindow::actExitExecute);
    bind(ui->actAdmLogin, &TfrmMainWindow::actAdmLoginExecute);
    bind(ui->actAdmLogout, &TfrmMainWindow::actAdmLogoutExecute);
    bind(ui->actContinuousScan, &TfrmMainWindow::actContinuousScanExecute);
    bind(ui->actHelpTopics, &TfrmMainWindow::actHelpTopicsExecute);
    bind(ui->actOpenHelp, &TfrmMainWindow::actOpenHelpExecute);
    bind(ui->actAbout, &TfrmMainWindow::actAboutExecute);
}

void TfrmMainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    SetClockLabels();
    UpdateCompanyLabel();
    if (std::exchange(m_shownOnce, true))
        return;
    ui->OvcClock->DrawFace();
    // Once the window is on screen: the scan's start notice waits for a click or its time.
    if (m_appData.AppRegistry().ContinuousScan)
        QTimer::singleShot(0, this, [this] { RunGuarded([this] { StartContinuousScan(); }); });
}

void TfrmMainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        Retranslate();
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_activated) {
        QTimer::singleShot(0, this, [this] { RunGuarded([this] { StartCheck(); }); });
    }
}

void TfrmMainWindow::closeEvent(QCloseEvent* event)
{
    if (m_quitting) {
        event->accept();
        return;
    }
    // Closing never closes: to the tray when it is in use, otherwise the exit command decides.
    event->ignore();
    if (m_trayEnabled)
        MinimizeToTray();
    else
        RunGuarded([this] { actExitExecute(); });
}

void TfrmMainWindow::StartCheck()
{
    if (m_activated || m_startChecking || m_quitting)
        return;
    m_startChecking = true;
    const auto checked = qScopeGuard([this] { m_startChecking = false; });
    const TAppRegistry& settings = m_appData.AppRegistry();
    if (settings.WizardStep > 4 && settings.PasswordWhenStarts && !m_startChecked) {
        ShowTimedMessage(mkInformation, QString(),
                         tr("Administrator privileges are needed to start the application. Your privileges will "
                            "be verified ...",
                            "stADMPRIVNEEDED"),
                         PrivilegesNeededSeconds);
        if (NewPasswordDialog(pmAdministrator)->Identify() > 0) {
            m_startChecked = true;
            ShowTimedMessage(mkInformation, QString(), tr("Welcome to Horavant!", "stWELCOMEMSG"), WelcomeSeconds);
        } else {
            ShowTimedMessage(mkError, QString(),
                             tr("You don't have the necessary privileges.  Application cannot continue.",
                                "stPRIVILEGESNOTPROV"),
                             PrivilegesNeededSeconds);
            m_quitting = true;
            emit QuitRequested();
            return;
        }
    }
    m_activated = true;
}

// ---- Labels, texts and the enabling rule -----------------------------------------------------

void TfrmMainWindow::SetClockLabels()
{
    const QDateTime now = TClock::CurrentDateTime();
    ui->lbltime->setText(TimeLabelText(now.time(), m_appData.DisplayTimeFormat() == TwelveHourFormat));
    ui->lblDay->setText(DayLabelText(now.date()));
}

void TfrmMainWindow::UpdateCompanyLabel()
{
    const TAppRegistry& settings = m_appData.AppRegistry();
    QString text;
    if (m_punchDisplay->IsShowing()) {
        text = m_punchDisplay->Operation() == TPunchDisplay::CheckIn ? tr("Checking In...", "stCHECKINGIN")
                                                                      : tr("Checking Out...", "stCHECKINGOUT");
    } else if (m_appData.AdministratorMode()) {
        text = tr("Administrator Mode", "stADMMODEMESSAGE");
    } else if (m_appData.SupervisorMode()) {
        text = tr("Supervisor Mode", "stSPVSMODEMESSAGE");
    } else if (settings.ShowCompanyName && !settings.CompanyName.trimmed().isEmpty()) {
        text = settings.CompanyName;
    } else {
        text = tr("Ready...", "stMSGREADY");
    }
    ui->lblCompanyName->setText(text);
}

void TfrmMainWindow::SetStatusText(TStatusText text)
{
    m_statusText = text;
    switch (text) {
    case TStatusText::None:
        lblStatus->clear();
        break;
    case TStatusText::AdministratorPrivileges:
        lblStatus->setText(tr("Administrator Privileges", "stADMMESSAGE"));
        break;
    case TStatusText::HowToStopScan:
        lblStatus->setText(tr("Press Ctrl+C to STOP continuous scan...", "stHOWSTOPCONTSCAN"));
        break;
    case TStatusText::HowToStartScan:
        lblStatus->setText(tr("Press Ctrl+C to START continuous scan...", "stHOWSTARTCONTSCAN"));
        break;
    }
}

void TfrmMainWindow::SetScanCaption(bool stop)
{
    ui->actContinuousScan->setText(stop ? tr("Stop Continuous Scan...", "stSTOPCONTSCAN")
                                        : tr("Start Continuous Scan...", "stSTARTCONTSCAN"));
}

void TfrmMainWindow::Retranslate()
{
    ui->retranslateUi(this);
    SetScanCaption(m_scanning && !m_scanStopping);
    SetStatusText(m_statusText);
    SetClockLabels();
    UpdateCompanyLabel();
    m_punchDisplay->Retranslate();
    TrayIcon->setToolTip(windowTitle());
}

void TfrmMainWindow::UpdateActions()
{
    const bool admin = m_appData.AdministratorMode();
    const bool session = admin || m_appData.SupervisorMode();
    const bool punchesAllowed = !session && !m_scanning;
    ui->actCheckIn->setEnabled(punchesAllowed);
    ui->actCheckOut->setEnabled(punchesAllowed);
    ui->actAdmLogin->setEnabled(punchesAllowed);
    ui->actAdmLogout->setEnabled(session);
    ui->actContinuousScan->setEnabled(!admin && m_appData.AppRegistry().ContinuousScan);
}

// ---- Punches ---------------------------------------------------------------------------------

std::unique_ptr<TfrmPassword> TfrmMainWindow::NewPasswordDialog(TPasswordMode mode)
{
    auto dialog = std::make_unique<TfrmPassword>(m_appData, this);
    dialog->SetMode(mode);
    return dialog;
}

void TfrmMainWindow::actCheckInExecute()
{
    RestoreFromTray();
    const auto dialog = NewPasswordDialog(pmCheckIn);
    const int employeeId = dialog->Identify();
    if (employeeId > 0)
        CheckIn(employeeId, dialog->EmployeeName());
}

void TfrmMainWindow::actCheckOutExecute()
{
    RestoreFromTray();
    const auto dialog = NewPasswordDialog(pmCheckOut);
    const int employeeId = dialog->Identify();
    if (employeeId <= 0)
        return;
    // The dialog moves to pmCheckOutReason for an employee who must say why they leave.
    if (dialog->Mode() == pmCheckOut)
        CheckOut(employeeId, dialog->EmployeeName(), false, QString(), 0);
    else
        CheckOut(employeeId, dialog->EmployeeName(), true, dialog->Note(), dialog->ReasonId());
}

void TfrmMainWindow::CheckIn(int employeeId, const QString& employeeName)
{
    const TAppRegistry& settings = m_appData.AppRegistry();
    m_appData.PlaySound(settings.CheckInSound);
    SendDoorCode(settings.CheckInPort, settings.CheckInCode);
    m_punchEngine->RegisterCheckIn(CheckType::Normal, employeeId, true, m_appData.GetServerTime());
    ShowPunch(TPunchDisplay::CheckIn, employeeId, employeeName);
}

void TfrmMainWindow::CheckOut(int employeeId, const QString& employeeName, bool withReason, const QString& note,
                              int reasonId)
{
    const TAppRegistry& settings = m_appData.AppRegistry();
    m_appData.PlaySound(settings.CheckOutSound);
    SendDoorCode(settings.CheckOutPort, settings.CheckOutCode);
    // Recorded before it is shown: a check-out that fails must not read "Checked Out".
    m_punchEngine->RegisterCheckOut(CheckType::Normal, withReason, true, note, reasonId, employeeId,
                                    m_appData.GetServerTime());
    ShowPunch(TPunchDisplay::CheckOut, employeeId, employeeName);
}

void TfrmMainWindow::ShowPunch(TPunchDisplay::TOperation operation, int employeeId, const QString& employeeName)
{
    m_punchDisplay->Show(operation, employeeName, ReadPicture(employeeId));
    UpdateCompanyLabel();
}

void TfrmMainWindow::SendDoorCode(const QString& port, const QString& code) const
{
    if (!m_appData.AppRegistry().EACEnabled || port.isEmpty() || code.isEmpty())
        return;
    // The door opener is a convenience: a punch never fails because of it.
    try {
        TdtmAppData::SendCodeToSerialPort(port, code);
    } catch (const Exception&) {
    }
}

QByteArray TfrmMainWindow::ReadPicture(int employeeId)
{
    SQLStringsHolder->ClearParams();
    SQLStringsHolder->AddParam(u"EMPLOYEEID"_s, employeeId);
    TDBManager& db = m_appData.DBManager();
    const TQueryReleaser row(db, db.Open(SQLStringsHolder->GetStatement(u"GETPIC"_s)));
    return row->Eof() ? QByteArray() : row->FieldByName(u"PICTURE"_s).AsBytes();
}

void TfrmMainWindow::PunchDisplayEnded()
{
    UpdateCompanyLabel();
    UpdateActions();
    if (std::exchange(m_backToTray, false))
        MinimizeToTray();
}

// ---- Session ---------------------------------------------------------------------------------

void TfrmMainWindow::actAdmLoginExecute()
{
    RestoreFromTray();
    const auto dialog = NewPasswordDialog(pmAdministrator);
    const int employeeId = dialog->Identify();
    m_appData.Login(employeeId, dialog->GroupId(), dialog->PrivilegesLevel());
    if (employeeId <= 0)
        return;
    SetStatusText(TStatusText::AdministratorPrivileges);
    UpdateCompanyLabel();
    UpdateActions();
    ShowMessageBox(mkInformation, QString(),
                   tr("Welcome! You are now logged in with administrator privileges.", "stWELCOMEADM"));
}

void TfrmMainWindow::actAdmLogoutExecute()
{
    if (AskMessage(mkConfirmation, QString(), tr("Close administrator session?", "stLOGOUT"), mbYesNo) != mrYes)
        return;
    m_appData.Logout();
    SetStatusText(TStatusText::None);
    UpdateCompanyLabel();
    UpdateActions();
    if (m_appData.AppRegistry().ContinuousScan)
        StartContinuousScan();
}

// ---- Continuous scanning ---------------------------------------------------------------------

void TfrmMainWindow::actContinuousScanExecute()
{
    RestoreFromTray();
    if (m_scanThread)
        StopContinuousScan();
    else
        StartContinuousScan();
}

void TfrmMainWindow::StartContinuousScan()
{
    if (!m_appData.ReaderAvailable() || m_scanStarting || m_scanThread)
        return;
    m_scanStarting = true;
    const auto started = qScopeGuard([this] { m_scanStarting = false; });
    ShowTimedMessage(mkInformation, QString(), tr("Continuous Scan will start now...", "stCONTSCANSTART"),
                     ScanStartNoticeSeconds);
    // The thread takes the reader's device from the data module's wrapper and gives it back before
    // it says it has ended.
    auto* thread = new TContinousScanThread(m_appData.Reader(), this);
    connect(thread, &TContinousScanThread::FingerprintCaptured, this, &TfrmMainWindow::ScanCaptured);
    connect(thread, &TContinousScanThread::ScanEnded, this, &TfrmMainWindow::ScanEnded);
    m_scanThread = thread;
    m_scanning = true;
    thread->Start();
    SetStatusText(TStatusText::HowToStopScan);
    SetScanCaption(true);
    UpdateActions();
}

void TfrmMainWindow::StopContinuousScan()
{
    if (m_scanStopping || !m_scanThread)
        return;
    m_scanStopping = true;
    m_scanThread->Stop();
    SetScanCaption(false);
    ShowNotice(mkInformation, QString(),
               tr("Continuous Scan is being stopped. Please wait...", "stCONTSCANSTOP"), mkInformation);
}

void TfrmMainWindow::ScanEnded()
{
    m_scanning = false;
    m_scanThread = nullptr; // it frees itself
    SetStatusText(TStatusText::HowToStartScan);
    CloseNotice();
    m_scanStopping = false;
    SetScanCaption(false);
    UpdateActions();
}

void TfrmMainWindow::ScanCaptured(const QString& templateText)
{
    // The scan thread waits for this handler: whatever fails is shown here and the scan goes on.
    RunGuarded([this, &templateText] {
        if (m_quitting)
            return;
        m_backToTray = m_inTray;
        RestoreFromTray();
        TfrmPassword search(m_appData, this);
        search.SetSkipValidation(true);
        int employeeId = 0;
        QString employeeName;
        if (search.SearchFingerprint(templateText, true, false, employeeId, employeeName) != FingerprintSearch::Found) {
            ShowTimedMessage(mkInformation, u"Not found"_s,
                             u"Fingerprint is incorrectly placed! Please try again after closing this window."_s,
                             NotFoundSeconds);
            if (std::exchange(m_backToTray, false))
                MinimizeToTray();
            return;
        }
        if (m_appData.GetLastOperation(employeeId) == LastOperation::CheckedIn)
            CheckOut(employeeId, employeeName, false, QString(), 0);
        else
            CheckIn(employeeId, employeeName);
        PauseWithoutInput(ScanPunchPauseMs);
    });
}

void TfrmMainWindow::WaitForScanEnd()
{
    while (m_scanThread)
        m_scanThread->WaitForEnd(QDeadlineTimer(ExitWaitStepMs));
}

// ---- Tray and kiosk --------------------------------------------------------------------------

void TfrmMainWindow::ApplyTrayAndKioskSettings()
{
    const TAppRegistry& settings = m_appData.AppRegistry();
    m_trayEnabled = settings.MinimizeToTray;
    TrayIcon->setVisible(m_trayEnabled);
    if (m_trayEnabled && std::exchange(m_showTrayBalloon, false)) {
        TrayIcon->showMessage(windowTitle(),
                              tr("To show the application just click on this icon.", "stIMHERE"),
                              QSystemTrayIcon::Information, TrayBalloonMs);
    }
    m_punchDisplay->SetDisplayTime(settings.DisplayPictureTime);
    ApplyWindowFrame();
}

void TfrmMainWindow::ApplyWindowFrame()
{
    const bool kiosk = m_appData.AppRegistry().DedicatedPC;
    Qt::WindowFlags flags = Qt::Window;
    if (kiosk) {
        flags |= Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    } else {
        // A fixed frame with the system menu, and the minimise box only when there is no tray
        // icon to minimise to.
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (!m_trayEnabled)
            flags |= Qt::WindowMinimizeButtonHint;
    }
    const bool visible = isVisible();
    if (flags != windowFlags())
        setWindowFlags(flags);
    if (kiosk) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(m_normalSize);
    }
    const bool kioskChanged = std::exchange(m_taskBarHidden, kiosk) != kiosk;
    if (visible && !m_inTray && (kioskChanged || !isVisible()))
        ShowStation();
}

void TfrmMainWindow::MinimizeToTray()
{
    m_inTray = true;
    // Hidden only where the icon can bring it back.
    if (QSystemTrayIcon::isSystemTrayAvailable())
        hide();
    else
        showMinimized();
}

void TfrmMainWindow::RestoreFromTray()
{
    if (!std::exchange(m_inTray, false))
        return;
    ShowStation();
    raise();
    activateWindow();
}

// ---- Help and About --------------------------------------------------------------------------

void TfrmMainWindow::actHelpTopicsExecute()
{
    OpenHelpTopic(u"welcome.html"_s);
}

void TfrmMainWindow::actOpenHelpExecute()
{
    OpenHelpTopic(m_appData.LoggedInEmployee() > 0 ? u"login.html"_s : u"check.html"_s);
}

void TfrmMainWindow::OpenHelpTopic(const QString& topic) const
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_appData.HelpTopicPath(topic)));
}

void TfrmMainWindow::actAboutExecute()
{
    RestoreFromTray();
    TfrmAbout about(m_appData.ProgramDirectory(), m_appData.ProductVersion(), this);
    about.exec();
}

// ---- The program's end -----------------------------------------------------------------------

void TfrmMainWindow::actExitExecute()
{
    if (m_appData.AppRegistry().PasswordWhenFinish) {
        if (NewPasswordDialog(pmAdministrator)->Identify() > 0)
            QuitProcedure();
    } else if (AskMessage(mkConfirmation, QString(), tr("Exit Application?", "stEXITAPP"), mbYesNo) == mrYes) {
        QuitProcedure();
    }
}

void TfrmMainWindow::SaveSettings()
{
    // A store that cannot be written is reported, but the program still ends.
    try {
        m_appData.AppRegistry().Save();
    } catch (const Exception& error) {
        ShowMessageBox(mkError, QString(), error.Message());
    }
}

void TfrmMainWindow::QuitProcedure()
{
    m_quitting = true;
    SaveSettings();
    if (m_scanning)
        StopContinuousScan();
    WaitForScanEnd();
    PrepareToQuit();
    emit QuitRequested();
}

void TfrmMainWindow::EndSession()
{
    if (m_scanning)
        StopContinuousScan();
    SaveSettings();
    TrayIcon->hide();
    m_quitting = true;
    emit QuitRequested();
}

void TfrmMainWindow::PrepareToQuit()
{
    m_quitting = true;
    if (m_scanThread) {
        StopContinuousScan();
        WaitForScanEnd();
    }
    m_punchDisplay->End();
    CloseNotice();
    TrayIcon->hide();
    // Kiosk mode hides nothing of the desktop: leaving it is closing the full-screen window.
    m_taskBarHidden = false;
}
