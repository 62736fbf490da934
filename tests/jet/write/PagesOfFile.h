#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "jet/Creator.h"
#include "jet/file/FormatLayout.h"
#include "jet/file/PageWriter.h"
#include "jet/schema/TableDefinitionReader.h"
#include "jet/usagemap/PageAllocator.h"
#include "tests/jet/write/WriterFixture.h"

namespace Jet::Testing {

// A file opened below the engine's public face: its pages, a writer, a page allocator and the
// layout of one of its tables. Pages reach the file when this object goes.
class OpenedPages {
 public:
  OpenedPages(const std::filesystem::path& path, FileFormat format, uint32_t definitionPage, std::u16string_view table)
      : file_(path),
        bytes_(ReadBytes(path)),
        layout_(LayoutOf(format)),
        pages_(bytes_, layout_.pageSize),
        writer_(file_, pages_),
        allocator_(writer_, layout_),
        table_(ReadTableDefinition(pages_, layout_, TextCodec(), definitionPage, std::u16string(table))) {}

  const FormatLayout& Layout() const { return layout_; }
  const PageFile& Pages() const { return pages_; }
  PageWriter& Writer() { return writer_; }
  PageAllocator& Allocator() { return allocator_; }
  const TableLayout& Table() const { return *table_; }

 protected:
  WritableFile file_;
  std::vector<uint8_t> bytes_;
  const FormatLayout& layout_;
  PageFile pages_;
  PageWriter writer_;
  PageAllocator allocator_;
  std::shared_ptr<const TableLayout> table_;
};

// A new Jet4 file with one table "Notes" (Id, Note as Memo) of `rows` rows, opened as above.
class PagesOfFile : public OpenedPages {
 public:
  PagesOfFile(const std::string& name, size_t rows) : PagesOfFile(Made(name, rows)) {}

 private:
  explicit PagesOfFile(const std::filesystem::path& made)
      : OpenedPages(made, FileFormat::Jet4, Database::Open(made)->Table(u"Notes")->definitionPage, u"Notes") {}

  static std::filesystem::path Made(const std::string& name, size_t rows) {
    const auto path = ScratchDir() / name;
    auto creator = CreateDatabase(path, FileFormat::Jet4);
    creator.AddTable({u"Notes", {{u"Id", FieldType::LongInteger}, {u"Note", FieldType::Memo}}});
    creator.InsertGenerated(u"Notes", rows, [](size_t n, Row& row) {
      row.assign({Main::Value::Integer(static_cast<int64_t>(n)), Main::Value::Text(u"note")});
    });
    creator.Close();
    return path;
  }
};

}  // namespace Jet::Testing
