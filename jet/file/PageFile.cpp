#include "jet/file/PageFile.h"

#include <algorithm>

namespace Jet {

PageFile::PageFile(ByteSpan file, uint32_t pageSize, std::shared_ptr<const PageCodec> codec)
    : file_(file),
      pageSize_(pageSize),
      pageCount_(static_cast<uint32_t>(std::min<size_t>(file.size() / pageSize, UINT32_MAX))),
      codec_(std::move(codec)),
      mappedPages_(pageCount_) {}

Page PageFile::Read(uint32_t number) const {
  if (number >= pageCount_)
    ThrowCorrupt(PageText(number) + " lies outside the file, which has " +
                 std::to_string(pageCount_) + " pages");
  ++reads_;
  if (const auto found = written_.find(number); found != written_.end())
    return Page(number, *found->second.bytes, found->second.bytes);
  const ByteSpan stored = file_.subspan(static_cast<size_t>(number) * pageSize_, pageSize_);
  if (codec_->IsPlain() || number == 0) return Page(number, stored);

  if (const auto found = cacheIndex_.find(number); found != cacheIndex_.end()) {
    cache_.splice(cache_.begin(), cache_, found->second);
    return Page(number, *found->second->second, found->second->second);
  }
  auto decoded = std::make_shared<std::vector<uint8_t>>(stored.begin(), stored.end());
  codec_->Decode(number, *decoded);
  Cache(number, decoded);
  return Page(number, *decoded, decoded);
}

void PageFile::Cache(uint32_t number, std::shared_ptr<const std::vector<uint8_t>> decoded) const {
  cache_.emplace_front(number, std::move(decoded));
  cacheIndex_[number] = cache_.begin();
  if (cache_.size() > kCacheCapacity) {
    cacheIndex_.erase(cache_.back().first);
    cache_.pop_back();
  }
}

void PageFile::Uncache(uint32_t number) {
  if (const auto cached = cacheIndex_.find(number); cached != cacheIndex_.end()) {
    cache_.erase(cached->second);
    cacheIndex_.erase(cached);
  }
}

void PageFile::Replace(uint32_t number, std::vector<uint8_t> decoded) {
  if (number > pageCount_ || decoded.size() != pageSize_)
    ThrowCorrupt("a page write names " + PageText(number) + " beyond the end of the file");
  if (number == pageCount_) ++pageCount_;
  Uncache(number);
  written_[number] = Copy{std::make_shared<std::vector<uint8_t>>(std::move(decoded)), false};
}

MutableBytes PageFile::Editable(uint32_t number) {
  if (number >= pageCount_) ThrowCorrupt("a page edit names " + PageText(number) + " beyond the end of the file");
  if (const auto found = written_.find(number); found != written_.end() && found->second.bytes.use_count() == 1) {
    found->second.edited = true;
    return *found->second.bytes;
  }
  std::shared_ptr<std::vector<uint8_t>> copy = spare_ ? std::move(spare_) : std::make_shared<std::vector<uint8_t>>();
  const ByteSpan current = Read(number).Bytes();
  copy->assign(current.begin(), current.end());
  Uncache(number);
  Copy& entry = written_[number];
  entry = Copy{std::move(copy), true};
  return *entry.bytes;
}

void PageFile::Settled(uint32_t number) {
  const auto found = written_.find(number);
  if (found == written_.end() || !found->second.edited || number >= mappedPages_) return;
  std::shared_ptr<std::vector<uint8_t>> bytes = std::move(found->second.bytes);
  written_.erase(found);
  if (!codec_->IsPlain())
    Cache(number, std::move(bytes));
  else if (bytes.use_count() == 1)
    spare_ = std::move(bytes);
}

}  // namespace Jet
