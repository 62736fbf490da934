#include "jet/index/LeafSplice.h"

#include <cstring>

#include "jet/base/Failure.h"
#include "jet/index/IndexPage.h"

namespace Jet {
namespace {

constexpr size_t kNoEntry = SIZE_MAX;  // the inserted entry, among the leaf's own

// Appends bytes at `out` of the `room` bytes at `data`, moving it on.
void Put(uint8_t* data, size_t room, size_t& out, ByteSpan bytes) {
  if (bytes.size() > room - out) ThrowInternalFault("an index leaf edit wrote past the entries it measured");
  if (!bytes.empty()) std::memcpy(data + out, bytes.data(), bytes.size());
  out += bytes.size();
}

// The leaf's entries after the edit, in order: an entry of the leaf by its place, or kNoEntry for
// the inserted one.
template <typename Visit>
void ForEachEditedEntry(size_t count, const LeafEdit& edit, Visit visit) {
  for (size_t i = 0; i < count; ++i) {
    if (edit.inserted != nullptr && i == edit.insertAt) visit(kNoEntry);
    if (edit.removeAt != i) visit(i);
  }
  if (edit.inserted != nullptr && edit.insertAt >= count) visit(kNoEntry);
}

}  // namespace

bool SpliceLeaf(const IndexPageView& leaf, const LeafEdit& edit, const IndexPageLayout& layout,
                std::vector<uint8_t>& page, std::vector<uint16_t>& ends) {
  const size_t count = leaf.Count();
  const bool inserting = edit.inserted != nullptr;
  // The last entry stays unless the caller sees to the parent, which copies it.
  const bool lastChanges = (edit.removeAt && *edit.removeAt + 1 >= count) || (inserting && edit.insertAt >= count);
  if (count == 0 || (lastChanges && !edit.lastMayChange)) return false;
  const size_t edited = count - (edit.removeAt ? 1 : 0) + (inserting ? 1 : 0);
  if (edited == 0) return false;
  const bool node = !leaf.Leaf();
  const auto keyOf = [&](size_t entry) {
    return entry == kNoEntry ? KeyParts{{}, edit.inserted->key} : leaf.KeyOf(entry);
  };
  std::optional<size_t> first;
  size_t last = 0;
  ForEachEditedEntry(count, edit, [&](size_t entry) {
    if (!first) first = entry;
    last = entry;
  });
  const size_t prefix = edited < 2 ? 0 : SharedKeyBytes(keyOf(*first), keyOf(last));
  if (prefix > (layout.prefixSize == 1 ? 0xFFu : 0xFFFFu)) return false;

  const size_t oldPrefix = leaf.Prefix();
  size_t whole = leaf.DataEnd() + oldPrefix * (count - 1);
  if (edit.removeAt) whole -= leaf.WholeSizeOf(*edit.removeAt);
  if (inserting) whole += edit.inserted->StoredSize(node);
  const size_t dataSize = whole - prefix * (edited - 1);
  if (dataSize > layout.Capacity()) return false;

  page.assign(layout.pageSize, 0);
  uint8_t* data = page.data() + layout.dataStart;
  const ByteSpan stored = leaf.Data();
  ends.clear();
  size_t out = 0;
  // A run of the leaf's entries whose stored bytes stay as they are, copied at once.
  size_t runStart = 0;
  size_t runEnd = 0;
  const auto flushRun = [&] {
    Put(data, dataSize, out, stored.subspan(runStart, runEnd - runStart));
    runStart = runEnd = 0;
  };
  ForEachEditedEntry(count, edit, [&](size_t entry) {
    const size_t skip = ends.empty() ? 0 : prefix;
    if (entry != kNoEntry && entry != 0 && skip == oldPrefix) {
      if (runEnd != leaf.StartOf(entry)) {
        flushRun();
        runStart = leaf.StartOf(entry);
      }
      runEnd = leaf.EndOf(entry);
      ends.push_back(static_cast<uint16_t>(out + (runEnd - runStart)));
      return;
    }
    flushRun();
    if (entry == kNoEntry) {
      const IndexEntry& added = *edit.inserted;
      Put(data, dataSize, out, ByteSpan(added.key).subspan(skip));
      const uint8_t trailer[kIndexRowSize + kIndexChildSize] = {
          static_cast<uint8_t>(added.page >> 16), static_cast<uint8_t>(added.page >> 8),
          static_cast<uint8_t>(added.page),       added.slot,
          static_cast<uint8_t>(added.child >> 24), static_cast<uint8_t>(added.child >> 16),
          static_cast<uint8_t>(added.child >> 8), static_cast<uint8_t>(added.child)};
      Put(data, dataSize, out, ByteSpan(trailer).first(kIndexRowSize + (node ? kIndexChildSize : 0)));
    } else {
      // The entry's whole bytes are the leaf's prefix (none for its first) and its stored bytes.
      const size_t own = entry == 0 ? 0 : oldPrefix;
      const ByteSpan bytes = stored.subspan(leaf.StartOf(entry), leaf.EndOf(entry) - leaf.StartOf(entry));
      if (skip < own) Put(data, dataSize, out, stored.subspan(skip, own - skip));
      Put(data, dataSize, out, bytes.subspan(skip > own ? skip - own : 0));
    }
    ends.push_back(static_cast<uint16_t>(out));
  });
  flushRun();
  if (out != dataSize) ThrowInternalFault("an index leaf edit wrote fewer bytes than it measured");

  IndexPage header;
  header.leaf = !node;
  header.owner = leaf.Owner();
  header.previous = leaf.Previous();
  header.next = leaf.Next();
  header.tail = leaf.Tail();
  PutIndexPageHeader(page, header, prefix, dataSize, layout);
  for (const uint16_t end : ends) MarkEntryEnd(page, end, layout);
  return true;
}

}  // namespace Jet
