#pragma once

#include <QTest>

#include "common/ui/EventPump.h"
#include "common/ui/qt/QtEventPump.h"
#include "database/LoadTableList.h"
#include "mainwindow/CleaningRunStarter.h"
#include "mainwindow/Form2.h"
#include "tests/support/WindowTesting.h"

// What the tests of the main window at work share.
namespace Windows {

// The database the selection window would name.
struct ChosenDatabase : Access1::DatabaseChoice {
  std::u16string path;
  std::u16string DatabasePath() const override { return path; }
  std::u16string DatabasePassword() const override { return {}; }
};

// The main window over a database of the test, with the real cleaning run behind "Start Removing"
// and the Qt event pump installed, so that the run yields to the window as it does in the program.
class RunWindowTest : public Testing::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    previousPump_ = Ui::InstallEventPump(Ui::QtEventPumpHooks(std::chrono::milliseconds(0)));
  }
  void TearDown() override {
    Ui::InstallEventPump(std::move(previousPump_));
    WindowTest::TearDown();
  }

  // Two tables whose fields have other names: Alpha (Code, Name) and Beta (Ref, Title), each
  // value with spaces in it.
  void MakeTwoTables(int rowsEach) {
    std::vector<Jet::Row> alpha;
    std::vector<Jet::Row> beta;
    for (int n = 1; n <= rowsEach; ++n) {
      const std::u16string number = Main::FormatInteger(n);
      alpha.push_back({Main::Value::Text(u"A " + number), Main::Value::Text(u"alpha name " + number)});
      beta.push_back({Main::Value::Text(u"B " + number), Main::Value::Text(u"beta title " + number)});
    }
    boxes.path = MakeDatabase("two.mdb",
                              {{u"Alpha", {{u"Code", Jet::FieldType::Text, 20}, {u"Name", Jet::FieldType::Text, 40}}},
                               {u"Beta", {{u"Ref", Jet::FieldType::Text, 20}, {u"Title", Jet::FieldType::Text, 40}}}},
                              {{u"Alpha", alpha}, {u"Beta", beta}});
  }

  Form2& Open() {
    services.startRemoving = CleaningRunStarter(inputBox, messageBox, boxes);
    form = std::make_unique<Form2>(boxes, services, [] {});
    form->Form_Load();
    Access1::LoadTableList(boxes, form->ListView1());
    form->show();
    return *form;
  }

  static void Click(Ui::QtListView& list, int index) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                      list.visualItemRect(list.topLevelItem(index - 1)).center());
  }

  ChosenDatabase boxes;
  Testing::ScriptedInputBox inputBox;
  std::unique_ptr<Form2> form;

 private:
  Ui::EventPumpHooks previousPump_;
};

}  // namespace Windows
