// Copies of moved rows that no pointer names -- what a process killed in the middle of moving a
// row leaves -- built by hand on the pages, then removed by the writer before it first changes
// the table; checked through the engine and through mdb-export.
#include <algorithm>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "jet/Creator.h"
#include "jet/page/DataPageEditor.h"
#include "jet/page/PageFormatWriter.h"
#include "jet/file/FormatLayout.h"
#include "jet/OpenDatabase.h"
#include "jet/recovery/OrphanCopyFinder.h"
#include "jet/schema/TableDefinitionReader.h"
#include "jet/usagemap/UsageMap.h"
#include "tests/jet/write/PagesOfFile.h"

namespace Jet {
namespace {

using Main::Value;
using Testing::OpenForWriting;
using Testing::RefusalNumber;

constexpr size_t kRows = 150;
constexpr size_t kGrownRows = 40;
constexpr size_t kNameColumn = 1;

using Place = std::pair<uint32_t, uint16_t>;  // a row pointer's page and slot, to compare and sort

Place PlaceOf(RowPointer where) { return {where.page, where.slot}; }

std::u16string Name(size_t row, size_t length) {
  std::u16string text = Main::FromUtf8("Person " + std::to_string(row) + " ");
  text.resize(length, u'.');
  return text;
}

// A table of kRows rows, the first kGrownRows of them grown by the writer so that some moved.
std::filesystem::path MakeFile(FileFormat format) {
  const auto file = Testing::ScratchDir() / (format == FileFormat::Jet4 ? "orphans.mdb" : "orphans.accdb");
  auto creator = CreateDatabase(file, format);
  creator.AddTable({u"People", {{u"Id", FieldType::LongInteger}, {u"Name", FieldType::Text, 50}}});
  creator.InsertGenerated(u"People", kRows, [](size_t n, Row& row) {
    row.assign({Value::Integer(static_cast<int64_t>(n)), Value::Text(Name(n, 30))});
  });
  creator.Close();
  auto database = OpenForWriting(file);
  const auto table = database->Table(u"People");
  std::vector<RowId> ids;
  for (auto cursor = database->Scan(table); cursor->Next();) ids.push_back(cursor->Id());
  for (size_t n = 0; n < kGrownRows; ++n) database->UpdateText(*table, ids[n], kNameColumn, Name(n, 50));
  database->Close();
  return file;
}

// The table's rows as the engine scans them: identity and name, in scan order.
std::vector<std::pair<RowId, std::u16string>> EngineRows(const std::filesystem::path& file) {
  auto database = Database::Open(file);
  std::vector<std::pair<RowId, std::u16string>> rows;
  for (auto cursor = database->Scan(database->Table(u"People")); cursor->Next();)
    rows.emplace_back(cursor->Id(), cursor->Get(kNameColumn).AsText());
  return rows;
}

// mdb-export's records as sorted (Id, Name) pairs, without the header.
std::vector<std::pair<std::string, std::string>> ExportedRows(const std::filesystem::path& file) {
  std::vector<std::pair<std::string, std::string>> rows;
  const auto records = Oracle::MdbExport(file, "People");
  for (size_t r = 1; r < records.size(); ++r) rows.emplace_back(records[r].at(0).text, records[r].at(1).text);
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::vector<std::pair<std::string, std::string>> Expected(const std::vector<std::u16string>& names) {
  std::vector<std::pair<std::string, std::string>> rows;
  for (size_t n = 0; n < names.size(); ++n) rows.emplace_back(std::to_string(n), Testing::Utf8(names[n]));
  std::sort(rows.begin(), rows.end());
  return rows;
}

// The file opened below the engine's public face, to lay out on its pages what a killed writer
// leaves behind.
class PageSurgeon : public Testing::OpenedPages {
 public:
  PageSurgeon(const std::filesystem::path& path, FileFormat format, uint32_t definitionPage)
      : OpenedPages(path, format, definitionPage, u"People") {}

  bool Moved(RowId home) const { return DataPage(pages_.Read(home.page), layout_).Slot(home.slot).moved; }
  // Where the row whose identity is `home` keeps its bytes.
  RowPointer BytesOf(RowId home) const {
    const DataPage page(pages_.Read(home.page), layout_);
    const RowSlot slot = page.Slot(home.slot);
    return slot.moved ? ReadRowPointer(page.RowBytes(slot), 0) : RowPointer{home.page, home.slot};
  }
  std::vector<uint8_t> Row(RowPointer where) const { return DataPageEditor(pages_.Read(where.page), layout_).Row(where.slot); }
  uint16_t FreeSpace(uint32_t page) const { return ReadU16(pages_.Read(page).Bytes(), 2); }

  // Writes `row` as the writer writes a moved row's new home -- flagged deleted -- on a page of the
  // table with room, or on a new page of the table (listed in its maps) when `newPage`.
  RowPointer AddCopy(std::vector<uint8_t> row, bool newPage) {
    if (newPage) {
      DataPageEditor editor = DataPageEditor::Empty(layout_, table_->definition->definitionPage, false);
      const uint16_t slot = editor.AddRow(std::move(row), RowFlag::kDeleted);
      const uint32_t number = allocator_.AllocateFor(editor.Build(), table_->ownedPages, table_->freeSpacePages);
      return RowPointer{number, slot};
    }
    UsageMapCursor owned(pages_, layout_, table_->ownedPages);
    for (uint32_t number = 0; owned.Next(number);) {
      DataPageEditor editor(pages_.Read(number), layout_);
      if (!editor.FitsNewRow(row.size())) continue;
      const uint16_t slot = editor.AddRow(std::move(row), RowFlag::kDeleted);
      writer_.Write(number, editor.Build());
      return RowPointer{number, slot};
    }
    throw std::runtime_error("no page of the table has room");
  }
  // Switches the row's slot to point to `target`, as the writer's move does.
  void PointTo(RowId home, RowPointer target) {
    DataPageEditor editor(pages_.Read(home.page), layout_);
    editor.SetRow(home.slot, RowPointerBytes(target), RowFlag::kMoved);
    writer_.Write(home.page, editor.Build());
  }
};

uint32_t DefinitionPage(const std::filesystem::path& file) { return Database::Open(file)->Table(u"People")->definitionPage; }

std::vector<RowId> Ids(const std::vector<std::pair<RowId, std::u16string>>& rows) {
  std::vector<RowId> ids;
  for (const auto& row : rows) ids.push_back(row.first);
  return ids;
}

TEST(OrphanCopies, TheFirstChangeOfATableRemovesEveryCopyNoPointerNamesAndKeepsEveryRow) {
  QUORVANE_REQUIRE_MDBTOOLS();
  for (const FileFormat format : {FileFormat::Jet4, FileFormat::Ace12}) {
    SCOPED_TRACE(Testing::Utf8(FormatName(format)));
    const auto file = MakeFile(format);
    const auto before = EngineRows(file);
    ASSERT_EQ(before.size(), kRows);
    const std::vector<RowId> ids = Ids(before);
    std::vector<std::u16string> names;
    for (const auto& row : before) names.push_back(row.second);
    ASSERT_EQ(ExportedRows(file), Expected(names));

    // Each way a killed move leaves a copy behind.
    std::set<Place> orphans;
    std::map<uint32_t, uint16_t> freeSpaceBefore;
    {
      PageSurgeon surgeon(file, format, DefinitionPage(file));
      std::vector<RowId> moved;
      for (size_t n = 0; n < kGrownRows; ++n)
        if (surgeon.Moved(ids[n])) moved.push_back(ids[n]);
      ASSERT_GE(moved.size(), 2u) << "the grown rows should have moved";
      // A row's first move, cut short before its slot pointed to the copy: on a page with room ...
      orphans.insert(PlaceOf(surgeon.AddCopy(surgeon.Row(surgeon.BytesOf(ids[100])), false)));
      // ... and on a page added for it.
      orphans.insert(PlaceOf(surgeon.AddCopy(surgeon.Row(surgeon.BytesOf(ids[101])), true)));
      // A moved row moved again, cut short before its slot pointed to the new copy.
      orphans.insert(PlaceOf(surgeon.AddCopy(surgeon.Row(surgeon.BytesOf(moved[0])), false)));
      // A moved row moved again, cut short after its slot pointed to the new copy but before the
      // old one was emptied: the new copy is the row, the old one the orphan.
      const RowPointer oldHome = surgeon.BytesOf(moved[1]);
      surgeon.PointTo(moved[1], surgeon.AddCopy(surgeon.Row(oldHome), false));
      orphans.insert(PlaceOf(oldHome));
      ASSERT_EQ(orphans.size(), 4u);
      const std::vector<RowPointer> found = FindOrphanCopies(surgeon.Pages(), surgeon.Layout(), surgeon.Table());
      std::set<Place> foundPlaces;
      for (const RowPointer where : found) foundPlaces.insert(PlaceOf(where));
      EXPECT_EQ(foundPlaces, orphans);
      for (const auto& [page, slot] : orphans) freeSpaceBefore[page] = surgeon.FreeSpace(page);
    }
    // The defect as mdbtools shows it; the engine skips the copies.
    EXPECT_EQ(Oracle::MdbExport(file, "People").size(), 1 + kRows + orphans.size());
    EXPECT_EQ(EngineRows(file), before);

    // An update the writer refuses leaves the file as it was, copies and all.
    const auto withOrphans = Testing::ReadBytes(file);
    {
      auto database = OpenForWriting(file);
      const auto table = database->Table(u"People");
      EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, ids[7], kNameColumn, Name(7, 51)); }),
                JetErrorNumber::kFieldTooSmall);
    }
    EXPECT_EQ(Testing::ReadBytes(file), withOrphans);

