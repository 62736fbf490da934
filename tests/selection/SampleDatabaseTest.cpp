#include "selection/SampleDatabase.h"

#include <fstream>
#include <iterator>

#include "tests/support/WindowTesting.h"

// The sample database the user gets: the program's own where they may change it, a private copy
// where they may not.
namespace Windows {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SampleDatabase : public Testing::WindowTest {
 protected:
  // A sample in a program folder of the test's own.
  fs::path MakeProgramSample() {
    fs::create_directories(scratch / "program" / "Samples");
    const fs::path sample = scratch / "program" / "Samples" / "sample.mdb";
    fs::rename(Main::PathFromText(MakePeople("made.mdb", 3)), sample);
    return sample;
  }

  const fs::path privateFolder = scratch / "home" / "Quorvane";
  const fs::path privateCopy = privateFolder / "Samples" / "sample.mdb";
};

TEST_F(SampleDatabase, AWritableSampleIsUsedWhereItIs) {
  const fs::path sample = MakeProgramSample();
  EXPECT_EQ(UsableSample(sample, privateFolder), sample);
  EXPECT_FALSE(fs::exists(privateFolder));
}

TEST_F(SampleDatabase, AMissingSampleIsNamedWhereItShouldBe) {
  const fs::path sample = scratch / "program" / "Samples" / "sample.mdb";
  EXPECT_EQ(UsableSample(sample, privateFolder), sample);
  EXPECT_FALSE(fs::exists(privateFolder));
}

// The write bits are what counts, so this holds when the tests run as root too.
TEST_F(SampleDatabase, AReadOnlySampleGivesAPrivateCopyMadeOnceAndNeverOverwritten) {
  const fs::path sample = MakeProgramSample();
  fs::permissions(sample, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const std::string original = Bytes(sample);

  EXPECT_EQ(UsableSample(sample, privateFolder), privateCopy);
  EXPECT_EQ(Bytes(privateCopy), original);
  EXPECT_EQ(Bytes(sample), original);
  EXPECT_NE(fs::status(privateCopy).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_FALSE(fs::exists(privateFolder / "Samples" / "sample.mdb.partial"));
  EXPECT_EQ(Testing::StoredTexts(Testing::PathText(privateCopy), u"People", 1),
            (std::vector<std::u16string>{u"Person 1", u"Person 2", u"Person 3"}));

  // The user's copy is theirs: the next press names it again and leaves what they changed.
  std::ofstream(privateCopy, std::ios::binary | std::ios::app) << "changed";
  const std::string changed = Bytes(privateCopy);
  EXPECT_EQ(UsableSample(sample, privateFolder), privateCopy);
  EXPECT_EQ(Bytes(privateCopy), changed);
}

TEST_F(SampleDatabase, ACopyThatCannotBeMadeSaysWhere) {
  const fs::path sample = MakeProgramSample();
  fs::permissions(sample, fs::perms::owner_read);
  fs::create_directories(scratch / "home");
  std::ofstream(privateFolder).put('x');  // a file where the folder should be
  try {
    UsableSample(sample, privateFolder);
    ADD_FAILURE() << "no error";
  } catch (const std::exception& error) {
    EXPECT_NE(std::string(error.what()).find("The sample database could not be copied to " + privateCopy.string()),
              std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace Windows
