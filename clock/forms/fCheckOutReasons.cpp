#include "fCheckOutReasons.h"

#include "dmAppData.h"
#include "fMyMessageDlg.h"
#include "ui_fCheckOutReasons.h"

#include <QDesktopServices>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace
{
// Each entry carries the reason's id, code and name.
constexpr int ReasonIdRole = Qt::UserRole;
constexpr int CodeRole = Qt::UserRole + 1;
constexpr int NameRole = Qt::UserRole + 2;

bool IsEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

TfrmCheckOutReasons::TfrmCheckOutReasons(TdtmAppData& appData, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmCheckOutReasons>()), m_appData(appData), m_reasons(appData)
{
    ui->setupUi(this);
    // Codes are padded to one width: a fixed-pitch font lines the names up.
    ui->lbxReasons->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    addAction(ui->actOpenHelp);
    for (QObject* editor : {static_cast<QObject*>(ui->edtCode), static_cast<QObject*>(ui->edtReason),
                            static_cast<QObject*>(ui->btnSave), static_cast<QObject*>(ui->btnCancel),
                            static_cast<QObject*>(ui->lbxReasons)})
        editor->installEventFilter(this);
    ConnectActions();
    ApplyHints();
    LoadReasons();
    SetBrowseState();
}

TfrmCheckOutReasons::~TfrmCheckOutReasons() = default;

int TfrmCheckOutReasons::ReasonCount() const
{
    return ui->lbxReasons->count();
}

void TfrmCheckOutReasons::ConnectActions()
{
    const auto bind = [this](QPushButton* button, QAction* action) {
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
    };
    bind(ui->btnAddReason, ui->actSetAdd);
    bind(ui->btnModifyReason, ui->actSetModify);
    bind(ui->btnDeleteReason, ui->actDelete);
    bind(ui->btnCancel, ui->actCancel);
    connect(ui->btnSave, &QPushButton::clicked, this, [this] {
        if (m_saveAction)
            m_saveAction->trigger();
    });
    const auto on = [this](QAction* action, void (TfrmCheckOutReasons::*command)()) {
        connect(action, &QAction::triggered, this, [this, command] { Run(command); });
    };
    on(ui->actSetAdd, &TfrmCheckOutReasons::actSetAddExecute);
    on(ui->actSetModify, &TfrmCheckOutReasons::actSetModifyExecute);
    on(ui->actDelete, &TfrmCheckOutReasons::actDeleteExecute);
    on(ui->actAdd, &TfrmCheckOutReasons::actSaveExecute);
    on(ui->actModify, &TfrmCheckOutReasons::actSaveExecute);
    on(ui->actCancel, &TfrmCheckOutReasons::actCancelExecute);
    on(ui->actOpenHelp, &TfrmCheckOutReasons::actOpenHelpExecute);

    connect(ui->lbxReasons, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_saveAction)
            ShowSelectedEntry();
        UpdateActions();
    });
    connect(ui->lbxReasons, &QListWidget::itemDoubleClicked, ui->actSetModify, &QAction::trigger);
    connect(ui->edtCode, &QLineEdit::textChanged, this, &TfrmCheckOutReasons::UpdateActions);
    connect(ui->edtReason, &QLineEdit::textChanged, this, &TfrmCheckOutReasons::UpdateActions);
}

void TfrmCheckOutReasons::ApplyHints()
{
    if (m_appData.AppRegistry().ShowAppHints)
        return;
    for (QWidget* widget : {static_cast<QWidget*>(ui->lbxReasons), static_cast<QWidget*>(ui->edtCode),
                            static_cast<QWidget*>(ui->edtReason)})
        widget->setToolTip(QString());
}

void TfrmCheckOutReasons::Run(void (TfrmCheckOutReasons::*command)())
{
    try {
        (this->*command)();
    } catch (const Exception& error) {
        ShowMessageBox(mkError, QString(), error.Message());
    }
}

// ---- List --------------------------------------------------------------------------------------

void TfrmCheckOutReasons::LoadReasons()
{
    const QList<TCheckOutReason> reasons = m_reasons.Load();
    QSignalBlocker quiet(ui->lbxReasons);
    ui->lbxReasons->clear();
    for (const TCheckOutReason& reason : reasons) {
        auto* item = new QListWidgetItem(TCheckOutReasons::FormatReasonEntry(reason.Code, reason.Name));
        item->setData(ReasonIdRole, reason.ReasonId);
        item->setData(CodeRole, reason.Code);
        item->setData(NameRole, reason.Name);
        ui->lbxReasons->addItem(item); // sorted by text: by code first
    }
}

void TfrmCheckOutReasons::SelectEntry(const QString& entryText)
{
    const QList<QListWidgetItem*> found = ui->lbxReasons->findItems(entryText, Qt::MatchExactly);
    if (!found.isEmpty())
        ui->lbxReasons->setCurrentItem(found.first());
}

int TfrmCheckOutReasons::SelectedReasonId() const
{
    const QList<QListWidgetItem*> selected = ui->lbxReasons->selectedItems();
    return selected.isEmpty() ? 0 : selected.first()->data(ReasonIdRole).toInt();
}

void TfrmCheckOutReasons::ShowSelectedEntry()
{
    const QList<QListWidgetItem*> selected = ui->lbxReasons->selectedItems();
    ui->edtCode->setText(selected.isEmpty() ? QString()
                                            : selected.first()->data(CodeRole).toString().trimmed());
    ui->edtReason->setText(selected.isEmpty() ? QString()
                                              : selected.first()->data(NameRole).toString().trimmed());
}

