#include "jet/file/PageFile.h"

namespace Jet {

PageFile::PageFile(ByteSpan file, uint32_t pageSize, std::shared_ptr<const PageCodec> codec)
    : file_(file),
      pageSize_(pageSize),
      pageCount_(static_cast<uint32_t>(std::min<size_t>(file.size() / pageSize, UINT32_MAX))),
      codec_(std::move(codec)) {}

Page PageFile::Read(uint32_t number) const {
  if (number >= pageCount_)
    ThrowCorrupt(PageText(number) + " lies outside the file, which has " +
                 std::to_string(pageCount_) + " pages");
  ++reads_;
  if (const auto found = written_.find(number); found != written_.end())
    return Page(number, *found->second, found->second);
  const ByteSpan stored = file_.subspan(static_cast<size_t>(number) * pageSize_, pageSize_);
  if (codec_->IsPlain() || number == 0) return Page(number, stored);

  if (const auto found = cacheIndex_.find(number); found != cacheIndex_.end()) {
    cache_.splice(cache_.begin(), cache_, found->second);
    return Page(number, *found->second->second, found->second->second);
  }
  auto decoded = std::make_shared<std::vector<uint8_t>>(stored.begin(), stored.end());
  codec_->Decode(number, *decoded);
  cache_.emplace_front(number, decoded);
  cacheIndex_[number] = cache_.begin();
  if (cache_.size() > kCacheCapacity) {
    cacheIndex_.erase(cache_.back().first);
    cache_.pop_back();
  }
  return Page(number, *decoded, decoded);
}

void PageFile::Replace(uint32_t number, std::vector<uint8_t> decoded) {
  if (number > pageCount_ || decoded.size() != pageSize_)
    ThrowCorrupt("a page write names " + PageText(number) + " beyond the end of the file");
  if (number == pageCount_) ++pageCount_;
  if (const auto cached = cacheIndex_.find(number); cached != cacheIndex_.end()) {
    cache_.erase(cached->second);
    cacheIndex_.erase(cached);
  }
  written_[number] = std::make_shared<const std::vector<uint8_t>>(std::move(decoded));
}

}  // namespace Jet
