#pragma once

#include "dmAppData.h"

// The start-up questions in the message dialog; "change the database settings" opens the database
// settings dialog.
class TDialogStartupPrompts final : public TStartupPrompts
{
public:
    bool AskYesNo(TKind kind, const QString& text) override;
    void Show(TKind kind, const QString& text) override;
    bool EditDatabaseSettings(TAppRegistry& settings) override;
};
