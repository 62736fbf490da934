#pragma once

#include <vector>

#include "jet/base/ByteReader.h"
#include "jet/file/FormatLayout.h"
#include "jet/schema/TableLayout.h"

// Splits a row's bytes into its columns' values (still in stored form).
namespace Jet {

// One column of one row: its stored bytes, a view into the page.
struct Cell {
  ByteSpan bytes;
  bool null = true;
  bool flag = false;  // Yes/No columns: the value, which lives in the null mask
};

class RowDecoder {
 public:
  RowDecoder(const FormatLayout& layout, const TableLayout& table);
  // Fills `cells` (one per column of the definition, reusing its storage). Throws kCorrupt when
  // the row's structure points outside the row.
  void Split(ByteSpan row, std::vector<Cell>& cells);

 private:
  void ReadVariableOffsets(ByteSpan row, size_t nullMaskSize);
  void ReadJumpTableOffsets(ByteSpan row, size_t nullMaskSize);

  const FormatLayout& layout_;
  const TableLayout& table_;
  std::vector<uint16_t> variableOffsets_;  // per variable entry its start; one more for the end
};

}  // namespace Jet
