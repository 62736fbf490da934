#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/ErrorReport.h"
#include "common/Value.h"
#include "common/ui/EventPump.h"
#include "database/BuildConnectionString.h"
#include "engine/CleaningRun.h"
#include "engine/OperationCatalogue.h"
#include "jet/Creator.h"
#include "tests/support/ScriptedControls.h"
#include "tests/support/ScriptedDialogs.h"

// A cleaning run over a database the test makes, driven through scripted controls and dialogs the
// way the main window drives it; the stored values are read back through the access layer.
namespace Engine::Testing {

using Main::Value;
using Texts = std::vector<std::u16string>;

// The database the selection window would have chosen: a fixed path, no password.
class FixedChoice : public Access1::DatabaseChoice {
 public:
  std::u16string DatabasePath() const override { return path; }
  std::u16string DatabasePassword() const override { return {}; }
  std::u16string path;
};

class RunTest : public ::testing::Test {
 protected:
  RunTest();
  ~RunTest() override;

  // Makes the test's database (Jet4) with whatever `fill` adds, and chooses it.
  void MakeDatabase(const std::function<void(Jet::DatabaseCreator&)>& fill);
  // A database of one table `T` with one Text(255) field `V` holding these values.
  void MakeTextTable(const std::vector<Value>& values);
  // Uses an existing file.
  void UseDatabase(const std::filesystem::path& file);

  // Fills the lists as the main window does when the user clicks the table: the table list with
  // `table` as its current entry, the field list with `fieldNames`, none of them marked.
  void ShowTable(const std::u16string& table, const Texts& fieldNames);
  // Marks exactly these fields (by name) selected; the first becomes the preview's field.
  void MarkFields(const Texts& marked);
  // Picks the operation by its number (1 to 27) in the operation list.
  void ChooseOperation(int number);

  void Start() { run.Start(); }

  // The field's values as stored, read afresh through the access layer.
  std::vector<Value> Stored(const std::u16string& table, const std::u16string& field) const;
  Texts StoredTexts(const std::u16string& table, const std::u16string& field) const;

  // The step numbers of the error reports so far, in order.
  std::vector<int> ReportedSteps() const;
  // The texts of the message boxes so far (error reports are not among them).
  Texts Messages() const;

  std::filesystem::path file;
  FixedChoice choice;
  ::Testing::ScriptedListView tables;
  ::Testing::ScriptedListView fields{true};
  ::Testing::ScriptedListView preview;
  ::Testing::ScriptedDropDownList operations;
  ::Testing::ScriptedWindowPointer pointer;
  ::Testing::ScriptedProgressView progress;
  ::Testing::ScriptedInputBox input;
  ::Testing::ScriptedMessageBox messages;
  std::vector<std::u16string> reports;
  std::vector<double> pauses;  // the seconds of every pause asked for
  // Runs at every pump of the event loop (the run's yields); empty: nothing happens.
  std::function<void()> onYield;
  CleaningRun run;

 private:
  Main::ErrorReporter previousReporter_;
  Ui::EventPumpHooks previousPump_;
};

// Texts of values as the tests write them: Null as "<null>".
Texts AsTexts(const std::vector<Value>& values);

}  // namespace Engine::Testing
