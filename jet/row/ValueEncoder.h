#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/Value.h"
#include "jet/text/CodePageText.h"
#include "jet/schema/TableLayout.h"

// Turns a Main::Value into the bytes one column stores (the inverse of ValueReader): numbers in
// their fixed sizes, text in the column's encoding, binary as is. Long values (Memo, OLE object)
// come out as their data only; where those bytes go is the long-value writer's business.
namespace Jet {

class ValueEncoder {
 public:
  // Jet4/ACE text.
  ValueEncoder() = default;
  // Jet3 text in this Windows code page (the database's).
  explicit ValueEncoder(uint16_t codePage) : codePage_(codePage) {}

  // The stored bytes of a non-null value. Numbers convert between kinds the way Access converts
  // them (fractions rounded half to even); text given for a number, date or Yes/No column is
  // converted as TextToValue does. Throws JetError: kTypeMismatch for a value the column cannot
  // take, kOverflow (Main::ErrorNumber) for a number out of the column's range, kFieldTooSmall for
  // text or binary longer than the column (Jet3 text by its bytes in the code page),
  // kNotSupported (cause kFieldCannotChange) for Jet3 text in a code page this system cannot
  // convert or in a column whose code page is not the database's.
  std::vector<uint8_t> Encode(const Column& column, const ColumnLayout& place, const Main::Value& value) const;

  // The Yes/No value of a value for a Yes/No column (Null is No).
  bool Flag(const Column& column, const Main::Value& value) const;

  // What Encode gives for this text as a value of a Text or Memo column, without the value.
  std::vector<uint8_t> EncodeText(const Column& column, const ColumnLayout& place,
                                  std::u16string_view text) const;

 private:

  std::optional<CodePageText> codePage_;  // none: Jet4/ACE
};

}  // namespace Jet
