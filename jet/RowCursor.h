#pragma once

#include <cstddef>
#include <string>

#include "common/Value.h"
#include "jet/Schema.h"

// The engine's row cursor, the public interface the table scan implements.
namespace Jet {

// Walks the live rows of one table; the database must outlive it.
class RowCursor {
 public:
  virtual ~RowCursor() = default;
  // Moves to the next row; false once past the last one.
  virtual bool Next() = 0;
  virtual RowId Id() const = 0;
  // The value of the current row's column at this position in the definition's columns.
  virtual Main::Value Get(size_t column) const = 0;
  virtual bool IsNull(size_t column) const = 0;
  // Text and Memo cells decoded into `out` (reusing its storage); false for Null.
  virtual bool GetText(size_t column, std::u16string& out) const = 0;
};

}  // namespace Jet
