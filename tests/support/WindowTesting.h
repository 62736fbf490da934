#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/ErrorReport.h"
#include "common/FileExists.h"
#include "common/SettingsStore.h"
#include "common/Value.h"
#include "jet/Creator.h"
#include "jet/Database.h"
#include "mainwindow/WindowServices.h"
#include "tests/jet/CorpusFiles.h"
#include "tests/support/DatabaseFiles.h"
#include "tests/support/ScriptedDialogs.h"

// What the tests of the real windows share: settings in a scratch folder, scripted dialogs, the
// error reports collected instead of shown, and databases made by the creator.
namespace Testing {

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    previousReporter_ = Main::InstallErrorReporter([this](std::u16string_view text) { reports.emplace_back(text); });
  }
  void TearDown() override { Main::InstallErrorReporter(std::move(previousReporter_)); }

  // A Jet4 database in the scratch folder with the given tables and rows.
  std::u16string MakeDatabase(const std::string& name, const std::vector<Jet::TableSpec>& tables,
                              const std::vector<std::pair<std::u16string, std::vector<Jet::Row>>>& rows = {},
                              const std::u16string& password = {}) {
    const auto file = scratch / name;
    Jet::CreateOptions options;
    options.password = password;
    auto creator = Jet::CreateDatabase(file, Jet::FileFormat::Jet4, options);
    for (const auto& table : tables) creator.AddTable(table);
    for (const auto& [table, tableRows] : rows) creator.InsertRows(table, tableRows);
    creator.Close();
    return PathText(file);
  }

  // A table "People" (Id, Name, Note) holding `count` rows named Person 1, Person 2 ...
  std::u16string MakePeople(const std::string& name, int count) {
    std::vector<Jet::Row> rows;
    for (int n = 1; n <= count; ++n) {
      rows.push_back({Main::Value::Integer(n), Main::Value::Text(u"Person " + Main::FormatInteger(n)),
                      Main::Value::Text(u"Note " + Main::FormatInteger(n))});
    }
    return MakeDatabase(name, {PeopleTable()}, {{u"People", rows}});
  }

  static Jet::TableSpec PeopleTable() {
    return {u"People",
            {{u"Id", Jet::FieldType::LongInteger}, {u"Name", Jet::FieldType::Text, 50}, {u"Note", Jet::FieldType::Memo}}};
  }

  const std::filesystem::path scratch = Jet::Testing::ScratchDir();
  Main::SettingsStore settings = Main::SettingsStore::AtFile(scratch / "settings.ini");
  ScriptedMessageBox messageBox;
  ScriptedFileDialog fileDialog;
  ScriptedUrlOpener urlOpener;
  int programEnds = 0;
  Windows::WindowServices services{settings, messageBox, fileDialog, urlOpener, [this] { ++programEnds; }};
  std::vector<std::u16string> reports;

 private:
  Main::ErrorReporter previousReporter_;
};

// The texts of a list's entries, in order.
template <class List>
std::vector<std::u16string> Entries(const List& list) {
  std::vector<std::u16string> entries;
  for (int index = 1; index <= list.Count(); ++index) entries.push_back(list.EntryText(index));
  return entries;
}

// The values of one column of a table as the engine reads them now, as text (Null as empty).
inline std::vector<std::u16string> StoredTexts(const std::u16string& path, std::u16string_view table, size_t column) {
  const auto database = Jet::Database::Open(Main::PathFromText(path));
  const auto cursor = database->Scan(database->Table(table));
  std::vector<std::u16string> texts;
  while (cursor->Next()) texts.push_back(cursor->Get(column).ToText());
  return texts;
}

// A mouse move over `widget` at `at` (its centre by default), as the window system delivers it.
inline void MoveMouseOver(QWidget& widget, std::optional<QPointF> at = std::nullopt) {
  const QPointF point = at.value_or(QRectF(widget.rect()).center());
  QMouseEvent move(QEvent::MouseMove, point, widget.mapToGlobal(point), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &move);
}

// Whether a report names that handler text and step.
inline bool Names(const std::u16string& report, std::u16string_view procedure, int step) {
  return report.find(std::u16string(procedure) + u"at line " + Main::FormatInteger(step) + u"\r\r") !=
         std::u16string::npos;
}

}  // namespace Testing
