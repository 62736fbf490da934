#include "selection/Form1.h"

#include <QCloseEvent>
#include <QStandardPaths>
#include <optional>
#include <vector>

#include "common/ApplicationTitle.h"
#include "common/Config.h"
#include "common/FileExists.h"
#include "common/StepTrap.h"
#include "common/Text.h"
#include "common/ui/qt/MouseMoves.h"
#include "common/ui/qt/ProgramIcon.h"
#include "common/ui/qt/QtText.h"
#include "common/ui/qt/Skin.h"
#include "common/ui/qt/WindowLayout.h"
#include "database/CheckDatabaseEngine.h"
#include "database/ListDatabaseTables.h"
#include "database/LoadTableList.h"
#include "selection/SampleDatabase.h"

namespace Windows {
namespace {

constexpr std::u16string_view kWindow = u"Form1";

template <class Control>
Control* NewControl(QWidget& parent, const QString& text, double points, int left, int top, int width, int height) {
  auto* control = new Control(text, &parent);
  control->setFont(Ui::ArialFont(points, true));
  Ui::PlaceInTwips(*control, left, top, width, height);
  return control;
}

}  // namespace

Form1::Form1(WindowServices& services) : services_(services), pointer_(*this) {
  setFont(Ui::ArialFont(9, false));
  Ui::MakeFixedWindow(*this, 8040, 2085);
  frame1_ = NewControl<QGroupBox>(*this, QStringLiteral("Access Database"), 9, 120, 120, 7800, 1335);
  label5_ = NewControl<QLabel>(*frame1_, QStringLiteral("MDB or ACCDB File:"), 9, 240, 345, 1935, 255);
  text1_ = NewControl<TextBox>(*frame1_, QString(), 9, 2280, 300, 4695, 345);
  pushButton1_ = NewControl<QPushButton>(*frame1_, QStringLiteral("..."), 11.25, 7080, 300, 450, 345);
  lblPassword_ = NewControl<QLabel>(*frame1_, QStringLiteral("Password (if required):"), 9, 240, 840, 1950, 225);
  text2_ = NewControl<TextBox>(*frame1_, QString(), 9, 2280, 800, 5265, 345);
  text2_->setEchoMode(QLineEdit::Password);
  text2_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // every character as "*"
  pushButton3_ = NewControl<QPushButton>(*this, QStringLiteral("Load Sample/Example Database"), 11.25, 120, 1580, 3840, 405);
  pushButton2_ = NewControl<QPushButton>(*this, QStringLiteral("Next >"), 11.25, 4080, 1575, 3840, 405);
  for (QLabel* label : {label5_, lblPassword_}) label->setFocusPolicy(Qt::NoFocus);
  frame1_->setFocusPolicy(Qt::NoFocus);
  setTabOrder(text1_, pushButton1_);
  setTabOrder(pushButton1_, text2_);
  setTabOrder(text2_, pushButton3_);
  setTabOrder(pushButton3_, pushButton2_);

  connect(pushButton1_, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
  connect(pushButton2_, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
  connect(pushButton3_, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
  connect(text1_, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
  connect(text2_, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
  text1_->onGotFocus = [this] { Text1_GotFocus(); };
  text2_->onGotFocus = [this] { Text2_GotFocus(); };

  // The pointer rule: the hand over the buttons, the arrow over the background, the frame and the
  // boxes; the labels leave it as it is.
  const auto overBackground = [this] { Ui::PointerOverBackground(pointer_); };
  for (QWidget* part : {static_cast<QWidget*>(this), static_cast<QWidget*>(frame1_), static_cast<QWidget*>(text1_),
                        static_cast<QWidget*>(text2_)}) {
    Ui::WatchMouseMoves(*part, overBackground);
  }
  for (QPushButton* button : {pushButton1_, pushButton2_, pushButton3_}) {
    Ui::WatchMouseMoves(*button, [this] { Ui::PointerOverButton(pointer_); });
  }
  for (QLabel* label : {label5_, lblPassword_}) Ui::WatchMouseMoves(*label, {});
  Ui::CentreOnScreen(*this);
}

Form1::~Form1() = default;

std::u16string Form1::DatabasePath() const { return Ui::FromQString(text1_->text()); }

std::u16string Form1::DatabasePassword() const { return Ui::FromQString(text2_->text()); }

Form2& Form1::MainWindow() {
  if (!form2_) {
    form2_ = std::make_unique<Form2>(*this, services_, [this] { show(); });
    form2_->Form_Load();
  }
  return *form2_;
}

void Form1::Form_Load() {
  Main::StepTrap trap(Main::HandlerProcedure(kWindow, u"Form_Load"));
  trap.step(100, [&] { Ui::ApplySkin(*this); });
  trap.step(106, [&] {
    setWindowTitle(Ui::ToQString(Main::Config::kProductName));
    setWindowIcon(Ui::ProgramIcon());
    Main::SetApplicationTitle();
  });
  if (trap.test(124, [] { return Main::FileExists(Ui::HandPointerPath()); })) {
    trap.step(126, [&] { pointer_.LoadCustomImage(Ui::HandPointerPath()); });
  }
  trap.step(128, [&] { text1_->setText(Ui::ToQString(services_.settings.Read(Main::SettingsStore::kDatabasePathKey))); });
  trap.step(130, [&] { text2_->setText(Ui::ToQString(services_.settings.Read(Main::SettingsStore::kPasswordKey))); });
  bool engineThere = true;
  trap.step(136, [&] { engineThere = Access1::CheckDatabaseEngine(services_.messageBox, services_.urlOpener); });
  if (!engineThere) {
    services_.endProgram();
    return;
  }
  if (trap.test(132, [&] { return Main::FileExists(DatabasePath()); })) {
    trap.step(134, [&] { PushButton2_Click(); });
  }
}

void Form1::PushButton1_Click() {
  Main::StepTrap trap(Main::HandlerProcedure(kWindow, u"PushButton1_Click"));
  std::u16string fileName;
  Ui::OpenFileRequest request;
  trap.step(100, [&] { fileName.clear(); });
  trap.step(102, [&] { request.flags = Ui::kReadOnlyTicked | Ui::kExplorerStyle | Ui::kLongNames; });
  trap.step(104, [&] { request.title = kBrowseTitle; });
  trap.step(106, [&] { request.filter = kBrowseFilter; });
  trap.step(108, [&] { fileName = services_.fileDialog.ShowOpen(request); });
  if (trap.test(110, [&] { return !fileName.empty(); })) {
    trap.step(112, [&] { text1_->setText(Ui::ToQString(fileName)); });
  }
}

void Form1::PushButton2_Click() {
  Main::StepTrap trap(Main::HandlerProcedure(kWindow, u"PushButton2_Click"));
  std::optional<std::vector<std::u16string>> tables;
  trap.step(100, [&] { tables = Access1::ListDatabaseTables(DatabasePath(), *this); });
  if (trap.test(102, [&] { return !tables.has_value(); })) return;  // step 104: nothing to show
  trap.step(106, [&] {
    Form2& mainWindow = MainWindow();
    mainWindow.ClearLists();
    Access1::LoadTableList(*this, mainWindow.ListView1());
  });
  trap.step(108, [&] { MainWindow().show(); });
  trap.step(110, [&] { hide(); });
}

void Form1::PushButton3_Click() {
  Main::StepTrap trap(Main::HandlerProcedure(kWindow, u"PushButton3_Click"));
  trap.step(100, [&] {
    const std::filesystem::path sample =
        UsableSample(Main::PathFromText(Ui::ProgramFolder() + u"/Samples/sample.mdb"),
                     QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdU16String());
    text1_->setText(Ui::ToQString(Main::FromUtf8(sample.string())));
  });
}

void Form1::Text1_Change() { StoreSetting(services_, Main::SettingsStore::kDatabasePathKey, DatabasePath()); }

void Form1::Text2_Change() { StoreSetting(services_, Main::SettingsStore::kPasswordKey, DatabasePassword()); }

void Form1::Text1_GotFocus() { text1_->setSelection(0, static_cast<int>(text1_->text().size())); }

void Form1::Text2_GotFocus() { text2_->setSelection(0, static_cast<int>(text2_->text().size())); }

void Form1::closeEvent(QCloseEvent* event) {
  event->accept();
  if (services_.endProgram) services_.endProgram();
}

}  // namespace Windows
