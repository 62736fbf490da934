// libFuzzer target for the engine's writer: a base file gets a few updates of Text, Memo and Null
// values through Database::UpdateText / UpdateValue. Each update must either
//  - be refused with a Main::Error and leave the file's bytes as they were before it, or
//  - succeed, and then a fresh read-only open reads every user table that read cleanly before,
//    with the same rows and the same values, but for the cell written, which reads back as given.
// Anything else (a crash, a sanitizer report, a leak, another exception) is a finding too.
//
// The input: the update script is read from the input's end (FuzzedDataProvider's integers).
// Its first byte picks the base file: below 0x80 the whole input is the file, so every seed of
// the reader's target is a base as it is; from 0x80 on, one of the bases loaded at start-up (two
// made here with the creator, then the corpus files of at most 160 KiB under $QUORVANE_CORPUS,
// default ../shared/corpus, in path order).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/Text.h"
#include "jet/Creator.h"
#include "jet/Database.h"
#include "jet/JetError.h"
#include "tests/jet/fuzz/FuzzFiles.h"

namespace {

// ---- Bases -------------------------------------------------------------------------------------

std::vector<std::vector<uint8_t>>& Bases() {
  static std::vector<std::vector<uint8_t>> bases;
  return bases;
}

std::u16string Repeat(std::u16string_view piece, size_t length) {
  std::u16string text;
  while (text.size() < length) text += piece;
  text.resize(length);
  return text;
}

std::u16string Digits(size_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

// A small database with the field types the cleaning run meets, Null and non-ASCII cells, Memo
// values inline and on long-value pages, and a table whose pages are nearly full (a row that grows
// there moves to another page).
std::vector<uint8_t> MakeBase(Jet::FileFormat format) {
  using Jet::FieldType;
  using Main::Value;
  JetFuzz::ScratchFile file("jet-fuzz-base");
  Jet::CreateOptions options;
  options.created = 45000;  // the same file every time
  Jet::DatabaseCreator creator = Jet::CreateDatabase(file.Path(), format, options);
  creator.AddTable({u"People",
                    {{u"Id", FieldType::AutoNumber},
                     {u"Name", FieldType::Text, 50},
                     {u"Code", FieldType::Text, 4},
                     {u"Notes", FieldType::Memo},
                     {u"Site", FieldType::Hyperlink},
                     {u"Age", FieldType::LongInteger},
                     {u"Active", FieldType::YesNo},
                     {u"Born", FieldType::DateTime}}});
  const std::u16string names[] = {u"O'Brien", u"Zoë Łódź", u"日本語", u"", u"Ab\u0100\u4E00"};
  creator.InsertGenerated(u"People", 24, [&](size_t n, Jet::Row& row) {
    const std::u16string notes[] = {u"", u"short note", Repeat(u"memo ", 1500), Repeat(u"ß€", 9000)};
    row = {Value::Null(),
           n % 7 == 6 ? Value::Null() : Value::Text(names[n % 5] + Digits(n)),
           n % 3 == 0 ? Value::Null() : Value::Text(u"C" + Digits(n % 1000)),
           n % 5 == 4 ? Value::Null() : Value::Text(notes[n % 4]),
           n % 2 == 0 ? Value::Null() : Value::Text(u"home#http://example.com/" + Digits(n) + u"#"),
           n % 4 == 3 ? Value::Null() : Value::Integer(static_cast<int64_t>(n) * 7 - 20),
           Value::Boolean(n % 2 == 1),
           Value::Date(Main::DateTime{30000.5 + static_cast<double>(n)})};
  });
  creator.AddTable({u"Wide",
                    {{u"A", FieldType::Text, 255}, {u"B", FieldType::Text, 255}, {u"C", FieldType::Text, 255}, {u"M", FieldType::Memo}}});
  creator.InsertGenerated(u"Wide", 20, [](size_t n, Jet::Row& row) {
    row = {Value::Text(Repeat(u"wide row ", 200 + n % 40)), Value::Text(Repeat(u"\u00e9t\u00e9 ", 150)),
           n % 3 == 0 ? Value::Null() : Value::Text(Repeat(u"\u4E2D", 60)), Value::Text(Repeat(u"m", 10 + n))};
  });
  creator.AddTable({u"Empty", {{u"T", FieldType::Text, 10}, {u"M", FieldType::Memo}}});
  creator.Close();
  return file.Read();
}

void LoadBases() {
  Bases().push_back(MakeBase(Jet::FileFormat::Jet4));
  Bases().push_back(MakeBase(Jet::FileFormat::Ace12));
  const char* corpus = std::getenv("QUORVANE_CORPUS");
  const std::filesystem::path folder = corpus != nullptr ? corpus : "../shared/corpus";
  std::error_code error;
  std::vector<std::filesystem::path> files;
  for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::filesystem::path& path = it->path();
    if (it->is_regular_file() && (path.extension() == ".mdb" || path.extension() == ".accdb") &&
        it->file_size() <= 160 * 1024)
      files.push_back(path);
  }
  std::sort(files.begin(), files.end());
  for (const std::filesystem::path& path : files) {
    JetFuzz::ScratchFile copy("jet-fuzz-load");
    std::filesystem::copy_file(path, copy.Path(), std::filesystem::copy_options::overwrite_existing);
    Bases().push_back(copy.Read());
  }
  std::fprintf(stderr, "UpdateFuzzer: %zu bases (2 made here, %zu from %s)\n", Bases().size(), files.size(),
               folder.c_str());
}

// ---- What a file reads -------------------------------------------------------------------------

using RowKey = std::pair<uint32_t, uint16_t>;
RowKey KeyOf(Jet::RowId id) { return {id.page, id.slot}; }

struct TableState {
  std::u16string name;
  bool clean = false;                  // every row and cell read without an error
  std::vector<Jet::RowId> order;       // the rows in scan order (up to an error)
  std::map<RowKey, std::vector<Main::Value>> rows;
};

// The user tables of the file, read-only. Throws Main::Error when the file does not open.
std::vector<TableState> ReadAll(const std::filesystem::path& path) {
  const std::unique_ptr<Jet::Database> database = Jet::Database::Open(path);
  std::vector<TableState> tables;
  for (const Jet::CatalogEntry& entry : database->TablesRowset()) {
    if (entry.type != u"TABLE") continue;
    TableState& table = tables.emplace_back();
    table.name = entry.name;
    try {
      JetFuzz::ScanTable(*database, entry.name, [&](Jet::RowId id, std::vector<Main::Value>&& values) {
        table.order.push_back(id);
        table.rows.emplace(KeyOf(id), std::move(values));
      });
      table.clean = true;
    } catch (const Main::Error&) {
      table.rows.clear();
    }
  }
  return tables;
}

// Equal values; a NaN equals a NaN of the same kind.
bool Same(const Main::Value& a, const Main::Value& b) {
  return a == b || (a.kind() == b.kind() && a.ToText() == b.ToText());
}

// ---- The update script -------------------------------------------------------------------------

struct Update {
  size_t table = 0;
  size_t column = 0;
  Jet::RowId row;
  bool listedRow = false;  // a row of the scan (not an identity made up from the input)
  bool null = false;
  bool asValue = false;  // through UpdateValue with a Text value rather than UpdateText
  std::u16string text;
};

const char* kKindNames[] = {"Null", "empty", "short", "near the field size", "over the field size",
                            "long", "Memo on long-value pages"};

char16_t Character(uint32_t random, uint8_t alphabet) {
  static const char16_t kLatin[] = {u'é', u'ñ', u'ü', u'ß', u'€', u'“', u'Ł', u'ő', u'a', u'Z', u' ', u'\''};
  static const char16_t kZeroLow[] = {0x0100, 0x0200, 0x4E00, 0x3000, 0xFF00, u'a', u'0'};
  switch (alphabet) {
    case 0: return static_cast<char16_t>(0x20 + random % 95);
    case 1: return kLatin[random % std::size(kLatin)];
    case 2: return kZeroLow[random % std::size(kZeroLow)];
    case 3: {
      const uint32_t pick = random % 3;
      if (pick == 0) return static_cast<char16_t>(0x0391 + (random >> 2) % 57);
      if (pick == 1) return static_cast<char16_t>(0x0410 + (random >> 2) % 64);
      return static_cast<char16_t>(0x4E00 + (random >> 2) % 0x5200);
    }
    default: return static_cast<char16_t>(random >> 8);  // anything, surrogate halves and U+0000 included
  }
}

// Text of `length` characters from one alphabet.
std::u16string MakeText(size_t length, uint8_t alphabet, uint32_t seed) {
  std::u16string text(length, u' ');
  uint32_t state = seed | 1;
  for (char16_t& c : text) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    c = Character(state, alphabet);
  }
  return text;
}

