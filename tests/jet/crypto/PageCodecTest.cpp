#include "jet/crypto/PageCodec.h"

#include <gtest/gtest.h>

#include <memory>

#include "jet/crypto/Rc4.h"
#include "jet/crypto/Rc4PageCodec.h"
#include "jet/file/PageFile.h"

namespace Jet {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Pattern(size_t size, uint8_t seed) {
  Bytes bytes(size);
  for (size_t n = 0; n < size; ++n) bytes[n] = static_cast<uint8_t>(seed + n * 7);
  return bytes;
}

Bytes Encoded(const PageCodec& codec, uint32_t number, Bytes page) {
  codec.Encode(number, page);
  return page;
}

Bytes Decoded(const PageCodec& codec, uint32_t number, Bytes page) {
  codec.Decode(number, page);
  return page;
}

TEST(Rc4PageCodec, EncodingThenDecodingGivesThePageBack) {
  const Rc4PageCodec codec(0x5EC2E7A1);
  const Bytes original = Pattern(4096, 3);
  const Bytes encoded = Encoded(codec, 5, original);
  EXPECT_NE(encoded, original);
  EXPECT_EQ(Decoded(codec, 5, encoded), original);
}

TEST(Rc4PageCodec, LeavesTheHeaderPageAsItIs) {
  const Rc4PageCodec codec(0x5EC2E7A1);
  const Bytes original = Pattern(4096, 9);
  EXPECT_EQ(Encoded(codec, 0, original), original);
  EXPECT_EQ(Decoded(codec, 0, original), original);
}

TEST(Rc4PageCodec, KeysEachPageWithTheDatabaseKeyXorItsNumber) {
  const Bytes original(64, 0x5A);
  Bytes page = original;
  Rc4PageCodec(0x12345678).Decode(7, page);
  EXPECT_NE(page, original);
  Bytes otherPage = original;
  Rc4PageCodec(0x12345678).Decode(8, otherPage);
  EXPECT_NE(page, otherPage);
  // The same key gives the same stream: RC4 keyed with its four little-endian bytes.
  Bytes sameKey = original;
  Rc4PageCodec(0x12345678 ^ 7 ^ 3).Decode(3, sameKey);
  EXPECT_EQ(page, sameKey);
  Bytes direct = original;
  const uint32_t key = 0x12345678 ^ 7;
  const uint8_t keyBytes[] = {static_cast<uint8_t>(key), static_cast<uint8_t>(key >> 8),
                              static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 24)};
  Rc4(keyBytes).Apply(direct);
  EXPECT_EQ(page, direct);
}

TEST(PageFile, ReadsPagesThroughItsCodecAndTheHeaderPageAsStored) {
  constexpr uint32_t kPageSize = 256;
  const auto codec = std::make_shared<Rc4PageCodec>(0x0BADF00D);
  const Bytes header = Pattern(kPageSize, 1);
  const Bytes first = Pattern(kPageSize, 2);
  const Bytes second = Pattern(kPageSize, 4);
  Bytes file = header;
  for (const Bytes& stored : {Encoded(*codec, 1, first), Encoded(*codec, 2, second)})
    file.insert(file.end(), stored.begin(), stored.end());
  const PageFile pages(file, kPageSize, codec);
  const ByteSpan read0 = pages.Read(0).Bytes();
  EXPECT_EQ(Bytes(read0.begin(), read0.end()), header);
  const ByteSpan read1 = pages.Read(1).Bytes();
  EXPECT_EQ(Bytes(read1.begin(), read1.end()), first);
  const ByteSpan read2 = pages.Read(2).Bytes();
  EXPECT_EQ(Bytes(read2.begin(), read2.end()), second);
}

}  // namespace
}  // namespace Jet
