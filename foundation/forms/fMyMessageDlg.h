#pragma once

#include <QDialog>
#include <QEvent>
#include <functional>
#include <memory>

class QTimer;
namespace Ui {
class TfrmMyMessageDlg;
}

// Message kinds: the icon and the default caption. Only the low seven bits of a kind count.
enum TMessageKind : int { mkInformation = 0, mkConfirmation = 1, mkWarning = 2, mkError = 3, mkProgress = 4 };

// Button sets: Yes/No, Ok/Cancel, or a lone Ok in Cancel's place.
enum TMessageButtons : int { mbYesNo = 0, mbOkCancel = 1, mbOk = 2 };

// Results of the buttons.
enum TMessageResult : int { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// Messages a long-running task sends to a progress notice, each with one integer value.
enum TProgressMessage : int {
    pmSetTotal = 11025,  // the number of parts; none done yet
    pmFinished = 11026,  // all done: full bar, then the notice closes with Ok
    pmSetDone = 11027,   // the number of parts done
    pmError = 11028,     // the task failed with the value as its error code
    pmCancelled = 11029, // the task stopped at the user's request
};

// The event that carries a progress message; its type is the message number.
class TProgressEvent final : public QEvent {
public:
    TProgressEvent(TProgressMessage message, int value) : QEvent(QEvent::Type(message)), m_value(value) {}
    int Value() const { return m_value; }

private:
    int m_value;
};

// The one dialog for questions, notices and errors: an icon for the kind, the message, up to two
// buttons and, as asked, a check box, a self-closing countdown or a progress bar.
class TfrmMyMessageDlg final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMyMessageDlg(QWidget* parent = nullptr);
    ~TfrmMyMessageDlg() override;

    void SetKind(int kind);
    // An empty caption gives the kind's own ("Warning", ...).
    void SetCaption(const QString& caption);
    void SetMessage(const QString& text);
    void SetButtons(int buttonSet);
    void HideButtons();
    // An index into the icon list (the kinds 0-3 in order); anything else leaves the icon alone.
    void SetIcon(int iconIndex);
    // Shows the check box with the text, unchecked.
    void ShowCheckBox(const QString& text);
    bool IsChecked() const;
    // The first button (Yes or Ok) is enabled only while the check box is checked.
    void RequireCheck();
    // Counts down from `seconds`, one a second, then closes with Ok.
    void StartCountdown(int seconds);
    // Progress kind: what the Cancel button calls instead of closing, so the task can stop and
    // answer pmCancelled.
    void SetCancelHandler(std::function<void()> handler);

    void reject() override;

protected:
    void customEvent(QEvent* event) override;

private:
    static QString KindCaption(int kind);
    void OkClicked();
    void CancelClicked();
    void CountdownTick();
    void ShowClosingText(int secondsLeft);
    void ApplyProgressMessage(TProgressMessage message, int value);
    // After an error or a cancellation the task is over: the button reads Ok and just closes.
    void EndProgress(const QString& text);

    std::unique_ptr<Ui::TfrmMyMessageDlg> ui;
    QTimer* tmrClose;
    int m_kind = mkInformation;
    int m_okResult = mrOk;
    int m_cancelResult = mrCancel;
    int m_seconds = 0;
    int m_counter = 0;
    std::function<void()> m_cancelHandler;
};

// Modal, a lone Ok.
void ShowMessageBox(int kind, const QString& caption, const QString& text);
// Modal; the result of the button pressed (TMessageResult).
int AskMessage(int kind, const QString& caption, const QString& text, int buttonSet);
int AskOkCancel(int kind, const QString& caption, const QString& text);
// With the box "Do not show this message again"; once the dialog has closed, `dontShowAgain` is
// called with the box's state (typically a settings setter that saves at once).
int AskWithDontShow(int kind, const QString& caption, const QString& text,
                    const std::function<void(bool)>& dontShowAgain, int buttonSet);
// Modal, a lone Ok; closes by itself after `seconds`, showing the seconds left.
void ShowTimedMessage(int kind, const QString& caption, const QString& text, int seconds);
// A Yes/No confirmation whose Yes needs the box checked first; true only for Yes with the box checked.
bool ConfirmWithCheck(const QString& caption, const QString& text, const QString& checkText);

// A non-modal notice without buttons that stays on top while work goes on. Only one is kept: a new
// notice closes the previous one.
void ShowNotice(int kind, const QString& caption, const QString& text, int iconIndex);
// A progress notice (kind mkProgress, no icon). The returned dialog receives the progress messages
// (NotifyProgress) and takes the task's cancel handler; it is valid until CloseNotice or the next
// notice.
TfrmMyMessageDlg* ShowProgressNotice(const QString& caption, const QString& text);
void CloseNotice();
// Sends a progress message to a notice: posted when called from another thread, handled at once on
// the notice's own thread (whose event loop the task is then holding up).
void NotifyProgress(QObject* notice, TProgressMessage message, int value);
