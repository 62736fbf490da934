#pragma once

#include <functional>

#include "common/ui/ListView.h"
#include "common/ui/WindowPointer.h"
#include "database/BuildConnectionString.h"

// The main window's browsing: the fields of the chosen table and a preview of the chosen field's
// first values, each read through a connection of its own that goes when the listing is done.
namespace Windows {

// The lists the browsing fills and the pointer it turns busy while it does.
struct BrowsingControls {
  Ui::ListView& tables;
  Ui::ListView& fields;
  Ui::ListView& preview;
  Ui::WindowPointer& pointer;
  // True once the user chose another entry while this listing yields: the newer listing has
  // filled the lists, so this one stops where it is and changes nothing more.
  std::function<bool()> superseded = [] { return false; };
};

// The preview holds at most this many values.
inline constexpr int kPreviewLimit = 101;

// Lists the fields of the table list's current entry in column order (the field list and the
// preview are emptied first), then previews the first field. Reads no record for the field list.
// Failures (the database cannot be opened, the query fails) are thrown to the caller; the pointer
// is then left as it stood.
void ShowTableFields(const Access1::DatabaseChoice& choice, const BrowsingControls& controls);

// Lists up to kPreviewLimit values of the field list's current entry, as stored (Null as the empty
// text), in the order the table delivers them.
void ShowFieldPreview(const Access1::DatabaseChoice& choice, const BrowsingControls& controls);

}  // namespace Windows
