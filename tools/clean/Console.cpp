#include "tools/clean/Console.h"

#include "common/Text.h"

namespace Clean {
namespace {

// Clears the terminal's current line: back to its start, then erase to its end.
constexpr std::string_view kClearLine = "\r\x1b[K";

std::u16string WithLineBreaks(std::u16string_view text) {
  std::u16string lines;
  lines.reserve(text.size());
  for (size_t n = 0; n < text.size(); ++n) {
    if (text[n] == u'\r') {
      lines += u'\n';
      if (n + 1 < text.size() && text[n + 1] == u'\n') ++n;
    } else {
      lines += text[n];
    }
  }
  return lines;
}

}  // namespace

void Console::Result(std::u16string_view line) {
  EndProgress();
  out_ << Main::ToUtf8(line) << '\n';
}

void Console::Message(std::u16string_view text) {
  EndProgress();
  out_.flush();
  err_ << Main::ToUtf8(WithLineBreaks(text)) << std::endl;
}

void Console::Progress(std::u16string_view line) {
  if (terminal_) {
    err_ << kClearLine << Main::ToUtf8(line) << std::flush;
    progressShown_ = true;
  } else {
    err_ << Main::ToUtf8(line) << '\n';
  }
}

void Console::EndProgress() {
  if (!progressShown_) return;
  err_ << '\n' << std::flush;
  progressShown_ = false;
}

std::u16string OneLine(std::u16string_view value) {
  std::u16string line;
  line.reserve(value.size());
  for (const char16_t c : value) {
    switch (c) {
      case u'\\': line += u"\\\\"; break;
      case u'\t': line += u"\\t"; break;
      case u'\n': line += u"\\n"; break;
      case u'\r': line += u"\\r"; break;
      default: line += c;
    }
  }
  return line;
}

}  // namespace Clean