bool TakesText(const Jet::Column& column) {
  return column.type == Jet::ColumnType::Text || column.type == Jet::ColumnType::Memo;
}

// The value part of an update for this column, from the script.
void ChooseValue(FuzzedDataProvider& script, const Jet::Column& column, Update& update, int& kind) {
  const uint8_t kindByte = script.ConsumeIntegral<uint8_t>();
  const uint8_t alphabet = script.ConsumeIntegral<uint8_t>() % 5;
  const uint8_t lengthByte = script.ConsumeIntegral<uint8_t>();
  const uint32_t seed = script.ConsumeIntegral<uint32_t>();
  kind = TakesText(column) ? (kindByte & 0x7F) % 7 : 0;
  update.asValue = (kindByte & 0x80) != 0;
  const size_t field = column.maxCharacters != 0 ? column.maxCharacters : 255;
  size_t length = 0;
  switch (kind) {
    case 0: update.null = true; return;
    case 1: length = 0; break;
    case 2: length = 1 + lengthByte % 8; break;
    case 3: length = field - 1 + lengthByte % 3; break;
    case 4: length = field + 1 + lengthByte % 64; break;
    case 5: length = 1000 + size_t{lengthByte} * 16; break;
    default: length = 4000 + size_t{lengthByte} * 160; break;
  }
  update.text = MakeText(length, alphabet, seed);
}

