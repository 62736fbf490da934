// Build-time tool: turns the sort orders' character data files into the compact tables of
// CharacterTables.h, written as one C++ source. Any malformed line stops the build.
//
// usage: SortOrderTableGenerator <out.cpp> <genleg> <genleg ext> <gen> <gen ext> <gen 97> <gen 97 mappings>
//
// Code files: one line per character, a handler letter and comma-separated hex fields (a field of
// odd length lost its leading 0): S<inline>, I<inline>,<extra>, U<code>, P<value>,
// Z<inline>,<extra or empty>,<1: flag 2, else flag 3>, G<inline>, X. The base files cover
// U+0000-U+00FF (General 97: the bytes 0x00-0xFF), the extension files U+0100-U+FFFF without the
// surrogates. The mappings file holds decimal pairs "character,byte".
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "jet/index/sortorder/CharacterTables.h"

namespace {

using Jet::SortOrder::CharKind;
namespace Packing = Jet::SortOrder::Packing;

constexpr uint32_t kSurrogateFirst = 0xD800;
constexpr uint32_t kSurrogateLast = 0xDFFF;

[[noreturn]] void Fail(const std::string& file, size_t line, const std::string& what) {
  std::fprintf(stderr, "%s:%zu: %s\n", file.c_str(), line, what.c_str());
  std::exit(1);
}

std::vector<std::string> ReadLines(const std::string& file) {
  std::ifstream in(file);
  if (!in) Fail(file, 0, "cannot be read");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    fields.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

// One table being built: the codes and the byte pool, identical byte runs shared.
class TableBuilder {
 public:
  void Add(uint32_t code) { codes_.push_back(code); }

  uint32_t Pack(CharKind kind, const std::vector<uint8_t>& inlineBytes, const std::vector<uint8_t>& extra,
                bool flagTwo, const std::string& file, size_t line) {
    if (inlineBytes.size() > Packing::kInlineBits) Fail(file, line, "too many inline bytes");
    if (extra.size() > Packing::kExtraBits) Fail(file, line, "too many extra bytes");
    std::vector<uint8_t> run = inlineBytes;
    run.insert(run.end(), extra.begin(), extra.end());
    uint32_t offset = 0;
    if (!run.empty()) {
      const auto [found, added] = runs_.emplace(run, static_cast<uint32_t>(pool_.size()));
      if (added) pool_.insert(pool_.end(), run.begin(), run.end());
      offset = found->second;
    }
    if (offset > Packing::kMaxOffset) Fail(file, line, "the byte pool outgrew its offset field");
    return static_cast<uint32_t>(kind) | static_cast<uint32_t>(inlineBytes.size()) << Packing::kInlineShift |
           static_cast<uint32_t>(extra.size()) << Packing::kExtraShift | (flagTwo ? Packing::kFlagTwo : 0) |
           offset << Packing::kOffsetShift;
  }

  void WriteArrays(std::ostream& out, const std::string& name) const {
    out << "const uint32_t k" << name << "Codes[] = {";
    for (size_t n = 0; n < codes_.size(); ++n) out << (n % 8 == 0 ? "\n  " : " ") << codes_[n] << "u,";
    out << "\n};\nconst uint8_t k" << name << "Pool[] = {";
    for (size_t n = 0; n < pool_.size(); ++n) out << (n % 16 == 0 ? "\n  " : " ") << int{pool_[n]} << ",";
    out << "\n};\n";
  }

  void WriteTable(std::ostream& out, const std::string& name) const {
    out << "const CharacterTable k" << name << "{k" << name << "Codes, " << codes_.size() << ", k" << name
        << "Pool, " << pool_.size() << "};\n";
  }

 private:
  std::vector<uint32_t> codes_;
  std::vector<uint8_t> pool_;
  std::map<std::vector<uint8_t>, uint32_t> runs_;
};

std::vector<uint8_t> HexBytes(std::string hex, const std::string& file, size_t line) {
  if (hex.empty()) Fail(file, line, "empty hex field");
  if (hex.size() % 2 != 0) hex.insert(hex.begin(), '0');
  std::vector<uint8_t> bytes;
  for (size_t at = 0; at < hex.size(); at += 2) {
    const std::string pair = hex.substr(at, 2);
    if (pair.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
      Fail(file, line, "not a hex field: " + hex);
    bytes.push_back(static_cast<uint8_t>(std::stoul(pair, nullptr, 16)));
  }
  return bytes;
}

// The letters a file may use: "SIUPZX" (General Legacy, General) or "SGIX" (General 97).
void AddCodeLine(TableBuilder& table, const std::string& text, const std::string& letters,
                 const std::string& file, size_t line) {
  if (text.empty() || letters.find(text[0]) == std::string::npos) Fail(file, line, "unknown handler: " + text);
  const char letter = text[0];
  if (letter == 'X') {
    if (text.size() != 1) Fail(file, line, "an ignored character has no fields");
    table.Add(table.Pack(CharKind::Ignored, {}, {}, false, file, line));
    return;
  }
  const std::vector<std::string> fields = SplitFields(text.substr(1));
  const auto expect = [&](size_t count) {
    if (fields.size() != count) Fail(file, line, "wrong number of fields: " + text);
  };
  switch (letter) {
    case 'S':
    case 'G':
      expect(1);
      table.Add(table.Pack(letter == 'S' ? CharKind::Simple : CharKind::Significant, HexBytes(fields[0], file, line),
                           {}, false, file, line));
      return;
    case 'I': {
      expect(2);
      const std::vector<uint8_t> extra = HexBytes(fields[1], file, line);
      if (letters == "SGIX" && (extra.size() != 1 || extra[0] > 0xF))
        Fail(file, line, "a General 97 extra code is one nibble");
      table.Add(table.Pack(CharKind::International, HexBytes(fields[0], file, line), extra, false, file, line));
      return;
    }
    case 'U':
      expect(1);
      table.Add(table.Pack(CharKind::Unprintable, HexBytes(fields[0], file, line), {}, false, file, line));
      return;
    case 'P': {
      expect(1);
      const std::vector<uint8_t> value = HexBytes(fields[0], file, line);
      if (value.size() != 1) Fail(file, line, "an unprintable extension is one byte");
      table.Add(table.Pack(CharKind::UnprintableExtension, {}, value, false, file, line));
      return;
    }
    default: {  // 'Z'
      expect(3);
      const std::vector<uint8_t> extra = fields[1].empty() ? std::vector<uint8_t>{} : HexBytes(fields[1], file, line);
      if (fields[2] != "1" && !fields[2].empty()) Fail(file, line, "unknown flag: " + text);
      table.Add(table.Pack(CharKind::InternationalExtension, HexBytes(fields[0], file, line), extra,
                           fields[2] == "1", file, line));
      return;
    }
  }
}

void AddCodeFile(TableBuilder& table, const std::string& file, uint32_t first, uint32_t last,
                 const std::string& letters) {
  const std::vector<std::string> lines = ReadLines(file);
  size_t line = 0;
  for (uint32_t character = first; character <= last; ++character) {
    if (character >= kSurrogateFirst && character <= kSurrogateLast) {
      table.Add(static_cast<uint32_t>(CharKind::Surrogate));
      continue;
    }
    if (line == lines.size()) Fail(file, line, "too few lines");
    AddCodeLine(table, lines[line], letters, file, line + 1);
    ++line;
  }
  if (line != lines.size()) Fail(file, line + 1, "more lines than characters");
}

std::vector<std::pair<uint32_t, uint32_t>> ReadMappings(const std::string& file) {
  std::vector<std::pair<uint32_t, uint32_t>> mappings;
  const std::vector<std::string> lines = ReadLines(file);
  for (size_t line = 0; line < lines.size(); ++line) {
    if (lines[line].empty()) continue;
    const std::vector<std::string> fields = SplitFields(lines[line]);
    if (fields.size() != 2 || fields[0].empty() || fields[1].empty() ||
        fields[0].find_first_not_of("0123456789") != std::string::npos ||
        fields[1].find_first_not_of("0123456789") != std::string::npos || fields[0].size() > 5 ||
        fields[1].size() > 3)
      Fail(file, line + 1, "not a pair of decimal numbers: " + lines[line]);
    const uint32_t character = std::stoul(fields[0]);
    const uint32_t byte = std::stoul(fields[1]);
    if (character <= 0xFF || character > 0xFFFF || byte > 0xFF ||
        (!mappings.empty() && character <= mappings.back().first))
      Fail(file, line + 1, "out of range or order: " + lines[line]);
    mappings.emplace_back(character, byte);
  }
  return mappings;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) {
    std::fprintf(stderr, "usage: %s <out.cpp> <genleg> <genleg ext> <gen> <gen ext> <gen 97> <gen 97 mappings>\n",
                 argv[0]);
    return 2;
  }
  TableBuilder legacy;
  AddCodeFile(legacy, argv[2], 0x0000, 0x00FF, "SIUPZX");
  AddCodeFile(legacy, argv[3], 0x0100, 0xFFFF, "SIUPZX");
  TableBuilder general;
  AddCodeFile(general, argv[4], 0x0000, 0x00FF, "SIUPZX");
  AddCodeFile(general, argv[5], 0x0100, 0xFFFF, "SIUPZX");
  TableBuilder general97;
  AddCodeFile(general97, argv[6], 0x00, 0xFF, "SGIX");
  const auto mappings = ReadMappings(argv[7]);

  std::ostringstream out;
  out << "// Made by SortOrderTableGenerator from jet/index/sortorder/data; do not edit.\n"
         "#include \"jet/index/sortorder/CharacterTables.h\"\n\nnamespace Jet::SortOrder {\nnamespace {\n";
  const std::pair<const TableBuilder*, const char*> tables[] = {
      {&legacy, "GeneralLegacy"}, {&general, "General"}, {&general97, "General97"}};
  for (const auto& [table, name] : tables) table->WriteArrays(out, name);
  out << "const ByteMapping kMappings[] = {";
  for (const auto& [character, byte] : mappings) out << "\n  {" << character << ", " << byte << "},";
  out << "\n};\n\n}  // namespace\n\n";
  for (const auto& [table, name] : tables) table->WriteTable(out, name);
  out << "const std::span<const ByteMapping> kGeneral97Mappings(kMappings);\n\n}  // namespace Jet::SortOrder\n";
  std::ofstream file(argv[1], std::ios::trunc);
  file << out.str();
  if (!file.flush()) Fail(argv[1], 0, "cannot be written");
  return 0;
}