    {
      auto database = OpenForWriting(file);
      const auto table = database->Table(u"People");
      names[7] = u"Changed";
      database->UpdateText(*table, ids[7], kNameColumn, names[7]);
      database->Close();
    }
    // Every row once, with its value, through both readers; nothing left to find.
    EXPECT_EQ(ExportedRows(file), Expected(names));
    const auto after = EngineRows(file);
    ASSERT_EQ(after.size(), kRows);
    for (size_t n = 0; n < kRows; ++n) {
      EXPECT_EQ(after[n].first, ids[n]) << n;
      EXPECT_EQ(after[n].second, names[n]) << n;
    }
    PageSurgeon surgeon(file, format, DefinitionPage(file));
    EXPECT_TRUE(FindOrphanCopies(surgeon.Pages(), surgeon.Layout(), surgeon.Table()).empty());
    // The copies' bytes are given back to their pages, and those pages are offered for new rows.
    for (const auto& [page, freeBefore] : freeSpaceBefore) {
      EXPECT_GT(surgeon.FreeSpace(page), freeBefore) << PageText(page);
      UsageMapCursor withRoom(surgeon.Pages(), surgeon.Layout(), surgeon.Table().freeSpacePages);
      bool listed = false;
      for (uint32_t number = 0; withRoom.Next(number) && !listed;) listed = number == page;
      EXPECT_TRUE(listed) << PageText(page);
    }
  }
}

