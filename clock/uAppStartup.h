#pragma once

#include "dmAppData.h"

#include <memory>

// The application data module as the program starts it: the data module's own start-up (settings,
// database, the user's answers through `prompts`), then the fingerprint reader wrapper, which belongs
// to the clock station. Check CannotContinue() on the result: the program ends when it is set, and
// no reader is attached then.
std::unique_ptr<TdtmAppData> CreateAppData(TStartupPrompts& prompts, QObject* parent = nullptr);

// Gives the data module a reader wrapper, marks the reader available when the wrapper names at
// least one device, and opens the first. A reader that names itself but will not open counts as
// not available, so the station still punches by employee number.
void AttachReader(TdtmAppData& data);
