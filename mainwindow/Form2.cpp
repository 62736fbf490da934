#include "mainwindow/Form2.h"

#include <QCloseEvent>

#include "common/ApplicationTitle.h"
#include "common/Config.h"
#include "common/ErrorReport.h"
#include "common/FileExists.h"
#include "common/StepTrap.h"
#include "common/Value.h"
#include "common/ui/EventPump.h"
#include "common/ui/qt/MouseMoves.h"
#include "common/ui/qt/ProgramIcon.h"
#include "common/ui/qt/QtText.h"
#include "common/ui/qt/Skin.h"
#include "common/ui/qt/WindowLayout.h"
#include "engine/OperationCatalogue.h"
#include "mainwindow/OperationIndex.h"

namespace Windows {
namespace {

constexpr std::u16string_view kWindow = u"Form2";
constexpr int kDefaultColumnTwips = 1440;

QPushButton* NewButton(QWidget& parent, const char16_t* caption, int left, int top, int width, int height) {
  auto* button = new QPushButton(Ui::ToQString(caption), &parent);
  button->setFont(Ui::ArialFont(11.25, true));
  Ui::PlaceInTwips(*button, left, top, width, height);
  return button;
}

Ui::QtListView* NewList(QWidget& parent, Ui::QtListView::Selection selection, int left, int top, int width,
                        int height) {
  auto* list = new Ui::QtListView(selection, &parent);
  Ui::PlaceInTwips(*list, left, top, width, height);
  list->SetToolTip(kListToolTip);
  return list;
}

}  // namespace

Form2::Form2(const Access1::DatabaseChoice& choice, WindowServices& services,
             std::function<void()> showSelectionWindow)
    : choice_(choice), services_(services), showSelectionWindow_(std::move(showSelectionWindow)), pointer_(*this) {
  setFont(Ui::ArialFont(9, true));
  Ui::MakeFixedWindow(*this, 9240, 7890);
  using Selection = Ui::QtListView::Selection;
  pushButton3_ = NewButton(*this, u"Help", 120, 120, 9000, 405);
  listView1_ = NewList(*this, Selection::kOne, 120, 630, 4440, 2550);
  listView2_ = NewList(*this, Selection::kSeveral, 4680, 630, 4440, 2055);
  pushButton4_ = NewButton(*this, u"Select All Fields", 4680, 2775, 2055, 405);
  pushButton5_ = NewButton(*this, u"Unselect All Fields", 6840, 2775, 2280, 405);
  listView3_ = NewList(*this, Selection::kOne, 120, 3270, 9000, 2670);
  frame1_ = new QGroupBox(QStringLiteral("Remove/Replace Options"), this);
  Ui::PlaceInTwips(*frame1_, 120, 5985, 9000, 800);
  combo1_ = new Ui::QtDropDownList(frame1_);
  Ui::PlaceInTwips(*combo1_, 240, 300, 8520, 345);
  pushButton2_ = NewButton(*this, u"Start Removing", 120, 6900, 4800, 405);
  pushButton1_ = NewButton(*this, u"Switch Access Database", 5040, 6900, 4080, 405);
  progressBar1_ = new Ui::QtProgressBar(this);
  Ui::PlaceInTwips(*progressBar1_, 120, 7425, 9000, 405);
  progressBar1_->SetCaption(u"Progress Bar");

  listView1_->onChoose = [this] { ListView1_Click(); };
  listView2_->onChoose = [this] { ListView2_Click(); };
  connect(pushButton1_, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
  connect(pushButton2_, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
  connect(pushButton3_, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
  connect(pushButton4_, &QPushButton::clicked, this, [this] { PushButton4_Click(); });
  connect(pushButton5_, &QPushButton::clicked, this, [this] { PushButton5_Click(); });
  combo1_->onClick = [this] { Combo1_Click(); };
  combo1_->onChange = [this] { Combo1_Click(); };

  // The pointer rule: the hand over the buttons, the arrow over the background, the frame and the
  // lists; the operation list and the progress bar leave it as it is.
  const auto overBackground = [this] { Ui::PointerOverBackground(pointer_); };
  Ui::WatchMouseMoves(*this, overBackground);
  Ui::WatchMouseMoves(*frame1_, overBackground);
  for (Ui::QtListView* list : {listView1_, listView2_, listView3_}) list->onMouseMove = overBackground;
  for (QPushButton* button : {pushButton1_, pushButton2_, pushButton3_, pushButton4_, pushButton5_}) {
    Ui::WatchMouseMoves(*button, [this] { Ui::PointerOverButton(pointer_); });
  }
  Ui::WatchMouseMoves(*combo1_, {});
  Ui::WatchMouseMoves(*progressBar1_, {});
  Ui::CentreOnScreen(*this);
}

BrowsingControls Form2::Browsing() {
  const int listing = ++listings_;
  return {*listView1_, *listView2_, *listView3_, pointer_, [this, listing] { return listing != listings_; }};
}

void Form2::Form_Load() {
  Main::StepTrap trap(Main::HandlerProcedure(kWindow, u"Form_Load"));
  trap.step(100, [&] { Ui::ApplyButtonFaceColors(*this); });
  trap.step(102, [&] { setWindowIcon(Ui::ProgramIcon()); });
  if (trap.test(106, [] { return Main::FileExists(Ui::HandPointerPath()); })) {
    trap.step(108, [&] { pointer_.LoadCustomImage(Ui::HandPointerPath()); });
  }
  trap.step(110, [&] { setWindowTitle(Ui::ToQString(Main::Config::kProductName)); });
  const auto& operations = Engine::Operations();
  for (size_t i = 0; i < operations.size(); ++i) {
    trap.step(112 + 2 * static_cast<int>(i), [&] { combo1_->AddItem(operations[i].listText); });
  }
  trap.step(166, [&] {
    combo1_->SetSelectedIndex(
        StoredOperationIndex(services_.settings.Read(Main::SettingsStore::kOperationKey, u"0")));
  });
  trap.step(168, [&] { listView1_->AddColumn(u"Table(s)", kDefaultColumnTwips); });
  trap.step(170, [&] { listView1_->SetColumnWidth(4000); });
  trap.step(172, [&] { listView2_->AddColumn(u"Field(s)", kDefaultColumnTwips); });
  trap.step(174, [&] { listView2_->SetColumnWidth(4000); });
  trap.step(176, [&] { listView3_->AddColumn(u"First 100 Records In Selected Field (Preview)", kDefaultColumnTwips); });
  trap.step(178, [&] { listView3_->SetColumnWidth(8500); });
  if (trap.test(180, [&] { return listView1_->Count() >= 1; })) {
    if (!trap.step(180, [&] { ShowTableFields(choice_, Browsing()); })) {
      listView2_->Clear();
      listView3_->Clear();
      pointer_.SetPointer(Ui::kPointerDefault);
    }
  }
}

void Form2::ListOnClick(std::u16string_view handler,
                        void (*listing)(const Access1::DatabaseChoice&, const BrowsingControls&),
                        std::initializer_list<Ui::ListView*> emptied) {
  try {
    listing(choice_, Browsing());
  } catch (...) {
    for (Ui::ListView* list : emptied) list->Clear();
    pointer_.SetPointer(Ui::kPointerDefault);
    Main::ReportError(Main::HandlerProcedure(kWindow, handler), 100, Main::DescribeCurrentException());
  }
}

// While a run is at work the lists are closed to the user and a choice made by the program is
// not followed: the fields and the preview on screen stay those of the table the run cleans.
void Form2::ListView1_Click() {
  if (runInProgress_ || !listView1_->CurrentEntry()) return;
  ListOnClick(u"ListView1_Click", &ShowTableFields, {listView2_, listView3_});
}

void Form2::ListView2_Click() {
  if (runInProgress_ || !listView2_->CurrentEntry() || !listView1_->CurrentEntry()) return;
  ListOnClick(u"ListView2_Click", &ShowFieldPreview, {listView3_});
}

void Form2::PushButton1_Click() {
  Main::StepTrap trap(Main::HandlerProcedure(kWindow, u"PushButton1_Click"));
  trap.step(100, [&] { showSelectionWindow_(); });
  trap.step(102, [&] { hide(); });
}

void Form2::PushButton2_Click() {
  if (!services_.startRemoving || runInProgress_) return;
  // The table and field lists keep what the run works on in view until it ends, and the database
  // stays the one it cleans.
  struct RunInProgress {
    Form2& window;
    explicit RunInProgress(Form2& form) : window(form) { Set(true); }
    ~RunInProgress() { Set(false); }
    void Set(bool running) {
      window.runInProgress_ = running;
      window.listView1_->setEnabled(!running);
      window.listView2_->setEnabled(!running);
      window.pushButton1_->setEnabled(!running);
    }
  } inProgress(*this);
  services_.startRemoving(*this);
}

void Form2::PushButton3_Click() {
  Main::StepTrap trap(Main::HandlerProcedure(kWindow, u"PushButton3_Click"));
  trap.step(100, [&] {
    services_.messageBox.Show(u"If you would like to add characters to records, there is software at " +
                                  std::u16string(Main::Config::kAddTextProductAddress) + u" that will do this.",
                              Ui::kOkOnly, Main::ApplicationTitle());
  });
}

void Form2::MarkEveryField(std::u16string_view handler, bool selected) {
  Main::StepTrap trap(Main::HandlerProcedure(kWindow, handler));
  int count = 0;
  trap.step(100, [&] { count = listView2_->Count(); });
  for (int index = 1; index <= count; ++index) {
    trap.step(102, [] { Ui::PumpEvents(); });
    trap.step(104, [&] { listView2_->SetEntrySelected(index, selected); });
  }
}

void Form2::PushButton4_Click() { MarkEveryField(u"PushButton4_Click", true); }

void Form2::PushButton5_Click() { MarkEveryField(u"PushButton5_Click", false); }

void Form2::Combo1_Click() {
  StoreSetting(services_, Main::SettingsStore::kOperationKey, Main::FormatInteger(combo1_->SelectedIndex()));
}

void Form2::ClearLists() {
  ++listings_;  // a listing under way stops
  for (Ui::ListView* list : {static_cast<Ui::ListView*>(listView1_), static_cast<Ui::ListView*>(listView2_),
                             static_cast<Ui::ListView*>(listView3_)}) {
    list->Clear();
  }
}

void Form2::closeEvent(QCloseEvent* event) {
  event->accept();
  if (services_.endProgram) services_.endProgram();
}

}  // namespace Windows
