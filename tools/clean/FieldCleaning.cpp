#include "tools/clean/FieldCleaning.h"

#include <algorithm>

#include "common/ErrorReport.h"
#include "common/Text.h"
#include "common/ui/MemoryDropDownList.h"
#include "common/ui/MemoryListView.h"
#include "common/ui/MemoryProgressView.h"
#include "common/ui/WindowPointer.h"
#include "database/access/AccessError.h"
#include "database/access/Connection.h"
#include "engine/CleaningRun.h"
#include "jet/JetError.h"
#include "tools/clean/ConsoleDialogs.h"
#include "tools/clean/ExitStatus.h"
#include "tools/clean/Listing.h"
#include "tools/clean/RunTally.h"

namespace Clean {
namespace {

// The pointer of a run without a window: a setting nobody sees.
class PointerSetting : public Ui::WindowPointer {
 public:
  int Pointer() const override { return value_; }
  void SetPointer(int value) override {
    Ui::CheckPointerValue(value);
    value_ = value;
  }

 private:
  int value_ = Ui::kPointerDefault;
};

// The main window's lists as the command line fills them: the one table, its fields all marked,
// the operation chosen.
struct CommandLineView {
  Ui::MemoryListView tables;
  Ui::MemoryListView fields{true};
  Ui::MemoryDropDownList operations;
  PointerSetting pointer;
  Ui::MemoryProgressView progress;
  Ui::MemoryListView preview;

  CommandLineView(const std::u16string& table, const std::vector<std::u16string>& fieldNames,
                  const Engine::Operation& operation) {
    tables.AddEntry(table);
    for (size_t n = 0; n < fieldNames.size(); ++n) {
      fields.AddEntry(fieldNames[n]);
      fields.SetEntrySelected(static_cast<int>(n) + 1, true);
    }
    for (const Engine::Operation& entry : Engine::Operations()) operations.AddItem(entry.listText);
    operations.SetSelectedIndex(operation.number - 1);
  }

  Engine::RunView View() { return {tables, fields, operations, pointer, progress, preview}; }
};

// Opens the database for writing and lets it go again, so that a file in use or one that cannot
// be written (which the connection opens read-only) is refused before the run, which would only
// say of every field that it is left unchanged.
void CheckWritable(const Access1::DatabaseChoice& choice) {
  const std::unique_ptr<Access::Connection> connection = Access::CreateConnection();
  connection->SetMode(Access::kModeReadWrite);
  connection->Open(Access1::BuildConnectionString(choice));
  const bool readOnly = connection->IsReadOnly();
  const std::u16string reason = readOnly ? connection->ReadOnlyReason() : std::u16string();
  connection->Close();
  if (readOnly) {
    // The engine's own reason where it has one (the Access text says nothing a user can act on).
    const std::u16string why = reason == Access::kReadOnlyReason ? std::u16string() : u" " + reason;
    throw Main::Error(Jet::JetErrorNumber::kReadOnly,
                      u"The database '" + choice.DatabasePath() +
                          u"' cannot be opened for writing: it can only be read (--dry-run reads it)." + why,
                      Main::ErrorCause::kReadOnly);
  }
}

// Shows each report of the run on standard error, saying which record was in hand, and counts them.
class ReportsToConsole {
 public:
  ReportsToConsole(Console& console, const RunTally& tally)
      : previous_(Main::InstallErrorReporter([this, &console, &tally](std::u16string_view text) {
          ++count_;
          std::u16string heading = std::u16string(Main::kErrorReportTitle);
          if (const auto record = tally.RecordInHand())
            heading += u" at record " + Main::FromUtf8(std::to_string(record->second)) + u" of " + record->first;
          console.Message(heading + u":\n" + std::u16string(text));
        })) {}
  ~ReportsToConsole() { Main::InstallErrorReporter(std::move(previous_)); }
  ReportsToConsole(const ReportsToConsole&) = delete;
  ReportsToConsole& operator=(const ReportsToConsole&) = delete;

  int Count() const { return count_; }

 private:
  int count_ = 0;
  Main::ErrorReporter previous_;
};

}  // namespace

int RunCleaning(const CommandLine& command, Console& console) {
  const FixedChoice choice(command.file, command.password);
  const std::u16string table = FindTable(choice, command.table);
  const std::vector<std::u16string> tableFields = FieldNames(choice, table);
  std::vector<std::u16string> fields;
  for (const std::u16string& field : command.fields) fields.push_back(FindField(tableFields, table, field));
  if (!command.dryRun) CheckWritable(choice);

  CommandLineView view(table, fields, *command.operation);
  ConsoleMessages messages(console);
  OptionAnswers answers(*command.operation, command.answers);
  RunTally tally(console, view.progress, command.dryRun);
  const ReportsToConsole reports(console, tally);

  Engine::CleaningRun run(view.View(), {answers, messages}, choice);
  // Without windows there is nothing to keep responsive between records.
  run.SetPause([](double) {});
  run.SetOptions({command.dryRun, &tally});
  run.Start();

  bool allHandled = reports.Count() == 0;
  for (const std::u16string& field : fields) {
    const auto worked = std::find_if(tally.Fields().begin(), tally.Fields().end(),
                                     [&](const FieldTally& entry) { return entry.field == field; });
    if (worked == tally.Fields().end()) {
      console.Result(field + u": not worked.");
      allHandled = false;
    } else if (worked->refused > 0) {
      allHandled = false;
    }
  }
  return allHandled ? kExitDone : kExitRefused;
}

}  // namespace Clean
