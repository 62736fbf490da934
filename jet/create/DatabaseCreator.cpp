#include <chrono>
#include <optional>
#include <set>
#include <utility>

#include "jet/text/CaseFold.h"
#include "jet/Creator.h"
#include "jet/base/Failure.h"
#include "jet/create/CalculatedColumns.h"
#include "jet/create/ColumnPlan.h"
#include "jet/create/IndexPlan.h"
#include "jet/crypto/NewAgileEncryption.h"
#include "jet/file/HeaderWriter.h"
#include "jet/file/PageFile.h"
#include "jet/file/PageSet.h"
#include "jet/page/RowPage.h"
#include "jet/create/SystemTables.h"
#include "jet/create/TableWriter.h"
#include "jet/usagemap/UsageMapWriter.h"

// A new file's pages: 0 the header, 1 the global usage map, 2 the definition of MSysObjects (where
// every reader looks for it), then the other system tables' definitions; after them whatever the
// tables need, in the order it is needed. Usage maps of tables are filled in on closing.
namespace Jet {
namespace {

constexpr uint32_t kCatalogDefinitionPage = 2;
constexpr double kUnixEpochAsOleDate = 25569.0;

double Now() {
  const auto since = std::chrono::system_clock::now().time_since_epoch();
  return kUnixEpochAsOleDate + std::chrono::duration<double>(since).count() / 86400.0;
}

}  // namespace

class DatabaseCreator::Impl {
 public:
  Impl(const std::filesystem::path& file, FileFormat format, const CreateOptions& options)
      : file_(file), format_(format), created_(options.created != 0 ? options.created : Now()),
        pages_(LayoutOf(format).pageSize), maps_(pages_) {
    Create::WriteHeaderPage(pages_.Page(pages_.Allocate()), format, options.password, created_,
                            Encrypt(format, options));
    const uint32_t globalMapPage = pages_.Allocate();
    Create::StartDataPage(pages_.Page(globalMapPage), 0);
    globalMap_ = RowPointer{globalMapPage, Create::AddRow(pages_.Page(globalMapPage), kUsageMapRowSize)->slot};

    objects_ = AddSystemTable(u"MSysObjects", Create::MSysObjectsColumns());
    if (objects_->DefinitionPage() != kCatalogDefinitionPage)
      ThrowInternalFault("MSysObjects must be defined on page 2.");
    for (const Row& row : Create::ContainerObjectRows(created_)) objects_->Append(row);
    AddSystemTable(u"MSysACEs", Create::MSysACEsColumns());
    queries_ = AddSystemTable(u"MSysQueries", Create::MSysQueriesColumns());
    AddSystemTable(u"MSysRelationships", Create::MSysRelationshipsColumns());
  }

  void AddTable(const TableSpec& wanted) {
    std::vector<Create::ColumnSpec> columns;
    for (const FieldSpec& field : wanted.fields) {
      if (field.type == FieldType::DateTimeExtended && format_ != FileFormat::Ace17)
        ThrowNotSupported(u"The Date/Time Extended field '" + field.name +
                          u"' needs a database of the ACE17 format (Access 2019 and later).");
      if (field.type == FieldType::LargeNumber && format_ < FileFormat::Ace16)
        ThrowNotSupported(u"The Large Number field '" + field.name +
                          u"' needs a database of the ACE16 format (Access 2016) or later.");
      if (field.calculated && format_ < FileFormat::Ace14)
        ThrowNotSupported(u"The calculated field '" + field.name +
                          u"' needs a database of the ACE14 format (Access 2010) or later.");
      columns.push_back(Create::ColumnOf(field));
    }
    auto table = Create::PlanTable(wanted.name, columns, Create::kUserTableType);
    Create::PlanIndexes(*table, wanted.indexes);
    // Claimed once nothing else can refuse the table.
    ClaimName(wanted.name);
    auto writer = std::make_unique<Create::TableWriter>(pages_, maps_, std::move(table));
    objects_->Append(Create::TableObjectRow(wanted.name, writer->DefinitionPage(), false, created_,
                                            Create::CalculatedProperties(wanted.fields, writer->Definition())));
    tables_.push_back(std::move(writer));
  }

  Create::TableWriter& UserTable(std::u16string_view name) {
    for (const auto& table : tables_)
      if (systemTables_.count(table.get()) == 0 && EqualIgnoringCase(table->Definition().name, name))
        return *table;
    ThrowNoSuchTable(name);
  }

  void AddSelectQuery(const SelectQuerySpec& query) {
    ClaimName(query.name);
    const int32_t id = nextObjectId_++;
    for (const Row& row : Create::SelectQueryRows(query, id)) queries_->Append(row);
    objects_->Append(Create::QueryObjectRow(query.name, id, created_));
  }

  void AddLinkedTable(const LinkedTableSpec& link) {
    ClaimName(link.name);
    objects_->Append(Create::LinkedTableObjectRow(link, nextObjectId_++, created_));
  }

  void Close() {
    BuildIndexes();
    for (const auto& table : tables_) table->Finish();
    maps_.WriteGlobal(globalMap_);
    pages_.WriteFile(file_, *codec_);
  }

