#include "jet/index/TextKey.h"

#include "jet/base/Failure.h"

namespace Jet {

void AppendTextKey(std::vector<uint8_t>&, std::u16string_view, bool, TextSortOrder) {
  ThrowNotSupported("text index keys are not made yet");
}

}  // namespace Jet
