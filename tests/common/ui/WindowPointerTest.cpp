#include <gtest/gtest.h>

#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "common/ui/ControlErrors.h"
#include "common/ui/qt/MouseMoves.h"
#include "common/ui/qt/QtWindowPointer.h"
#include "tests/common/ui/CursorFileBuilder.h"
#include "tests/common/ui/ErrorNumber.h"
#include "tests/support/ScriptedControls.h"

namespace Ui {
namespace {

using Testing::ErrorNumberOf;

// A window with its Qt pointer.
struct QtPointer {
  QWidget window;
  QtWindowPointer pointer{window};
};

// The pointer rule over both implementations of the pointer.
template <class Pointer>
class PointerRuleTest : public testing::Test {};
using Pointers = testing::Types<QtPointer, Testing::ScriptedWindowPointer>;
TYPED_TEST_SUITE(PointerRuleTest, Pointers);

WindowPointer& PointerOf(QtPointer& owner) { return owner.pointer; }
WindowPointer& PointerOf(Testing::ScriptedWindowPointer& pointer) { return pointer; }

TYPED_TEST(PointerRuleTest, ButtonsGiveTheCustomPointerBackgroundsTheDefaultButNeverWhileBusy) {
  TypeParam owner;
  WindowPointer& pointer = PointerOf(owner);
  EXPECT_EQ(pointer.Pointer(), kPointerDefault);
  PointerOverButton(pointer);
  EXPECT_EQ(pointer.Pointer(), kPointerCustom);
  PointerOverBackground(pointer);
  EXPECT_EQ(pointer.Pointer(), kPointerDefault);

  pointer.SetPointer(kPointerBusy);
  PointerOverButton(pointer);
  EXPECT_EQ(pointer.Pointer(), kPointerBusy);
  PointerOverBackground(pointer);
  EXPECT_EQ(pointer.Pointer(), kPointerBusy);
  pointer.SetPointer(kPointerDefault);  // only the operation that set busy puts it back
  PointerOverButton(pointer);
  EXPECT_EQ(pointer.Pointer(), kPointerCustom);

  EXPECT_EQ(ErrorNumberOf([&] { pointer.SetPointer(1); }), ControlError::kInvalidPropertyValue);
  EXPECT_EQ(pointer.Pointer(), kPointerCustom);
}

std::vector<std::uint8_t> HandCursorFile() {
  Testing::CursorDrawing drawing;
  drawing.hotspotX = 6;
  drawing.hotspotY = 1;
  drawing.colour = [](int x, int y) { return (x + y) % 2 == 0 ? 0xFFFFFFu : 0u; };
  drawing.mask = [](int x, int) { return x >= 16; };
  return Testing::CursorFileBuilder::Build(drawing);
}

QString WriteFile(const QTemporaryDir& folder, const char* name, const std::vector<std::uint8_t>& bytes) {
  const QString path = folder.filePath(QString::fromLatin1(name));
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  return path;
}

TEST(QtWindowPointer, BusyPutsTheWaitCursorOverTheWholeProgramUntilItEnds) {
  QWidget window;
  QtWindowPointer pointer(window);
  ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
  pointer.SetPointer(kPointerBusy);
  pointer.SetPointer(kPointerBusy);  // set twice, taken back once
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
  pointer.SetPointer(kPointerDefault);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);

  {
    QtWindowPointer forgotten(window);
    forgotten.SetPointer(kPointerBusy);
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtWindowPointer, CustomPointerShowsTheCursorFileOrTheArrowWithoutOne) {
  QWidget window;
  QtWindowPointer pointer(window);
  pointer.SetPointer(kPointerCustom);
  EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);

  const QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  pointer.LoadCustomImage(WriteFile(folder, "HAND-M.CUR", HandCursorFile()).toStdU16String());
  EXPECT_TRUE(pointer.HasCustomImage());
  EXPECT_EQ(window.cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(window.cursor().hotSpot(), QPoint(6, 1));
  EXPECT_EQ(window.cursor().pixmap().size(), QSize(32, 32));
  const QImage image = window.cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(image.pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image.pixel(1, 0), 0xFF000000u);
  EXPECT_EQ(qAlpha(image.pixel(20, 3)), 0);

  pointer.SetPointer(kPointerDefault);
  EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
  pointer.SetPointer(kPointerBusy);
  EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
  pointer.SetPointer(kPointerDefault);
}

TEST(QtWindowPointer, UnreadableCursorFilesThrowAndLeaveTheImageAsItWas) {
  QWidget window;
  QtWindowPointer pointer(window);
  const QTemporaryDir folder;
  EXPECT_EQ(ErrorNumberOf([&] { pointer.LoadCustomImage(folder.filePath("missing.cur").toStdU16String()); }),
            ControlError::kFileNotFound);
  std::vector<std::uint8_t> broken = HandCursorFile();
  broken.resize(100);
  const QString brokenPath = WriteFile(folder, "broken.cur", broken);
  EXPECT_EQ(ErrorNumberOf([&] { pointer.LoadCustomImage(brokenPath.toStdU16String()); }),
            ControlError::kInvalidPicture);
  EXPECT_FALSE(pointer.HasCustomImage());
  pointer.SetPointer(kPointerCustom);
  EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST(MouseMoves, TheRuleFollowsTheMouseOverButtonsFramesAndUnwatchedLabels) {
  QWidget window;
  auto* frame = new QGroupBox(QStringLiteral("Access Database"));
  auto* button = new QPushButton(QStringLiteral("..."));
  auto* label = new QLabel(QStringLiteral("MDB or ACCDB File:"));
  auto* inside = new QVBoxLayout(frame);
  inside->addWidget(label);
  inside->addWidget(button);
  (new QVBoxLayout(&window))->addWidget(frame);
  window.resize(300, 200);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  QtWindowPointer pointer(window);
  WatchMouseMoves(window, [&] { PointerOverBackground(pointer); });
  WatchMouseMoves(*frame, [&] { PointerOverBackground(pointer); });
  WatchMouseMoves(*button, [&] { PointerOverButton(pointer); });

  const auto moveOver = [&](QWidget* widget) {
    QTest::mouseMove(&window, widget->mapTo(&window, widget->rect().center()));
  };
  moveOver(button);
  EXPECT_EQ(pointer.Pointer(), kPointerCustom);
  moveOver(label);  // the labels have no pointer handling
  EXPECT_EQ(pointer.Pointer(), kPointerCustom);
  QTest::mouseMove(&window, frame->mapTo(&window, QPoint(frame->width() - 3, frame->height() - 3)));
  EXPECT_EQ(pointer.Pointer(), kPointerDefault);
  moveOver(button);
  EXPECT_EQ(pointer.Pointer(), kPointerCustom);
  QTest::mouseMove(&window, QPoint(1, 1));
  EXPECT_EQ(pointer.Pointer(), kPointerDefault);

  pointer.SetPointer(kPointerBusy);
  moveOver(button);
  EXPECT_EQ(pointer.Pointer(), kPointerBusy);
  pointer.SetPointer(kPointerDefault);
}

}  // namespace
}  // namespace Ui
