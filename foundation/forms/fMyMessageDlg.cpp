#include "fMyMessageDlg.h"

#include "ui_fMyMessageDlg.h"

#include <QApplication>
#include <QPointer>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <array>

namespace {

constexpr int KindMask = 0x7F;
constexpr int IconSize = 32;
constexpr int CountdownIntervalMs = 1000;
// Long enough to see the full bar before the notice goes.
constexpr int FinishedCloseDelayMs = 500;

// The icon list, in the order of the kinds.
constexpr std::array<QStyle::StandardPixmap, 4> Icons = {QStyle::SP_MessageBoxInformation,
                                                         QStyle::SP_MessageBoxQuestion,
                                                         QStyle::SP_MessageBoxWarning,
                                                         QStyle::SP_MessageBoxCritical};

// The one non-modal notice on screen.
QPointer<TfrmMyMessageDlg> g_notice;

bool IsProgressMessage(int type) { return type >= pmSetTotal && type <= pmCancelled; }

// Modal boxes sit over the active window, but never over the notice: it may be closed while the
// box is still open.
QWidget* DialogParent()
{
    QWidget* active = QApplication::activeWindow();
    return active == g_notice ? nullptr : active;
}

void Prepare(TfrmMyMessageDlg& dialog, int kind, const QString& caption, const QString& text, int buttonSet)
{
    dialog.SetKind(kind);
    dialog.SetCaption(caption);
    dialog.SetMessage(text);
    dialog.SetButtons(buttonSet);
}

} // namespace

TfrmMyMessageDlg::TfrmMyMessageDlg(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmMyMessageDlg>()), tmrClose(new QTimer(this))
{
    ui->setupUi(this);
    ui->pbProgress->hide();
    ui->lblClosing->hide();
    ui->chkConfirm->hide();
    tmrClose->setObjectName(QStringLiteral("tmrClose"));
    tmrClose->setInterval(CountdownIntervalMs);
    connect(tmrClose, &QTimer::timeout, this, &TfrmMyMessageDlg::CountdownTick);
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmMyMessageDlg::OkClicked);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmMyMessageDlg::CancelClicked);
    SetKind(mkInformation);
    SetCaption(QString());
    SetButtons(mbOk);
}

TfrmMyMessageDlg::~TfrmMyMessageDlg() = default;

void TfrmMyMessageDlg::SetKind(int kind)
{
    m_kind = kind & KindMask;
    if (m_kind < int(Icons.size())) {
        SetIcon(m_kind);
    } else {
        ui->imgDlg->clear();
        ui->imgDlg->hide();
    }
    ui->pbProgress->setVisible(m_kind == mkProgress);
    if (m_kind == mkProgress) {
        // The task reports through progress messages; Ok has nothing to do and Cancel only asks
        // the task to stop (shown once the task gives a cancel handler).
        ui->btnOk->hide();
        ui->btnCancel->hide();
        ui->btnCancel->setText(tr("&Cancel", "stCANCEL"));
        ui->btnCancel->setDefault(false);
    }
}

void TfrmMyMessageDlg::SetCaption(const QString& caption)
{
    setWindowTitle(caption.isEmpty() ? KindCaption(m_kind) : caption);
}

QString TfrmMyMessageDlg::KindCaption(int kind)
{
    switch (kind) {
    case mkInformation:
        return tr("Information", "stINFORMATION");
    case mkConfirmation:
        return tr("Confirmation", "stCONFIRMATION");
    case mkWarning:
        return tr("Warning", "stWARNING");
    case mkError:
        return tr("Error", "stERROR");
    case mkProgress:
        return tr("Progress", "stPROGRESS");
    default:
        return tr("Message", "stMESSAGE");
    }
}

void TfrmMyMessageDlg::SetMessage(const QString& text) { ui->lblMessage->setText(text); }

