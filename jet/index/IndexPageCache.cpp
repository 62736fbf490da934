#include "jet/index/IndexPageCache.h"

namespace Jet {

std::shared_ptr<const IndexPage> IndexPageCache::Decode(const PageFile& pages, uint32_t number,
                                                        const IndexPageLayout& layout) {
  Page source = pages.Read(number);
  if (const auto found = kept_.find(number);
      found != kept_.end() && found->second.source.Bytes().data() == source.Bytes().data())
    return found->second.page;
  auto page = std::make_shared<const IndexPage>(DecodeIndexPage(source.Bytes(), number, layout));
  if (kept_.size() >= kCapacity) kept_.clear();
  kept_[number] = Kept{std::move(source), page};
  return page;
}

}  // namespace Jet
