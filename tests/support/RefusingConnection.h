#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "database/access/Connection.h"
#include "jet/Database.h"
#include "jet/JetError.h"

// A stand-in provider for the tests of the run: the engine, refusing chosen rows for a reason of
// their own, as the engine refuses a row it has no room for.
namespace Testing {

// The engine, except that it refuses to store a row whose field holds `refused`, as it refuses a
// row it has no page for: the number 3251 of a field it cannot change, the cause of one record.
class RefusingDatabase : public Jet::Database {
 public:
  RefusingDatabase(std::shared_ptr<Jet::Database> engine, std::u16string refused)
      : engine_(std::move(engine)), refused_(std::move(refused)) {}

  const Jet::DatabaseInfo& Info() const override { return engine_->Info(); }
  std::vector<Jet::CatalogEntry> TablesRowset() const override { return engine_->TablesRowset(); }
  std::shared_ptr<const Jet::TableDefinition> Table(std::u16string_view name) const override {
    return engine_->Table(name);
  }
  std::unique_ptr<Jet::RowCursor> Scan(std::shared_ptr<const Jet::TableDefinition> table) const override {
    return engine_->Scan(std::move(table));
  }
  std::vector<Main::Value> ReadRow(const Jet::TableDefinition& table, Jet::RowId id) const override {
    return engine_->ReadRow(table, id);
  }
  bool IsWritable() const override { return engine_->IsWritable(); }
  void UpdateValue(const Jet::TableDefinition& table, Jet::RowId row, size_t column, const Main::Value& value) override {
    RefuseMarkedRow(table, row, column);
    engine_->UpdateValue(table, row, column, value);
  }
  void UpdateText(const Jet::TableDefinition& table, Jet::RowId row, size_t column, std::u16string_view text) override {
    RefuseMarkedRow(table, row, column);
    engine_->UpdateText(table, row, column, text);
  }
  void CheckText(const Jet::TableDefinition& table, size_t column, std::u16string_view text) const override {
    engine_->CheckText(table, column, text);
  }
  void Flush() override { engine_->Flush(); }
  void Close() override { engine_->Close(); }

 private:
  void RefuseMarkedRow(const Jet::TableDefinition& table, Jet::RowId row, size_t column) const {
    if (engine_->ReadRow(table, row).at(column) != Main::Value::Text(refused_)) return;
    throw Jet::JetError(Jet::JetErrorNumber::kNotSupported,
                        "The database is too large for its usage maps to record another page; nothing was written.",
                        Main::ErrorCause::kRecordStorage);
  }

  std::shared_ptr<Jet::Database> engine_;
  std::u16string refused_;
};

// A connection whose database refuses the rows that hold `refused` (install it with
// Access::InstallConnectionFactory).
class RefusingConnection : public Access::Connection {
 public:
  explicit RefusingConnection(std::u16string refused) : refused_(std::move(refused)) {}

 protected:
  std::shared_ptr<Jet::Database> OpenFile(const std::filesystem::path& file, const Jet::OpenOptions& options) override {
    return std::make_shared<RefusingDatabase>(Access::Connection::OpenFile(file, options), refused_);
  }

 private:
  std::u16string refused_;
};

}  // namespace Testing