void TfrmMyMessageDlg::SetButtons(int buttonSet)
{
    ui->btnOk->show();
    ui->btnCancel->show();
    switch (buttonSet) {
    case mbYesNo:
        ui->btnOk->setText(tr("Yes", "stYES"));
        ui->btnCancel->setText(tr("No", "stNO"));
        m_okResult = mrYes;
        m_cancelResult = mrNo;
        ui->btnOk->setDefault(true);
        break;
    case mbOkCancel:
        ui->btnOk->setText(tr("&Ok", "stOK"));
        ui->btnCancel->setText(tr("&Cancel", "stCANCEL"));
        m_okResult = mrOk;
        m_cancelResult = mrCancel;
        ui->btnOk->setDefault(true);
        break;
    default: // mbOk: the lone button stands where Cancel would, so Enter and Escape both give Ok
        ui->btnOk->hide();
        ui->btnCancel->setText(tr("&Ok", "stOK"));
        m_cancelResult = mrOk;
        ui->btnCancel->setDefault(true);
        break;
    }
}

void TfrmMyMessageDlg::HideButtons()
{
    ui->btnOk->hide();
    ui->btnCancel->hide();
}

void TfrmMyMessageDlg::SetIcon(int iconIndex)
{
    if (iconIndex < 0 || iconIndex >= int(Icons.size()))
        return;
    const QIcon icon = style()->standardIcon(Icons[size_t(iconIndex)], nullptr, this);
    ui->imgDlg->setPixmap(icon.pixmap(QSize(IconSize, IconSize), devicePixelRatio()));
    ui->imgDlg->show();
}

void TfrmMyMessageDlg::ShowCheckBox(const QString& text)
{
    ui->chkConfirm->setText(text);
    ui->chkConfirm->setChecked(false);
    ui->chkConfirm->show();
}

bool TfrmMyMessageDlg::IsChecked() const { return ui->chkConfirm->isChecked(); }

void TfrmMyMessageDlg::RequireCheck()
{
    ui->btnOk->setEnabled(ui->chkConfirm->isChecked());
    connect(ui->chkConfirm, &QCheckBox::toggled, ui->btnOk, &QPushButton::setEnabled);
}

void TfrmMyMessageDlg::StartCountdown(int seconds)
{
    m_seconds = seconds;
    m_counter = 0;
    ShowClosingText(seconds);
    ui->lblClosing->show();
    tmrClose->start();
}

void TfrmMyMessageDlg::SetCancelHandler(std::function<void()> handler)
{
    m_cancelHandler = std::move(handler);
    ui->btnCancel->setVisible(bool(m_cancelHandler));
}

void TfrmMyMessageDlg::reject()
{
    // Escape and the window's close box act as the Cancel-place button; a notice without buttons
    // stays until its owner closes it.
    if (!ui->btnCancel->isHidden() && ui->btnCancel->isEnabled())
        CancelClicked();
}

void TfrmMyMessageDlg::customEvent(QEvent* event)
{
    if (m_kind == mkProgress && IsProgressMessage(event->type())) {
        ApplyProgressMessage(TProgressMessage(event->type()), static_cast<TProgressEvent*>(event)->Value());
        return;
    }
    QDialog::customEvent(event);
}

void TfrmMyMessageDlg::OkClicked() { done(m_okResult); }

void TfrmMyMessageDlg::CancelClicked()
{
    if (m_cancelHandler)
        m_cancelHandler();
    else
        done(m_cancelResult);
}

void TfrmMyMessageDlg::CountdownTick()
{
    ++m_counter;
    ShowClosingText(m_seconds - m_counter);
    if (m_counter >= m_seconds) {
        tmrClose->stop();
        done(mrOk);
    }
}

void TfrmMyMessageDlg::ShowClosingText(int secondsLeft)
{
    ui->lblClosing->setText(tr("This window will be closed in %1 seconds.", "stCLOSING").arg(secondsLeft));
}

