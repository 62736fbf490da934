#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/ui/Dialogs.h"
#include "common/ui/FileDialog.h"
#include "common/ui/UrlOpener.h"

// Dialogs that answer from a script and remember what they were asked, so that tests can drive
// everything that asks the user.
namespace Testing {

struct AskedBox {
  std::u16string prompt;
  std::u16string title;
};

class ScriptedInputBox : public Ui::InputBoxService {
 public:
  // Queues the answers: a text for OK, std::nullopt for Cancel.
  void Answer(std::optional<std::u16string> answer) { answers_.push_back(std::move(answer)); }

  std::optional<std::u16string> Ask(std::u16string_view prompt, std::u16string_view title) override {
    asked.push_back({std::u16string(prompt), std::u16string(title)});
    if (answers_.empty()) throw std::logic_error("an input box was shown that the test did not expect");
    auto answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
  }

  std::vector<std::u16string> Prompts() const {
    std::vector<std::u16string> prompts;
    for (const auto& box : asked) prompts.push_back(box.prompt);
    return prompts;
  }
  bool AllAnswersUsed() const { return answers_.empty(); }

  std::vector<AskedBox> asked;

 private:
  std::deque<std::optional<std::u16string>> answers_;
};

class ScriptedMessageBox : public Ui::MessageBoxService {
 public:
  struct Shown {
    std::u16string prompt;
    int style;
    std::u16string title;
  };

  int Show(std::u16string_view prompt, int style, std::u16string_view title) override {
    shown.push_back({std::u16string(prompt), style, std::u16string(title)});
    return style == Ui::kYesNo ? answerToYesNo : Ui::kAnswerOk;
  }

  int answerToYesNo = Ui::kAnswerNo;
  std::vector<Shown> shown;
};

class ScriptedFileDialog : public Ui::OpenFileDialog {
 public:
  // Queues the answers: a full path for a chosen file, the empty text for Cancel.
  void Answer(std::u16string fileName) { answers_.push_back(std::move(fileName)); }

  std::u16string ShowOpen(const Ui::OpenFileRequest& request) override {
    shown.push_back(request);
    if (answers_.empty()) throw std::logic_error("a file dialog was shown that the test did not expect");
    auto answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
  }
  bool AllAnswersUsed() const { return answers_.empty(); }

  std::vector<Ui::OpenFileRequest> shown;

 private:
  std::deque<std::u16string> answers_;
};

class ScriptedUrlOpener : public Ui::UrlOpener {
 public:
  bool Open(std::u16string_view url) override {
    opened.emplace_back(url);
    return answer;
  }

  bool answer = true;  // what every Open answers
  std::vector<std::u16string> opened;
};

}  // namespace Testing
