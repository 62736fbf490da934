#include "tests/engine/run/RunFixture.h"

#include "database/access/Connection.h"
#include "database/access/RecordSet.h"
#include "engine/FieldQuery.h"
#include "tests/jet/CorpusFiles.h"
#include "tests/support/DatabaseFiles.h"

namespace Engine::Testing {

RunTest::RunTest()
    : run({tables, fields, operations, pointer, progress, preview}, {input, messages}, choice) {
  previousReporter_ = Main::InstallErrorReporter([this](std::u16string_view text) { reports.emplace_back(text); });
  previousPump_ = Ui::InstallEventPump({[this] {
                                          if (onYield) onYield();
                                        },
                                        [](double) {}});
  run.SetPause([this](double seconds) { pauses.push_back(seconds); });
  for (const Operation& operation : Operations()) operations.AddItem(operation.listText);
  operations.SetSelectedIndex(0);
}

RunTest::~RunTest() {
  Ui::WithdrawProgramEndRequest();
  Ui::InstallEventPump(previousPump_);
  Main::InstallErrorReporter(previousReporter_);
}

void RunTest::MakeDatabase(const std::function<void(Jet::DatabaseCreator&)>& fill) {
  file = Jet::Testing::ScratchDir() / "run.mdb";
  auto creator = Jet::CreateDatabase(file, Jet::FileFormat::Jet4);
  fill(creator);
  creator.Close();
  choice.path = ::Testing::PathText(file);
}

void RunTest::MakeTextTable(const std::vector<Value>& values) {
  MakeDatabase([&](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"V", Jet::FieldType::Text, 255}}});
    for (const Value& value : values) db.InsertRow(u"T", {value});
  });
  ShowTable(u"T", {u"V"});
  MarkFields({u"V"});
}

void RunTest::UseDatabase(const std::filesystem::path& existing) {
  file = existing;
  choice.path = ::Testing::PathText(file);
}

void RunTest::ShowTable(const std::u16string& table, const Texts& fieldNames) {
  tables.Clear();
  tables.AddEntry(table);
  fields.Clear();
  for (const auto& name : fieldNames) fields.AddEntry(name);
  for (int i = 1; i <= fields.Count(); ++i) fields.SetEntrySelected(i, false);
}

void RunTest::MarkFields(const Texts& marked) {
  bool first = true;
  for (int i = 1; i <= fields.Count(); ++i) {
    const bool mark = std::find(marked.begin(), marked.end(), fields.EntryText(i)) != marked.end();
    if (mark && first) {
      fields.Click(i);
      first = false;
    }
    fields.SetEntrySelected(i, mark);
  }
}

void RunTest::ChooseOperation(int number) { operations.SetSelectedIndex(number - 1); }

std::vector<Value> RunTest::Stored(const std::u16string& table, const std::u16string& field) const {
  Access::Connection connection;
  connection.Open(Access1::BuildConnectionString(choice));
  Access::RecordSet records;
  records.Open(FieldQueryText({table, field}), connection);
  std::vector<Value> values;
  for (; !records.Eof(); records.MoveNext()) values.push_back(records.Value(0));
  return values;
}

Texts RunTest::StoredTexts(const std::u16string& table, const std::u16string& field) const {
  return AsTexts(Stored(table, field));
}

std::vector<int> RunTest::ReportedSteps() const {
  std::vector<int> steps;
  for (const auto& report : reports) {
    const auto at = report.find(u"at line ");
    if (at == std::u16string::npos) {
      steps.push_back(-1);
      continue;
    }
    int number = 0;
    for (size_t i = at + 8; i < report.size() && report[i] >= u'0' && report[i] <= u'9'; ++i) {
      number = number * 10 + (report[i] - u'0');
    }
    steps.push_back(number);
  }
  return steps;
}

Texts RunTest::Messages() const {
  Texts texts;
  for (const auto& shown : messages.shown) texts.push_back(shown.prompt);
  return texts;
}

Texts AsTexts(const std::vector<Value>& values) {
  Texts texts;
  for (const Value& value : values) texts.push_back(value.IsNull() ? u"<null>" : value.ToText());
  return texts;
}

}  // namespace Engine::Testing
