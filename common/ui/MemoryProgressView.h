#pragma once

#include <string>

#include "common/ui/ProgressView.h"

namespace Ui {

// A progress bar held in memory that keeps its last value and caption: the bar of a run without
// windows, read by whoever shows the progress another way.
class MemoryProgressView : public ProgressView {
 public:
  void SetValue(double percent) override {
    CheckProgressPercent(percent);
    percent_ = percent;
  }
  double Value() const override { return percent_; }
  void SetCaption(std::u16string_view caption) override { caption_ = caption; }
  std::u16string Caption() const override { return caption_; }

 private:
  double percent_ = 0;
  std::u16string caption_;
};

}  // namespace Ui
