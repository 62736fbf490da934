#pragma once

#include <map>
#include <memory>
#include <optional>

#include "jet/Database.h"
#include "jet/catalog/Catalog.h"
#include "jet/catalog/ComplexColumns.h"
#include "jet/file/FileMapping.h"
#include "jet/file/Header.h"
#include "jet/file/PageWriter.h"
#include "jet/write/RowUpdater.h"
#include "jet/schema/TableLayout.h"
#include "jet/file/WritableFile.h"

// The engine's Database: one open file with its header, pages, catalogue and the table layouts
// read so far. Other parts of the engine (the writer) reach the layouts through it.
namespace Jet {

class OpenDatabase : public Database {
 public:
  OpenDatabase(const std::filesystem::path& file, const OpenOptions& options);

  const DatabaseInfo& Info() const override { return header_.info; }
  std::vector<CatalogEntry> TablesRowset() const override { return catalog_.TablesRowset(); }
  std::shared_ptr<const TableDefinition> Table(std::u16string_view name) const override;
  std::unique_ptr<RowCursor> Scan(std::shared_ptr<const TableDefinition> table) const override;
  std::vector<Main::Value> ReadRow(const TableDefinition& table, RowId id) const override;
  Main::Value ReadValue(const TableDefinition& table, RowId id, size_t column) const override;

  // Opened for writing, and the pages' codec takes writes.
  bool IsWritable() const override { return updater_ != nullptr && pages_->Codec().WriteRefusal().empty(); }
  std::u16string WriteRefusal() const override;
  void UpdateValue(const TableDefinition& table, RowId row, size_t column, const Main::Value& value) override;
  void UpdateText(const TableDefinition& table, RowId row, size_t column, std::u16string_view text) override;
  void CheckText(const TableDefinition& table, size_t column, std::u16string_view text) const override;
  void Flush() override;
  void Close() override;

  // The layout of the table whose definition starts at this page (read once, then kept).
  std::shared_ptr<const TableLayout> Layout(uint32_t definitionPage,
                                            std::u16string_view name = {}) const;
  const PageFile& Pages() const { return *pages_; }
  const FormatLayout& Format() const { return *layout_; }

 private:
  ScanContext Context() const { return ScanContext{*pages_, *layout_, codec_}; }
  // The row with this identity, found through its moves; throws for a deleted one.
  LocatedRow FindRow(const TableDefinition& table, RowId id) const;
  // The layout with the Required property and complex kinds of its columns (DesignerFacts.h).
  std::shared_ptr<const TableLayout> WithDesignerFactsOf(std::shared_ptr<const TableLayout> layout) const;
  // The kinds of the database's complex columns (read once); none where MSysComplexColumns is
  // missing or damaged.
  const ComplexKinds& ComplexKindsOfDatabase() const;

  std::unique_ptr<WritableFile> writable_;  // first: the lock comes before any read
  FileMapping file_;
  Header header_;
  const FormatLayout* layout_;
  std::optional<PageFile> pages_;
  TextCodec codec_;
  mutable std::map<uint32_t, std::shared_ptr<const TableLayout>> layouts_;
  mutable std::optional<ComplexKinds> complexKinds_;
  // The table ReadValue read last, with its decoder and cells kept for the next call.
  struct ValueReading {
    std::shared_ptr<const TableLayout> layout;
    std::optional<RowDecoder> decoder;
    std::vector<Cell> cells;
  };
  mutable ValueReading reading_;
  Catalog catalog_;
  std::unique_ptr<PageWriter> writer_;
  std::unique_ptr<RowUpdater> updater_;
};

}  // namespace Jet