void TfrmMyMessageDlg::ApplyProgressMessage(TProgressMessage message, int value)
{
    QProgressBar* bar = ui->pbProgress;
    switch (message) {
    case pmSetTotal:
        bar->setRange(0, value);
        bar->setValue(0);
        break;
    case pmSetDone:
        bar->setValue(qBound(bar->minimum(), value, bar->maximum()));
        QCoreApplication::processEvents();
        break;
    case pmFinished:
        bar->setValue(bar->maximum());
        QCoreApplication::processEvents();
        QTimer::singleShot(FinishedCloseDelayMs, this, [this] { done(mrOk); });
        break;
    case pmError:
        EndProgress(tr("An error has occurred. Error code", "stAnErrorOccurred") + QStringLiteral(" (%1).").arg(value));
        break;
    case pmCancelled:
        EndProgress(tr("Process cancelled by user request", "stMSGPROCESSCANCELED"));
        break;
    }
}

void TfrmMyMessageDlg::EndProgress(const QString& text)
{
    ui->pbProgress->hide();
    ui->lblMessage->setText(text);
    m_cancelHandler = nullptr;
    m_cancelResult = mrCancel;
    ui->btnCancel->setText(tr("&Ok", "stOK"));
    ui->btnCancel->show();
    ui->btnCancel->setDefault(true);
}

void ShowMessageBox(int kind, const QString& caption, const QString& text)
{
    AskMessage(kind, caption, text, mbOk);
}

int AskMessage(int kind, const QString& caption, const QString& text, int buttonSet)
{
    TfrmMyMessageDlg dialog(DialogParent());
    Prepare(dialog, kind, caption, text, buttonSet);
    return dialog.exec();
}

int AskOkCancel(int kind, const QString& caption, const QString& text)
{
    return AskMessage(kind, caption, text, mbOkCancel);
}

int AskWithDontShow(int kind, const QString& caption, const QString& text,
                    const std::function<void(bool)>& dontShowAgain, int buttonSet)
{
    TfrmMyMessageDlg dialog(DialogParent());
    Prepare(dialog, kind, caption, text, buttonSet);
    dialog.ShowCheckBox(TfrmMyMessageDlg::tr("Do not show this message again", "stNOTSHOWMESSAGE"));
    const int result = dialog.exec();
    if (dontShowAgain)
        dontShowAgain(dialog.IsChecked());
    return result;
}

void ShowTimedMessage(int kind, const QString& caption, const QString& text, int seconds)
{
    TfrmMyMessageDlg dialog(DialogParent());
    Prepare(dialog, kind, caption, text, mbOk);
    dialog.StartCountdown(seconds);
    dialog.exec();
}

bool ConfirmWithCheck(const QString& caption, const QString& text, const QString& checkText)
{
    TfrmMyMessageDlg dialog(DialogParent());
    Prepare(dialog, mkConfirmation, caption, text, mbYesNo);
    dialog.ShowCheckBox(checkText);
    dialog.RequireCheck();
    return dialog.exec() == mrYes && dialog.IsChecked();
}

void ShowNotice(int kind, const QString& caption, const QString& text, int iconIndex)
{
    // The previous notice goes: kept on top without buttons, nothing could close it any more.
    CloseNotice();
    auto* notice = new TfrmMyMessageDlg();
    notice->setObjectName(QStringLiteral("frmNotice"));
    notice->setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    notice->setModal(false);
    notice->SetKind(kind);
    notice->SetCaption(caption);
    notice->SetMessage(text);
    notice->HideButtons();
    notice->SetIcon(iconIndex);
    notice->show();
    g_notice = notice;
    QCoreApplication::processEvents();
}

TfrmMyMessageDlg* ShowProgressNotice(const QString& caption, const QString& text)
{
    ShowNotice(mkProgress, caption, text, -1);
    return g_notice;
}

void CloseNotice()
{
    if (!g_notice)
        return;
    // Later, not now: the notice may be closed from one of its own handlers (its cancel handler).
    g_notice->hide();
    g_notice->deleteLater();
    g_notice = nullptr;
}

void NotifyProgress(QObject* notice, TProgressMessage message, int value)
{
    if (!notice)
        return;
    if (notice->thread() == QThread::currentThread()) {
        TProgressEvent event(message, value);
        QCoreApplication::sendEvent(notice, &event);
    } else {
        QCoreApplication::postEvent(notice, new TProgressEvent(message, value));
    }
}