// ---- States ------------------------------------------------------------------------------------

void TfrmCheckOutReasons::SetBrowseState()
{
    m_saveAction = nullptr;
    ui->lbxReasons->setEnabled(true);
    ui->edtCode->setEnabled(false);
    ui->edtReason->setEnabled(false);
    UpdateActions();
    ui->lbxReasons->setFocus();
}

void TfrmCheckOutReasons::SetEditState(QAction* saveAction)
{
    m_saveAction = saveAction;
    ui->lbxReasons->setEnabled(false);
    ui->edtCode->setEnabled(true);
    ui->edtReason->setEnabled(true);
    UpdateActions();
    ui->edtCode->setFocus();
}

void TfrmCheckOutReasons::UpdateActions()
{
    const bool browsing = ui->lbxReasons->isEnabled();
    const bool selected = !ui->lbxReasons->selectedItems().isEmpty();
    ui->actSetAdd->setEnabled(browsing);
    ui->actSetModify->setEnabled(browsing && selected);
    // The last reason in use cannot be deleted.
    ui->actDelete->setEnabled(browsing && selected && ui->lbxReasons->count() >= 2);
    const bool complete =
        !ui->edtCode->text().trimmed().isEmpty() && !ui->edtReason->text().trimmed().isEmpty();
    ui->actAdd->setEnabled(m_saveAction == ui->actAdd && complete);
    ui->actModify->setEnabled(m_saveAction == ui->actModify && complete);
    ui->actCancel->setEnabled(m_saveAction != nullptr);

    SyncButton(ui->btnAddReason, ui->actSetAdd);
    SyncButton(ui->btnModifyReason, ui->actSetModify);
    SyncButton(ui->btnDeleteReason, ui->actDelete);
    SyncButton(ui->btnSave, m_saveAction ? m_saveAction : ui->actAdd);
    SyncButton(ui->btnCancel, ui->actCancel);
}

void TfrmCheckOutReasons::SyncButton(QPushButton* button, const QAction* action) const
{
    button->setText(action->text());
    button->setEnabled(action->isEnabled());
    button->setToolTip(m_appData.AppRegistry().ShowAppHints ? action->toolTip() : QString());
}

// ---- Commands ----------------------------------------------------------------------------------

void TfrmCheckOutReasons::actSetAddExecute()
{
    ui->edtCode->clear();
    ui->edtReason->clear();
    SetEditState(ui->actAdd);
}

void TfrmCheckOutReasons::actSetModifyExecute()
{
    if (ui->actSetModify->isEnabled())
        SetEditState(ui->actModify);
}

void TfrmCheckOutReasons::actDeleteExecute()
{
    const int reasonId = SelectedReasonId();
    if (reasonId == 0 ||
        AskMessage(mkConfirmation, QString(),
                   tr("Are you sure you want to delete this Check Out Reason?", "stDELETEWARNING"),
                   mbYesNo) != mrYes)
        return;
    m_reasons.Delete(reasonId);
    ui->edtCode->clear();
    ui->edtReason->clear();
    LoadReasons();
    SetBrowseState();
}

void TfrmCheckOutReasons::actSaveExecute()
{
    const bool adding = m_saveAction == ui->actAdd;
    const QString code = ui->edtCode->text().trimmed();
    const QString name = ui->edtReason->text().trimmed();
    const int reasonId = adding ? 0 : SelectedReasonId();
    if (m_reasons.Exists(name, code, reasonId)) {
        ShowMessageBox(mkInformation, QString(),
                       tr("This Reason Name or Code already exist on DB! Please try with another one.",
                          "stREASONEXIST"));
        ui->edtCode->setFocus();
        return;
    }
    if (adding)
        m_reasons.Add(name, code);
    else
        m_reasons.Update(reasonId, name, code);
    LoadReasons();
    SelectEntry(TCheckOutReasons::FormatReasonEntry(code, name));
    SetBrowseState();
}

void TfrmCheckOutReasons::actCancelExecute()
{
    SetBrowseState();
    ShowSelectedEntry();
}

void TfrmCheckOutReasons::actOpenHelpExecute()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_appData.HelpTopicPath(u"time.html"_s)));
}

// ---- Keys and language -------------------------------------------------------------------------

bool TfrmCheckOutReasons::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == ui->lbxReasons) {
        // Enter on an entry edits it, as a double click does.
        if (!IsEnterKey(key))
            return false;
        ui->actSetModify->trigger();
        return true;
    }
    // In the edit boxes and on Save and Cancel: Enter saves, Esc cancels.
    if (IsEnterKey(key)) {
        if (m_saveAction && m_saveAction->isEnabled())
            m_saveAction->trigger();
        return true;
    }
    if (key == Qt::Key_Escape) {
        ui->actCancel->trigger();
        return true;
    }
    return false;
}

void TfrmCheckOutReasons::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        ApplyHints();
        UpdateActions();
    }
    QDialog::changeEvent(event);
}

// ---- Catalog check -----------------------------------------------------------------------------

bool EnsureReasonsExist(TdtmAppData& appData, bool checked, QWidget* parent)
{
    if (!checked)
        return false;
    TfrmCheckOutReasons catalog(appData, parent);
    if (catalog.ReasonCount() > 0)
        return true;
    if (AskMessage(mkConfirmation, QString(),
                   TfrmCheckOutReasons::tr(
                       "First you have to add Check Out Reasons. Do you want to do it now?", "stCHECKVERIF"),
                   mbYesNo) == mrYes)
        catalog.exec();
    return catalog.ReasonCount() > 0;
}
