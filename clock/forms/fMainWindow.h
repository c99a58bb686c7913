#pragma once

#include "uIdentification.h"
#include "uPunchDisplay.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QLabel;
class QMenu;
class QSystemTrayIcon;
class TContinousScanThread;
class TdtmAppData;
class TfrmPassword;
class TPunchEngine;
class TSQLStringsHolder;
namespace Ui
{
class TfrmMainWindow;
}

// The clock station's window: the analogue clock, the date and time, the company name, the two
// punch buttons and the status bar. It runs every punch (identification, sound, door opener,
// punch engine, photograph), the supervisor and administrator session, continuous scanning, the
// notification-area icon and kiosk mode, and guards the program's end.
class TfrmMainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmMainWindow(TdtmAppData& appData, QWidget* parent = nullptr);
    ~TfrmMainWindow() override;

    // Shows the window as the settings ask: full screen in kiosk mode, else at its own size.
    void ShowStation();

    // ---- State ---------------------------------------------------------------------------
    bool InTray() const { return m_inTray; }
    bool Scanning() const { return m_scanning; }
    bool ScanStopping() const { return m_scanStopping; }
    // Kiosk mode (DedicatedPC) is in force: full screen, on top, no decorations.
    bool KioskApplied() const { return m_taskBarHidden; }
    TPunchDisplay& PunchDisplay() const { return *m_punchDisplay; }
    QSystemTrayIcon& SystemTrayIcon() const { return *TrayIcon; }

    // ---- Operations the options dialog and the program's end use ----------------------------
    // The date and time labels from the clock, in the company's time format.
    void SetClockLabels();
    // Tray icon and border icons from MinimizeToTray, display time, kiosk mode from DedicatedPC.
    void ApplyTrayAndKioskSettings();
    // Shows the tray balloon once, the next time the tray settings are applied.
    void MarkShowTrayBalloon() { m_showTrayBalloon = true; }
    // The enabling rule: sessions and scanning decide what may be done.
    void UpdateActions();
    void StartContinuousScan();
    void StopContinuousScan();
    // Saves the settings, stops the scan and waits for it, leaves kiosk mode, then asks the program
    // to end (QuitRequested).
    void QuitProcedure();
    // The desktop session is ending: stop the scan without waiting, save, hide the tray icon, end.
    void EndSession();
    // The last moment before the program ends (however it ends): no scan thread may outlive it.
    void PrepareToQuit();

signals:
    // The program should end now (the application quits its event loop).
    void QuitRequested();
    // An hour has passed on the clock once the window was activated (the hourly work).
    void HourChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class TStatusText { None, AdministratorPrivileges, HowToStopScan, HowToStartScan };

    void CreateTrayIcon();
    void ConnectActions();
    void ApplyWindowFrame();
    void Retranslate();
    void SetStatusText(TStatusText text);
    // Company name or "Ready...", or what a punch or a session says instead.
    void UpdateCompanyLabel();

    // Action handlers.
    void actCheckInExecute();
    void actCheckOutExecute();
    void actExitExecute();
    void actAdmLoginExecute();
    void actAdmLogoutExecute();
    void actContinuousScanExecute();
    void actHelpTopicsExecute();
    void actOpenHelpExecute();
    void actAboutExecute();

    // Punches (after identification).
    void CheckIn(int employeeId, const QString& employeeName);
    void CheckOut(int employeeId, const QString& employeeName, bool withReason, const QString& note, int reasonId);
    void ShowPunch(TPunchDisplay::TOperation operation, int employeeId, const QString& employeeName);
    void SendDoorCode(const QString& port, const QString& code) const;
    QByteArray ReadPicture(int employeeId);
    void PunchDisplayEnded();
    // An identification dialog for one identification, in `mode`.
    std::unique_ptr<TfrmPassword> NewPasswordDialog(TPasswordMode mode);

    // Continuous scanning.
    void ScanCaptured(const QString& templateText);
    void ScanEnded();
    void WaitForScanEnd();
    void SetScanCaption(bool stop);

    // Tray and kiosk.
    void MinimizeToTray();
    void RestoreFromTray();
    void ShowTrayBalloon();

    // The start-up privilege check on the first activation.
    void StartCheck();
    void SaveSettings();
    void OpenHelpTopic(const QString& topic) const;

    std::unique_ptr<Ui::TfrmMainWindow> ui;
    TdtmAppData& m_appData;
    std::unique_ptr<TPunchEngine> m_punchEngine;
    std::unique_ptr<TSQLStringsHolder> SQLStringsHolder;
    TPunchDisplay* m_punchDisplay;
    QSystemTrayIcon* TrayIcon;
    QMenu* pmTrayIcon;
    QLabel* lblStatus;
    QPointer<TContinousScanThread> m_scanThread;

    TStatusText m_statusText = TStatusText::None;
    bool m_inTray = false;
    bool m_backToTray = false;
    bool m_startChecked = false;
    bool m_startChecking = false;
    bool m_activated = false;
    bool m_quitting = false;
    bool m_scanning = false;
    bool m_scanStarting = false;
    bool m_scanStopping = false;
    bool m_taskBarHidden = false;
    bool m_trayEnabled = false;
    bool m_shownOnce = false;
    bool m_showTrayBalloon = false;
    QSize m_normalSize;
};
