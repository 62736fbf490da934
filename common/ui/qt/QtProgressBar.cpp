#include "common/ui/qt/QtProgressBar.h"

#include <cmath>

#include "common/ui/qt/QtText.h"

namespace Ui {
namespace {

constexpr int kStepsPerPercent = 100;

}  // namespace

QtProgressBar::QtProgressBar(QWidget* parent) : QProgressBar(parent) {
  setRange(0, 100 * kStepsPerPercent);
  setValue(0);
  setTextVisible(true);
  setAlignment(Qt::AlignCenter);
}

void QtProgressBar::SetValue(double percent) {
  CheckProgressPercent(percent);
  percent_ = percent;
  setValue(static_cast<int>(std::lround(percent * kStepsPerPercent)));
}

double QtProgressBar::Value() const { return percent_; }

void QtProgressBar::SetCaption(std::u16string_view caption) {
  caption_ = ToQString(caption);
  update();
}

std::u16string QtProgressBar::Caption() const { return FromQString(caption_); }

QString QtProgressBar::text() const { return caption_; }

}  // namespace Ui
