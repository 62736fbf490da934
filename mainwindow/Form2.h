#pragma once

#include <QGroupBox>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "common/ui/qt/QtDropDownList.h"
#include "common/ui/qt/QtListView.h"
#include "common/ui/qt/QtProgressBar.h"
#include "common/ui/qt/QtWindowPointer.h"
#include "database/BuildConnectionString.h"
#include "mainwindow/FieldBrowsing.h"
#include "mainwindow/WindowServices.h"

namespace Windows {

// The main window: the database's tables, the chosen table's fields, a preview of the chosen
// field, the operation list and the commands. It holds no connection; each click reads the
// database named by the selection window afresh.
class Form2 : public QWidget {
 public:
  Form2(const Access1::DatabaseChoice& choice, WindowServices& services,
        std::function<void()> showSelectionWindow);

  // The handlers, named after their controls and events.
  void Form_Load();
  void ListView1_Click();
  void ListView2_Click();
  void PushButton1_Click();
  void PushButton2_Click();
  void PushButton3_Click();
  void PushButton4_Click();
  void PushButton5_Click();
  void Combo1_Click();

  // Empties the table list, the field list and the preview (before another database's tables
  // are listed, so that a listing that fails leaves no other database's lists on screen).
  void ClearLists();

  // Whether "Start Removing" is at work (it yields to the windows while it does).
  bool RunInProgress() const { return runInProgress_; }

  Ui::QtListView& ListView1() { return *listView1_; }
  Ui::QtListView& ListView2() { return *listView2_; }
  Ui::QtListView& ListView3() { return *listView3_; }
  Ui::QtDropDownList& Combo1() { return *combo1_; }
  Ui::QtProgressBar& ProgressBar1() { return *progressBar1_; }
  QPushButton& PushButton1() { return *pushButton1_; }
  QPushButton& PushButton2() { return *pushButton2_; }
  QPushButton& PushButton3() { return *pushButton3_; }
  QPushButton& PushButton4() { return *pushButton4_; }
  QPushButton& PushButton5() { return *pushButton5_; }
  QGroupBox& Frame1() { return *frame1_; }
  Ui::QtWindowPointer& Pointer() { return pointer_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The controls of a new listing; it counts as superseded once another listing starts.
  BrowsingControls Browsing();
  // Runs a click-started listing; a failure is reported under `handler` and leaves `emptied` empty.
  void ListOnClick(std::u16string_view handler, void (*listing)(const Access1::DatabaseChoice&, const BrowsingControls&),
                   std::initializer_list<Ui::ListView*> emptied);
  void MarkEveryField(std::u16string_view handler, bool selected);

  const Access1::DatabaseChoice& choice_;
  WindowServices& services_;
  std::function<void()> showSelectionWindow_;
  Ui::QtWindowPointer pointer_;
  int listings_ = 0;  // listings started, the newest one last
  bool runInProgress_ = false;

  QPushButton* pushButton3_;
  Ui::QtListView* listView1_;
  Ui::QtListView* listView2_;
  QPushButton* pushButton4_;
  QPushButton* pushButton5_;
  Ui::QtListView* listView3_;
  QGroupBox* frame1_;
  Ui::QtDropDownList* combo1_;
  QPushButton* pushButton2_;
  QPushButton* pushButton1_;
  Ui::QtProgressBar* progressBar1_;
};

// The tooltip of the three lists.
inline constexpr std::u16string_view kListToolTip = u"Move | line to right and out of window to reveal full names.";

}  // namespace Windows
