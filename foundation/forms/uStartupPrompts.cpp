#include "uStartupPrompts.h"

#include "fDatabaseSettings.h"
#include "fMyMessageDlg.h"

namespace
{

int MessageKind(TStartupPrompts::TKind kind)
{
    switch (kind) {
    case TStartupPrompts::TKind::Information:
        return mkInformation;
    case TStartupPrompts::TKind::Warning:
        return mkWarning;
    case TStartupPrompts::TKind::Error:
        break;
    }
    return mkError;
}

} // namespace

bool TDialogStartupPrompts::AskYesNo(TKind kind, const QString& text)
{
    return AskMessage(MessageKind(kind), QString(), text, mbYesNo) == mrYes;
}

void TDialogStartupPrompts::Show(TKind kind, const QString& text)
{
    ShowMessageBox(MessageKind(kind), QString(), text);
}

bool TDialogStartupPrompts::EditDatabaseSettings(TAppRegistry& settings)
{
    TfrmDatabaseSettings dialog;
    dialog.LoadFrom(settings);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.StoreTo(settings);
    return true;
}