// ---- The rule ----------------------------------------------------------------------------------

[[noreturn]] void Violation(const Update& update, int kind, const std::vector<TableState>& tables, const char* what) {
  const Jet::RowId row = update.row;
  std::fprintf(stderr,
               "UpdateFuzzer: %s\n  table '%s', column %zu, row (page %u, slot %u)%s, value %s (%zu characters) "
               "through %s\n",
               what, Main::ToUtf8(tables[update.table].name).c_str(), update.column, row.page, row.slot,
               update.listedRow ? "" : " made up from the input", kKindNames[kind], update.text.size(),
               update.asValue ? "UpdateValue" : "UpdateText");
  __builtin_trap();
}

// The cell as read back is the value written: the text exactly (a fixed-length Text field pads
// it with blanks), or Null.
bool ReadsBack(const Jet::Column& column, const Update& update, const Main::Value& read) {
  if (update.null) return read.IsNull();
  if (read.kind() != Main::Value::Kind::Text) return false;
  const std::u16string& text = read.AsText();
  if (text == update.text) return true;
  return column.type == Jet::ColumnType::Text && column.fixedLength && text.size() > update.text.size() &&
         text.compare(0, update.text.size(), update.text) == 0 &&
         text.find_first_not_of(u' ', update.text.size()) == std::u16string::npos;
}

// After a successful update: the tables that read cleanly before still do, with the same rows
// and values but for the written cell.
void CheckAfter(const std::vector<TableState>& before, const std::vector<TableState>& after, const Update& update,
                int kind, const Jet::Column& column) {
  if (after.size() != before.size()) Violation(update, kind, before, "the list of user tables changed");
  for (size_t n = 0; n < before.size(); ++n) {
    const TableState& old = before[n];
    const TableState& now = after[n];
    if (now.name != old.name) Violation(update, kind, before, "the list of user tables changed");
    if (!old.clean) continue;
    if (!now.clean) Violation(update, kind, before, "a table that read cleanly before no longer does");
    if (now.order != old.order) Violation(update, kind, before, "a table's rows (or their order) changed");
    for (const auto& [key, oldValues] : old.rows) {
      const std::vector<Main::Value>& values = now.rows.at(key);
      for (size_t c = 0; c < values.size(); ++c) {
        const bool written = n == update.table && key == KeyOf(update.row) && c == update.column;
        if (written) {
          if (!ReadsBack(column, update, values[c])) Violation(update, kind, before, "the written cell does not read back");
        } else if (!Same(values[c], oldValues[c])) {
          Violation(update, kind, before, "a cell that was not written changed");
        }
      }
    }
  }
  if (before[update.table].clean && before[update.table].rows.count(KeyOf(update.row)) == 0)
    Violation(update, kind, before, "an update of a row the scan does not list succeeded");
}

