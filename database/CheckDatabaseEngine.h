#pragma once

#include <string>

#include "common/ui/Dialogs.h"
#include "common/ui/UrlOpener.h"

// The start-up check that the database engine is there (module Access1).
namespace Access1 {

// True when a connection can be created. When it cannot because the provider is missing (error
// 3706, or a description containing "provider cannot be found" in any case), shows the
// diagnostic (Yes/No) and, on Yes, opens the two download pages in order; any other failure
// answers false silently. Never throws.
bool CheckDatabaseEngine(Ui::MessageBoxService& messageBox, Ui::UrlOpener& urlOpener);

// The diagnostic's text: seven paragraphs separated by empty lines.
std::u16string ProviderMissingMessage();

}  // namespace Access1
