#include "common/SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/Error.h"

namespace Main {
namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("quorvane-settings-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path File() const { return folder_ / "settings.ini"; }
  std::filesystem::path folder_;
};

TEST_F(SettingsStoreTest, NeverWrittenKeyGivesTheDefault) {
  const auto store = SettingsStore::AtFile(File());
  EXPECT_EQ(store.Read(SettingsStore::kDatabasePathKey), u"");
  EXPECT_EQ(store.Read(SettingsStore::kOperationKey, u"0"), u"0");
}

TEST_F(SettingsStoreTest, WriteTakesEffectAtOnceAndLivesOn) {
  {
    auto store = SettingsStore::AtFile(File());
    store.Write(SettingsStore::kDatabasePathKey, u"/home/ana/Kunden; Ärger.accdb");
    store.Write(SettingsStore::kPasswordKey, u" pa'ss=wörd ");
    store.Write(SettingsStore::kOperationKey, u"26");
    store.Write(SettingsStore::kOperationKey, u"3");  // overwrites
    // Saved without a separate step: a second store on the same file sees it now.
    const auto other = SettingsStore::AtFile(File());
    EXPECT_EQ(other.Read(SettingsStore::kOperationKey, u"0"), u"3");
  }
  const auto reopened = SettingsStore::AtFile(File());
  EXPECT_EQ(reopened.Read(SettingsStore::kDatabasePathKey), u"/home/ana/Kunden; Ärger.accdb");
  EXPECT_EQ(reopened.Read(SettingsStore::kPasswordKey), u" pa'ss=wörd ");
  EXPECT_EQ(reopened.Read(SettingsStore::kOperationKey), u"3");
}

TEST_F(SettingsStoreTest, ValuesLiveInTheProductSection) {
  auto store = SettingsStore::AtFile(File());
  store.Write(SettingsStore::kOperationKey, u"5");
  std::ifstream in(File());
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(content.find("[Quorvane]"), std::string::npos);
  EXPECT_NE(content.find("Combo1=5"), std::string::npos);
}

TEST_F(SettingsStoreTest, AStoreThatCannotBeSavedSaysSo) {
  auto store = SettingsStore::AtFile(folder_ / "missing-folder" / "sub" / "settings.ini");
  std::filesystem::create_directories(folder_ / "missing-folder");
  // A file where the store needs a folder makes the save fail.
  std::ofstream(folder_ / "missing-folder" / "sub").put('x');
  try {
    store.Write(SettingsStore::kPasswordKey, u"x");
    ADD_FAILURE() << "the write did not fail";
  } catch (const Error& error) {
    // The message names the file and why it could not be written.
    const std::string text = error.what();
    EXPECT_NE(text.find("The settings could not be saved to "), std::string::npos) << text;
    EXPECT_NE(text.find((folder_ / "missing-folder" / "sub" / "settings.ini").string()), std::string::npos) << text;
    EXPECT_NE(text.find("folder " + (folder_ / "missing-folder" / "sub").string() + " cannot be made"),
              std::string::npos)
        << text;
  }
}

}  // namespace
}  // namespace Main
