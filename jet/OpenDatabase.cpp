#include "jet/OpenDatabase.h"

#include <algorithm>

#include "common/Text.h"
#include "jet/text/CaseFold.h"
#include "jet/base/Failure.h"
#include "jet/file/PageCodecChoice.h"
#include "jet/catalog/DesignerFacts.h"
#include "jet/row/ValueEncoder.h"
#include "jet/schema/TableDefinitionReader.h"
#include "jet/row/TextToValue.h"
#include "jet/write/ColumnPolicy.h"

namespace Jet {
namespace {

constexpr uint32_t kCatalogDefinitionPage = 2;
// The header, the global usage map and the catalogue's definition come first in every file.
constexpr uint32_t kMinimumPages = 3;

Header ReadHeaderOf(const FileMapping& file, const std::filesystem::path& path) {
  return ReadHeader(file.Bytes(), path.string());
}

// The header's password as text: Jet3 in the database's code page, later versions UCS-2.
std::u16string PasswordText(const Header& header) {
  if (header.info.format == FileFormat::Jet3)
    return TextCodec(header.info.codePage).Decode(header.storedPassword);
  std::u16string text;
  AppendUcs2(header.storedPassword, text);
  return text;
}

// Refuses a given password that does not match the one the header holds; a password given for a
// file without one is accepted. An .accdb file keeps none there (its encryption checks it).
void CheckPassword(const Header& header, std::u16string_view given) {
  if (header.storedPassword.empty() || PasswordText(header) == given) return;
  ThrowNotValidPassword();
}

std::unique_ptr<WritableFile> OpenForWriting(const std::filesystem::path& file, const OpenOptions& options) {
  return options.readWrite ? std::make_unique<WritableFile>(file) : nullptr;
}

}  // namespace

OpenDatabase::OpenDatabase(const std::filesystem::path& file, const OpenOptions& options)
    : writable_(OpenForWriting(file, options)), file_(file), header_(ReadHeaderOf(file_, file)), layout_(&LayoutOf(header_.info.format)) {
  // For an encrypted .accdb file the codec's key check is the password check.
  std::shared_ptr<const PageCodec> pageCodec = ChoosePageCodec(header_, file_.Bytes(), options.password, file.string());
  // Access writes whole pages only: anything else is a cut-off copy.
  const size_t size = file_.Bytes().size();
  if (size % header_.info.pageSize != 0 || size / header_.info.pageSize < kMinimumPages)
    ThrowUnrecognizedFormat(file.string());
  CheckPassword(header_, options.password);
  pages_.emplace(file_.Bytes(), header_.info.pageSize, std::move(pageCodec));
  header_.info.pageCount = pages_->PageCount();
  if (header_.info.format == FileFormat::Jet3) codec_ = TextCodec(header_.info.codePage);
  catalog_ = Catalog::Read(Context(), Layout(kCatalogDefinitionPage, u"MSysObjects"));
  if (writable_) {
    writer_ = std::make_unique<PageWriter>(*writable_, *pages_);
    updater_ = std::make_unique<RowUpdater>(*writer_, *layout_, header_.info.codePage, [this](uint32_t page) {
      const CatalogObject* table = catalog_.FindTableAt(page);
      return Layout(page, table != nullptr ? table->name : std::u16string());
    });
  }
}

void OpenDatabase::UpdateValue(const TableDefinition& table, RowId row, size_t column, const Main::Value& value) {
  if (!updater_) ThrowReadOnly();
  updater_->Update(*Layout(table.definitionPage, table.name), row, column, value);
}

void OpenDatabase::UpdateText(const TableDefinition& table, RowId row, size_t column, std::u16string_view text) {
  if (!updater_) ThrowReadOnly();
  if (column >= table.columns.size())
    ThrowNoSuchColumn();
  // A field that cannot change is refused as such before its text is converted.
  CheckColumnWritable(table, column, *layout_);
  UpdateValue(table, row, column, ConvertText(table.columns[column], text));
}

void OpenDatabase::CheckText(const TableDefinition& table, size_t column, std::u16string_view text) const {
  if (column >= table.columns.size())
    ThrowNoSuchColumn();
  CheckColumnWritable(table, column, *layout_);
  const Column& target = table.columns[column];
  const std::shared_ptr<const TableLayout> layout = Layout(table.definitionPage, table.name);
  const ValueEncoder values = layout_->jet3 ? ValueEncoder(header_.info.codePage) : ValueEncoder();
  // Text for a Text or Memo field is the value itself: checked without making it one.
  if (target.type == ColumnType::Text || target.type == ColumnType::Memo)
    values.EncodeText(target, layout->columns[column], text);
  else
    values.Encode(target, layout->columns[column], ConvertText(target, text));
}

std::u16string OpenDatabase::WriteRefusal() const {
  if (updater_ == nullptr) return {};
  return Main::FromUtf8(pages_->Codec().WriteRefusal());
}

void OpenDatabase::Flush() {
  if (writer_) writer_->Flush();
  if (writable_) writable_->Sync();
}

void OpenDatabase::Close() {
  if (writer_) writer_->Flush();
  updater_.reset();
  writer_.reset();
  if (writable_) writable_->Close();
}

std::shared_ptr<const TableLayout> OpenDatabase::Layout(uint32_t definitionPage,
                                                        std::u16string_view name) const {
  if (const auto found = layouts_.find(definitionPage); found != layouts_.end()) return found->second;
  auto layout = WithDesignerFactsOf(
      ReadTableDefinition(*pages_, *layout_, codec_, definitionPage, std::u16string(name)));
  layouts_.emplace(definitionPage, layout);
  return layout;
}

std::shared_ptr<const TableLayout> OpenDatabase::WithDesignerFactsOf(
    std::shared_ptr<const TableLayout> layout) const {
  const CatalogObject* table = catalog_.FindTableAt(layout->definition->definitionPage);
  const std::vector<Column>& columns = layout->definition->columns;
  const bool hasComplexColumns = std::any_of(columns.begin(), columns.end(),
                                             [](const Column& column) { return column.type == ColumnType::Complex; });
  const bool hasCalculatedColumns =
      std::any_of(columns.begin(), columns.end(), [](const Column& column) { return column.calculated; });
  if ((table == nullptr || table->properties.empty()) && !hasComplexColumns && !hasCalculatedColumns) return layout;
  static const ComplexKinds kNoComplexKinds;
  const std::vector<PropertyBlock> properties =
      table == nullptr ? std::vector<PropertyBlock>{} : ReadPropertyBlob(table->properties, codec_);
  return WithDesignerFacts(*layout, properties,
                           hasComplexColumns ? ComplexKindsOfDatabase() : kNoComplexKinds);
}

const ComplexKinds& OpenDatabase::ComplexKindsOfDatabase() const {
  if (complexKinds_) return *complexKinds_;
  complexKinds_.emplace();
  if (const CatalogObject* table = catalog_.FindTable(u"MSysComplexColumns")) {
    try {
      *complexKinds_ =
          ReadComplexKinds(Context(), Layout(Catalog::DefinitionPageOf(*table), table->name), catalog_);
    } catch (const JetError& error) {
      if (error.Number() != JetErrorNumber::kCorrupt) throw;
    }
  }
  return *complexKinds_;
}

std::shared_ptr<const TableDefinition> OpenDatabase::Table(std::u16string_view name) const {
  const CatalogObject* table = catalog_.FindTable(name);
  if (table == nullptr) ThrowNoSuchTable(name);
  return Layout(Catalog::DefinitionPageOf(*table), table->name)->definition;
}

std::unique_ptr<RowCursor> OpenDatabase::Scan(std::shared_ptr<const TableDefinition> table) const {
  return std::make_unique<TableScan>(Context(), Layout(table->definitionPage, table->name));
}

LocatedRow OpenDatabase::FindRow(const TableDefinition& table, RowId id) const {
  LocatedRow row = RowLocator(*pages_, *layout_, table.definitionPage).Locate(RowPointer{id.page, id.slot});
  if (row.deleted) ThrowRecordDeleted();
  return row;
}

std::vector<Main::Value> OpenDatabase::ReadRow(const TableDefinition& table, RowId id) const {
  const std::shared_ptr<const TableLayout> layout = Layout(table.definitionPage, table.name);
  const LocatedRow row = FindRow(table, id);  // holds the row's page while its cells are read
  std::vector<Cell> cells;
  RowDecoder(*layout_, *layout).Split(row.bytes, cells);
  const ValueReader values(*pages_, *layout_, codec_);
  std::vector<Main::Value> result;
  result.reserve(cells.size());
  for (size_t n = 0; n < cells.size(); ++n) result.push_back(values.Read(layout->definition->columns[n], cells[n]));
  return result;
}

Main::Value OpenDatabase::ReadValue(const TableDefinition& table, RowId id, size_t column) const {
  ValueReading& reading = reading_;
  if (!reading.layout || reading.layout->definition->definitionPage != table.definitionPage) {
    reading.decoder.reset();
    reading.layout = Layout(table.definitionPage, table.name);
    reading.decoder.emplace(*layout_, *reading.layout);
  }
  const LocatedRow row = FindRow(table, id);  // holds the row's page while its cell is read
  reading.decoder->Split(row.bytes, reading.cells);
  if (column >= reading.cells.size()) ThrowNoSuchColumn();
  return ValueReader(*pages_, *layout_, codec_).Read(reading.layout->definition->columns[column], reading.cells[column]);
}

}  // namespace Jet