TEST(OrphanCopies, AccessFilesHoldNoneTheirMovedRowsAllReferenced) {
  QUORVANE_REQUIRE_CORPUS();
  size_t tables = 0;
  for (const auto& path : Testing::CorpusFiles()) {
    SCOPED_TRACE(path.filename().string());
    std::unique_ptr<Database> database;
    try {
      database = Database::Open(path);
    } catch (const JetError&) {
      continue;  // encrypted or password-protected: not the writer's business here
    }
    const auto& open = dynamic_cast<const OpenDatabase&>(*database);
    for (const CatalogEntry& entry : database->TablesRowset()) {
      if (entry.type != u"TABLE" && entry.type != u"SYSTEM TABLE") continue;
      const auto layout = open.Layout(database->Table(entry.name)->definitionPage, entry.name);
      EXPECT_TRUE(FindOrphanCopies(open.Pages(), open.Format(), *layout).empty()) << Testing::Utf8(entry.name);
      ++tables;
    }
  }
  EXPECT_GT(tables, 100u);
}

TEST(OrphanCopies, APointerThatLeavesTheTableRefusesEveryChangeWithNothingWritten) {
  for (const bool foreignPage : {true, false}) {
    SCOPED_TRACE(foreignPage ? "a page outside the table" : "a slot the page lacks");
    const auto file = MakeFile(FileFormat::Jet4);
    const std::vector<RowId> ids = Ids(EngineRows(file));
    {
      PageSurgeon surgeon(file, FileFormat::Jet4, DefinitionPage(file));
      // Page 2 holds the catalogue's definition; a slot far past any page's last.
      surgeon.PointTo(ids[3], foreignPage ? RowPointer{2, 0} : RowPointer{ids[3].page, 250});
    }
    const auto damaged = Testing::ReadBytes(file);
    auto database = OpenForWriting(file);
    const auto table = database->Table(u"People");
    std::u16string message;
    EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, ids[60], kNameColumn, u"x"); }, &message),
              JetErrorNumber::kCorrupt);
    EXPECT_NE(message.find(Main::FromUtf8(PageText(ids[3].page))), std::u16string::npos) << Testing::Utf8(message);
    database->Close();
    EXPECT_EQ(Testing::ReadBytes(file), damaged);
  }
}

}  // namespace
}  // namespace Jet
