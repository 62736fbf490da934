#include "jet/index/TextKeyForms.h"

#include "jet/index/IndexKeyEncoder.h"

namespace Jet {
namespace {

constexpr uint8_t kNoExtraPart = 0x00;
constexpr uint8_t kBoundNibble = 0x0;         // opens and closes the extra nibbles
constexpr uint8_t kSignificantNibble = 0x2;   // one for each base letter before an accented one

}  // namespace

// General 97 (Access 97): each character is looked up by its Windows-1252 byte. The key is the
// characters' inline bytes, then the extra part: when any character has an extra code, a nibble
// stream (a bound nibble; per such character a 2 for each base letter since the previous one and
// its code; a bound nibble) packed high nibble first and padded with 0; otherwise one 0x00.
// Descending keys are all inverted.
void AppendGeneral97TextKey(std::vector<uint8_t>& key, std::u16string_view text, bool ascending) {
  using SortOrder::CharKind;
  const size_t start = key.size();
  std::vector<uint8_t> nibbles;
  size_t significant = 0;
  for (const char16_t unit : text) {
    const uint8_t byte = unit <= 0xFF ? static_cast<uint8_t>(unit) : SortOrder::General97ByteOf(unit);
    const SortOrder::CharCode code = SortOrder::kGeneral97.Lookup(byte);
    key.insert(key.end(), code.inlineBytes.begin(), code.inlineBytes.end());
    if (code.kind == CharKind::Significant) ++significant;
    if (code.kind != CharKind::International) continue;
    if (nibbles.empty()) nibbles.push_back(kBoundNibble);
    nibbles.insert(nibbles.end(), significant, kSignificantNibble);
    significant = 0;
    nibbles.push_back(code.extraBytes.front());
  }
  if (nibbles.empty()) {
    key.push_back(kNoExtraPart);
  } else {
    nibbles.push_back(kBoundNibble);
    if (nibbles.size() % 2 != 0) nibbles.push_back(0);
    for (size_t n = 0; n < nibbles.size(); n += 2)
      key.push_back(static_cast<uint8_t>(nibbles[n] << 4 | nibbles[n + 1]));
  }
  if (!ascending) InvertKeyBytes(key, start);
}

}  // namespace Jet
