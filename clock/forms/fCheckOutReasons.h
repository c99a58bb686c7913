#pragma once

#include "uCheckOutReasons.h"

#include <QDialog>
#include <memory>

class QAction;
class QPushButton;
class TdtmAppData;
namespace Ui
{
class TfrmCheckOutReasons;
}

// The catalog of check-out reasons, kept by administrators: add, rename and delete reasons. Browse
// state: the list has the focus and the catalog buttons work on the selected entry; Add and Modify
// switch to the edit state, which Save or Cancel end (Enter and Esc in the edit boxes). Esc
// elsewhere closes the form. Created with the data module, shown modally, freed by the caller.
class TfrmCheckOutReasons final : public QDialog
{
    Q_OBJECT

public:
    // Loads the list; raises EDatabaseError when it cannot be read.
    explicit TfrmCheckOutReasons(TdtmAppData& appData, QWidget* parent = nullptr);
    ~TfrmCheckOutReasons() override;

    // The entries listed (the reasons in use).
    int ReasonCount() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ConnectActions();
    void ApplyHints();
    void LoadReasons();
    void SelectEntry(const QString& entryText);
    int SelectedReasonId() const;
    void ShowSelectedEntry();
    void SetBrowseState();
    void SetEditState(QAction* saveAction);
    void UpdateActions();
    void SyncButton(QPushButton* button, const QAction* action) const;
    // Runs a command; a database failure is shown and the form stays as it was.
    void Run(void (TfrmCheckOutReasons::*command)());

    void actSetAddExecute();
    void actSetModifyExecute();
    void actDeleteExecute();
    void actSaveExecute();
    void actCancelExecute();
    void actOpenHelpExecute();

    std::unique_ptr<Ui::TfrmCheckOutReasons> ui;
    TdtmAppData& m_appData;
    TCheckOutReasons m_reasons;
    QAction* m_saveAction = nullptr; // actAdd or actModify while editing, null while browsing
};

// The check when a "Specify Check Out Reason" box is clicked, with its new state: true when the
// box may stay ticked, which needs at least one reason in the catalog. With an empty catalog the
// user is offered to add reasons at once (stCHECKVERIF).
bool EnsureReasonsExist(TdtmAppData& appData, bool checked, QWidget* parent = nullptr);
