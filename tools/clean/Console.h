#pragma once

#include <ostream>
#include <string>
#include <string_view>

// The command line's output: results on standard output, progress and messages on standard
// error, where a terminal carries one progress line redrawn in place.
namespace Clean {

class Console {
 public:
  Console(std::ostream& out, std::ostream& err, bool errIsTerminal)
      : out_(out), err_(err), terminal_(errIsTerminal) {}

  bool ErrIsTerminal() const { return terminal_; }

  // A line of results on standard output (after any progress line is put away).
  void Result(std::u16string_view line);
  // A message on standard error, on lines of its own; CR LF and lone CRs become line breaks.
  void Message(std::u16string_view text);
  // On a terminal: draws `line` in place of the progress line. Elsewhere: writes it as a line.
  void Progress(std::u16string_view line);
  // Ends the progress line on a terminal, so that what follows starts on a line of its own.
  void EndProgress();

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool terminal_;
  bool progressShown_ = false;
};

// The text of a value on one output line: backslash, tab, line feed and carriage return written
// as \\, \t, \n and \r, so that a value never breaks a line or a tab-separated column.
std::u16string OneLine(std::u16string_view value);

}  // namespace Clean
