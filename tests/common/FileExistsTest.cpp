#include "common/FileExists.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/Text.h"

namespace Main {
namespace {

class FileExistsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("quorvane-fileexists-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::u16string Text(const std::filesystem::path& p) { return FromUtf8(p.string()); }
  std::filesystem::path folder_;
};

TEST_F(FileExistsTest, ExistingFileIsTrueEvenWhenEmpty) {
  const auto file = folder_ / "Kunden Ünïcødé.mdb";
  std::ofstream(file).put('x');
  EXPECT_TRUE(FileExists(Text(file)));
  const auto empty = folder_ / "empty.mdb";
  std::ofstream{empty};
  EXPECT_TRUE(FileExists(Text(empty)));
}

TEST_F(FileExistsTest, EveryFailureIsFalse) {
  EXPECT_FALSE(FileExists(u""));
  EXPECT_FALSE(FileExists(Text(folder_ / "missing.mdb")));
  EXPECT_FALSE(FileExists(Text(folder_ / "missing" / "deeper.mdb")));
  EXPECT_FALSE(FileExists(std::u16string{char16_t(0xD800), u'x'}));  // an unpaired surrogate
  EXPECT_FALSE(FileExists(Text(folder_)));    // a folder is not a file
}

}  // namespace
}  // namespace Main
