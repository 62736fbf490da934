#include "mainwindow/FieldBrowsing.h"

#include <memory>
#include <string>

#include "common/ui/EventPump.h"
#include "database/access/Connection.h"
#include "database/access/RecordSet.h"

namespace Windows {
namespace {

std::u16string Quoted(std::u16string_view name) { return u'`' + std::u16string(name) + u'`'; }

std::unique_ptr<Access::Connection> OpenChosenDatabase(const Access1::DatabaseChoice& choice) {
  std::unique_ptr<Access::Connection> connection = Access::CreateConnection();
  connection->SetMode(Access::kModeReadWrite);
  connection->Open(Access1::BuildConnectionString(choice));
  return connection;
}

}  // namespace

void ShowTableFields(const Access1::DatabaseChoice& choice, const BrowsingControls& controls) {
  {
    // The connection goes before the preview opens its own: a read-write connection holds the file
    // alone.
    const auto connection = OpenChosenDatabase(choice);
    Access::RecordSet records;
    records.Open(u"SELECT * FROM " + Quoted(controls.tables.CurrentEntryText()), *connection,
                 Access::kCursorStatic, Access::kLockOptimistic);
    controls.fields.Clear();
    controls.preview.Clear();
    controls.pointer.SetPointer(Ui::kPointerBusy);
    for (size_t field = 0; field < records.FieldCount(); ++field) {
      Ui::PumpEvents();
      if (controls.superseded()) return;
      controls.fields.AddEntry(records.FieldName(field));
    }
    controls.pointer.SetPointer(Ui::kPointerDefault);
  }
  if (controls.fields.Count() > 0) ShowFieldPreview(choice, controls);
}

void ShowFieldPreview(const Access1::DatabaseChoice& choice, const BrowsingControls& controls) {
  const auto connection = OpenChosenDatabase(choice);
  Access::RecordSet records;
  records.Open(u"SELECT " + Quoted(controls.fields.CurrentEntryText()) + u" FROM " +
                   Quoted(controls.tables.CurrentEntryText()),
               *connection, Access::kCursorStatic, Access::kLockOptimistic);
  controls.preview.Clear();
  controls.pointer.SetPointer(Ui::kPointerBusy);
  Ui::PumpEvents();
  if (controls.superseded()) return;
  for (int shown = 0; shown < kPreviewLimit && !records.Eof(); ++shown) {
    Ui::PumpEvents();
    if (controls.superseded()) return;
    controls.preview.AddEntry(records.Value(0).ToText());
    records.MoveNext();
  }
  records.Close();
  controls.pointer.SetPointer(Ui::kPointerDefault);
}

}  // namespace Windows