void Run(const uint8_t* data, size_t size) {
  FuzzedDataProvider script(data, size);
  const uint8_t base = script.ConsumeIntegral<uint8_t>();
  JetFuzz::ScratchFile file("jet-fuzz-update");
  if (base < 0x80) {
    file.Write(data, size);
  } else {
    const std::vector<uint8_t>& bytes = Bases()[(base - 0x80) % Bases().size()];
    file.Write(bytes.data(), bytes.size());
  }

  std::vector<TableState> tables;
  std::unique_ptr<Jet::Database> database;
  try {
    tables = ReadAll(file.Path());
    if (tables.empty()) return;
    Jet::OpenOptions options;
    options.readWrite = true;
    database = Jet::Database::Open(file.Path(), options);
  } catch (const Main::Error&) {
    return;  // not a file the engine opens (for writing)
  }

  std::vector<uint8_t> bytes = file.Read();
  const int count = script.ConsumeIntegralInRange(1, 4);
  for (int step = 0; step < count; ++step) {
    Update update;
    update.table = script.ConsumeIntegral<uint8_t>() % tables.size();
    const TableState& table = tables[update.table];
    std::shared_ptr<const Jet::TableDefinition> definition;
    try {
      definition = database->Table(table.name);
    } catch (const Main::Error&) {
      continue;
    }
    if (definition->columns.empty()) continue;
    update.column = script.ConsumeIntegral<uint8_t>() % definition->columns.size();
    const uint16_t rowPick = script.ConsumeIntegral<uint16_t>();
    if (table.order.empty() || rowPick >= 0xF000) {
      update.row = Jet::RowId{script.ConsumeIntegral<uint16_t>(), script.ConsumeIntegral<uint8_t>()};
    } else {
      update.row = table.order[rowPick % table.order.size()];
      update.listedRow = true;
    }
    const Jet::Column& column = definition->columns[update.column];
    int kind = 0;
    ChooseValue(script, column, update, kind);

    bool refused = false;
    try {
      if (update.null)
        database->UpdateValue(*definition, update.row, update.column, Main::Value::Null());
      else if (update.asValue)
        database->UpdateValue(*definition, update.row, update.column, Main::Value::Text(update.text));
      else
        database->UpdateText(*definition, update.row, update.column, update.text);
    } catch (const Main::Error&) {
      refused = true;
    }
    database->Flush();
    std::vector<uint8_t> now = file.Read();
    if (refused) {
      if (now != bytes) Violation(update, kind, tables, "a refused update changed the file");
      continue;
    }
    if (update.null && (!column.nullable || column.type == Jet::ColumnType::Boolean))
      Violation(update, kind, tables, "Null was accepted by a field that requires a value");
    if (!update.null && column.type == Jet::ColumnType::Text && column.maxCharacters != 0 &&
        update.text.size() > column.maxCharacters)
      Violation(update, kind, tables, "text longer than the field was accepted");
    std::vector<TableState> after;
    try {
      after = ReadAll(file.Path());
    } catch (const Main::Error&) {
      Violation(update, kind, tables, "the file no longer opens after a successful update");
    }
    CheckAfter(tables, after, update, kind, column);
    tables = std::move(after);
    bytes = std::move(now);
  }
  database->Close();
  if (file.Read() != bytes) std::abort();  // everything was flushed: closing writes nothing more
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LoadBases();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Run(data, size);
  return 0;
}
