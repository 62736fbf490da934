#include "mainwindow/WindowServices.h"

#include "common/ApplicationTitle.h"
#include "common/Error.h"

namespace Windows {

void StoreSetting(WindowServices& services, std::u16string_view key, std::u16string_view value) {
  try {
    services.settings.Write(key, value);
  } catch (const Main::Error& error) {
    if (services.settingsFailureTold) return;
    services.settingsFailureTold = true;
    services.messageBox.Show(error.Description() +
                                 u"\r\n\r\nThe program goes on, but the database, password and operation you "
                                 u"choose now will not be remembered the next time it starts.",
                             Ui::kOkOnlyExclamation, Main::ApplicationTitle());
  }
}

}  // namespace Windows
