#include "jet/index/TextKey.h"

#include "jet/base/Failure.h"
#include "jet/index/IndexKeyEncoder.h"
#include "jet/index/TextKeyForms.h"

namespace Jet {
namespace {

// Access 2010 cuts General keys somewhere past 500 bytes in a way not known here; a longer key
// could not be made as Access makes it.
constexpr size_t kMaxGeneralKeyBytes = 500;

}  // namespace

void AppendTextKey(std::vector<uint8_t>& key, std::u16string_view text, bool ascending, TextSortOrder order) {
  // Keys see the first 255 units; trailing spaces (U+0020 only) do not count.
  text = text.substr(0, kIndexedTextUnits);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  const size_t start = key.size();
  switch (order) {
    case TextSortOrder::General97: return AppendGeneral97TextKey(key, text, ascending);
    case TextSortOrder::GeneralLegacy: return AppendGeneralTextKey(key, text, ascending, SortOrder::kGeneralLegacy);
    case TextSortOrder::General: {
      AppendGeneralTextKey(key, text, ascending, SortOrder::kGeneral);
      if (key.size() - start > kMaxGeneralKeyBytes) {
        key.resize(start);
        ThrowNotSupported("a text value this long has no index key in the General sort order of this engine");
      }
      return;
    }
  }
}

}  // namespace Jet
