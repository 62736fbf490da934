#include "jet/crypto/Rc4.h"

#include <gtest/gtest.h>

#include "tests/jet/PageBuilder.h"

namespace Jet {
namespace {

using Testing::Bytes;

TEST(Rc4, MatchesPublishedTestVectors) {
  Bytes text = Testing::Ascii("Plaintext");
  const Bytes key = Testing::Ascii("Key");
  Rc4(key).Apply(text);
  EXPECT_EQ(text, (Bytes{0xBB, 0xF3, 0x16, 0xE8, 0xD9, 0x40, 0xAF, 0x0A, 0xD3}));

  Bytes attack = Testing::Ascii("Attack at dawn");
  Rc4(Testing::Ascii("Secret")).Apply(attack);
  EXPECT_EQ(attack, (Bytes{0x45, 0xA0, 0x1F, 0x64, 0x5F, 0xC3, 0x5B, 0x38, 0x35, 0x52, 0x54, 0x4B,
                           0x9B, 0xF5}));
}

}  // namespace
}  // namespace Jet
