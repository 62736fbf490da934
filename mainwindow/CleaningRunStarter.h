#pragma once

#include <functional>

#include "common/ui/Dialogs.h"
#include "database/BuildConnectionString.h"

namespace Windows {

class Form2;

// What "Start Removing" runs: the cleaning run over the main window's controls, made at the first
// start and kept for the program's life (so that a start during a run is ignored by that run).
std::function<void(Form2&)> CleaningRunStarter(Ui::InputBoxService& inputBox,
                                               Ui::MessageBoxService& messageBox,
                                               const Access1::DatabaseChoice& database);

}  // namespace Windows
