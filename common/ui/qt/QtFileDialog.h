#pragma once

#include <QStringList>
#include <string_view>

#include "common/ui/FileDialog.h"

// The open-file dialog as a Qt file dialog, over the window that is active when it opens.
namespace Ui {

// Qt's name filters for a "|"-separated filter: each description keeps its words, its own
// bracketed pattern list is replaced by the entry's real patterns separated by blanks, and "*.*"
// becomes "*" (every file, with or without an extension). Empty entries are dropped.
// "Access Databases (*.mdb;*.accdb)|*.mdb;*.accdb|All Files (*.*)|*.*" gives
// "Access Databases (*.mdb *.accdb)" and "All Files (*)".
QStringList QtNameFilters(std::u16string_view filter);

// Picks one existing file; the filter's first entry is selected when it opens. The flags have no
// counterpart in Qt's dialog and are not used.
class QtFileDialog : public OpenFileDialog {
 public:
  std::u16string ShowOpen(const OpenFileRequest& request) override;
};

}  // namespace Ui