 private:
  Create::TableWriter* AddSystemTable(std::u16string name, const std::vector<Create::ColumnSpec>& columns) {
    names_.push_back(name);
    auto writer = std::make_unique<Create::TableWriter>(pages_, maps_,
                                                        Create::PlanTable(name, columns, Create::kSystemTableType));
    Create::TableWriter* table = writer.get();
    tables_.push_back(std::move(writer));
    // The first system table is MSysObjects, which lists itself too.
    if (objects_ == nullptr) objects_ = table;
    objects_->Append(Create::TableObjectRow(name, table->DefinitionPage(), true, created_));
    systemTables_.insert(table);
    return table;
  }

  // Indexes are built from the rows as the pages hold them once every row is in; their keys read
  // long values through a page file over a copy of the pages so far.
  void BuildIndexes() {
    std::vector<uint8_t> copy;
    std::optional<PageFile> rows;
    for (const auto& table : tables_) {
      if (!table->HasIndexes()) continue;
      if (!rows) {
        for (uint32_t n = 0; n < pages_.Count(); ++n) {
          const auto page = std::as_const(pages_).Page(n);
          copy.insert(copy.end(), page.begin(), page.end());
        }
        rows.emplace(ByteSpan(copy), pages_.PageSize());
      }
      table->BuildIndexes(*rows, LayoutOf(format_));
    }
  }

  // An .accdb file with a password is encrypted; the codec that will encrypt its pages is kept.
  Create::HeaderEncryption Encrypt(FileFormat format, const CreateOptions& options) {
    if (format == FileFormat::Jet4 || options.password.empty()) return {};
    static constexpr HashAlgorithm kHashes[] = {HashAlgorithm::Sha1, HashAlgorithm::Sha256, HashAlgorithm::Sha384,
                                                HashAlgorithm::Sha512};
    const EncryptionOptions& wanted = options.encryption;
    NewAgileEncryption made = MakeAgileEncryption(
        {wanted.keyBits, kHashes[static_cast<size_t>(wanted.hash)], wanted.spinCount}, options.password);
    codec_ = std::move(made.codec);
    return {made.databaseKey, std::move(made.info)};
  }

  void ClaimName(const std::u16string& name) {
    if (name.empty() || name.size() > 64)
      ThrowTypeMismatch(u"'" + name + u"' is not a valid name.");
    for (const std::u16string& taken : names_)
      if (EqualIgnoringCase(taken, name))
        ThrowObjectExists(name);
    names_.push_back(name);
  }

  std::filesystem::path file_;
  FileFormat format_;
  double created_;
  Create::PageSet pages_;
  std::shared_ptr<const PageCodec> codec_ = std::make_shared<PlainPageCodec>();
  Create::UsageMapRows maps_;
  RowPointer globalMap_;
  std::vector<std::unique_ptr<Create::TableWriter>> tables_;  // system tables first
  std::set<const Create::TableWriter*> systemTables_;
  Create::TableWriter* objects_ = nullptr;
  Create::TableWriter* queries_ = nullptr;
  std::vector<std::u16string> names_;
  int32_t nextObjectId_ = Create::kFirstQueryOrLinkId;
};

DatabaseCreator::DatabaseCreator(const std::filesystem::path& file, FileFormat format, const CreateOptions& options)
    : impl_(std::make_unique<Impl>(file, format, options)) {}

DatabaseCreator::DatabaseCreator(DatabaseCreator&&) noexcept = default;
DatabaseCreator& DatabaseCreator::operator=(DatabaseCreator&&) noexcept = default;

DatabaseCreator::~DatabaseCreator() {
  if (!impl_) return;
  try {
    Close();
  } catch (const std::exception&) {
    // A destructor cannot report it; callers who care call Close.
  }
}

DatabaseCreator::Impl& DatabaseCreator::Live() {
  if (!impl_) ThrowReadOnly("The new database has already been written.", Main::ErrorCause::kUnspecified);
  return *impl_;
}

void DatabaseCreator::AddTable(const TableSpec& table) { Live().AddTable(table); }

void DatabaseCreator::InsertRow(std::u16string_view table, const Row& row) { Live().UserTable(table).Append(row); }

void DatabaseCreator::InsertRows(std::u16string_view table, const std::vector<Row>& rows) {
  Create::TableWriter& writer = Live().UserTable(table);
  for (const Row& row : rows) writer.Append(row);
}

void DatabaseCreator::InsertGenerated(std::u16string_view table, size_t count,
                                      const std::function<void(size_t, Row&)>& fill) {
  Create::TableWriter& writer = Live().UserTable(table);
  Row row;
  for (size_t n = 0; n < count; ++n) {
    fill(n, row);
    writer.Append(row);
  }
}

void DatabaseCreator::AddSelectQuery(const SelectQuerySpec& query) { Live().AddSelectQuery(query); }

void DatabaseCreator::AddLinkedTable(const LinkedTableSpec& link) { Live().AddLinkedTable(link); }

void DatabaseCreator::Close() {
  // Once closing starts the creator is spent, whether or not the file could be written.
  Live();
  const std::unique_ptr<Impl> impl = std::move(impl_);
  impl->Close();
}

DatabaseCreator CreateDatabase(const std::filesystem::path& file, FileFormat format, const CreateOptions& options) {
  return DatabaseCreator(file, format, options);
}

}  // namespace Jet
