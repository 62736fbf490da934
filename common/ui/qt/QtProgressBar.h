#pragma once

#include <QProgressBar>
#include <QString>

#include "common/ui/ProgressView.h"

// The progress bar as a Qt progress bar in hundredths of a percent, with the caption drawn on it
// in place of a percentage.
namespace Ui {

class QtProgressBar : public QProgressBar, public ProgressView {
 public:
  explicit QtProgressBar(QWidget* parent = nullptr);

  void SetValue(double percent) override;
  double Value() const override;
  void SetCaption(std::u16string_view caption) override;
  std::u16string Caption() const override;

  QString text() const override;  // the caption, which the style draws on the bar

 private:
  double percent_ = 0;
  QString caption_;
};

}  // namespace Ui
