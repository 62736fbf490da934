#include <QTimer>
#include <fstream>
#include <iterator>

#include "tests/jet/oracle/MdbTools.h"
#include "database/access/Connection.h"
#include "tests/mainwindow/RunWindowFixture.h"
#include "tests/support/RefusingConnection.h"

// The main window at work when the program ends in the middle of a run, and when the database
// takes no change.
namespace Windows {
namespace {

using Testing::StoredTexts;

std::string Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RunEnds : public RunWindowTest {
 protected:
  void SetUp() override {
    RunWindowTest::SetUp();
    services.endProgram = [this] {
      ++programEnds;
      Ui::RequestProgramEnd();
    };
  }
  void TearDown() override {
    Ui::WithdrawProgramEndRequest();
    RunWindowTest::TearDown();
  }
};

// Closed while the run works, the window goes at once; the run finishes the record in hand,
// writes nothing more, says nothing more, and lets the file go in a state every reader accepts.
TEST_F(RunEnds, ClosingTheWindowDuringARunStopsItAfterTheRecordInHand) {
  MakeTwoTables(1200);
  Form2& window = Open();
  Click(window.ListView1(), 1);
  Click(window.ListView2(), 2);  // Name
  window.Combo1().SetSelectedIndex(0);  // Remove All Spaces
  QTimer closer;
  double progressAtClose = -1;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (window.ProgressBar1().Value() < 20) return;
    closer.stop();
    progressAtClose = window.ProgressBar1().Value();
    window.close();
  });
  closer.start(1);
  window.PushButton2().click();

  EXPECT_GT(progressAtClose, 0);
  EXPECT_EQ(programEnds, 1);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(messageBox.shown.empty());  // no "Done."
  EXPECT_TRUE(reports.empty());

  // A run of cleaned names, then the names as they were: nothing after the stop was written.
  const auto names = StoredTexts(boxes.path, u"Alpha", 1);
  ASSERT_EQ(names.size(), 1200u);
  size_t cleaned = 0;
  while (cleaned < names.size() && names[cleaned] == u"alphaname" + Main::FormatInteger(cleaned + 1)) ++cleaned;
  EXPECT_GE(cleaned, 1u);
  EXPECT_LT(cleaned, 1200u);
  for (size_t row = cleaned; row < names.size(); ++row) {
    ASSERT_EQ(names[row], u"alpha name " + Main::FormatInteger(row + 1)) << "row " << row;
  }
  const auto file = Main::PathFromText(boxes.path);
  Jet::OpenOptions forWriting;
  forWriting.readWrite = true;
  EXPECT_NO_THROW(Jet::Database::Open(file, forWriting));  // the lock is gone
  if (Oracle::MdbToolsPresent()) {
    EXPECT_EQ(Oracle::MdbExport(file, "Alpha").size(), 1201u);  // header + rows
  }
}

// A file the user may only read: the window browses it, and a run changes nothing and says so
// once for each marked field. The write bits decide, so this holds when the tests run as root.
TEST_F(RunEnds, ARunOnADatabaseThatCannotBeWrittenRefusesOncePerFieldAndLeavesTheFileAsItWas) {
  MakeTwoTables(600);
  const auto file = Main::PathFromText(boxes.path);
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  const std::string before = Bytes(file);
  Form2& window = Open();
  Click(window.ListView1(), 2);  // Beta
  ASSERT_EQ(Testing::Entries(window.ListView2()), (std::vector<std::u16string>{u"Ref", u"Title"}));
  EXPECT_EQ(window.ListView3().Count(), 101);
  window.PushButton4().click();  // both fields
  window.Combo1().SetSelectedIndex(1);  // Replace All Spaces With...
  window.PushButton2().click();  // no "Replace With:" for fields that take no change

  EXPECT_TRUE(reports.empty());
  std::vector<std::u16string> messages;
  for (const auto& shown : messageBox.shown) messages.push_back(shown.prompt);
  const std::u16string readOnly = u"Cannot update. Database or object is read-only.";
  EXPECT_EQ(messages, (std::vector<std::u16string>{
                          u"The field 'Ref' of table 'Beta' is left unchanged: " + readOnly,
                          u"The field 'Title' of table 'Beta' is left unchanged: " + readOnly, u"Done."}));
  EXPECT_TRUE(inputBox.asked.empty());
  EXPECT_EQ(Bytes(file), before);
  EXPECT_EQ(StoredTexts(boxes.path, u"Beta", 1).front(), u"beta title 1");
}

// One record of many that the engine refuses for its own sake (here: no room to record the page
// it would move to) is reported with the update step, and the run goes on with the next record.
TEST_F(RunEnds, ARecordRefusedForItsOwnSakeIsReportedAndTheFieldGoesOn) {
  MakeTwoTables(30);
  const auto previous = Access::InstallConnectionFactory(
      [] { return std::make_unique<::Testing::RefusingConnection>(u"alpha name 7"); });
  Form2& window = Open();
  Click(window.ListView1(), 1);
  Click(window.ListView2(), 2);  // Name
  window.Combo1().SetSelectedIndex(0);  // Remove All Spaces, whose update step is 150
  window.PushButton2().click();
  Access::InstallConnectionFactory(previous);

  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(::Testing::Names(reports[0], Main::HandlerProcedure(u"Form2", u"PushButton2_Click"), 150));
  ASSERT_EQ(messageBox.shown.size(), 1u);  // no "left unchanged", only "Done."
  EXPECT_EQ(messageBox.shown[0].prompt, u"Done.");
  const auto names = StoredTexts(boxes.path, u"Alpha", 1);
  ASSERT_EQ(names.size(), 30u);
  for (size_t row = 0; row < names.size(); ++row) {
    const std::u16string number = Main::FormatInteger(row + 1);
    EXPECT_EQ(names[row], row == 6 ? u"alpha name 7" : u"alphaname" + number) << "row " << row;
  }
}

}  // namespace
}  // namespace Windows
