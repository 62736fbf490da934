// quorvane-clean: the cleaning run of Quorvane's main window, from the command line.
#include <unistd.h>

#include <iostream>

#include "common/Text.h"
#include "tools/clean/Program.h"

int main(int argc, char** argv) {
  std::vector<std::u16string> arguments;
  for (int n = 1; n < argc; ++n) arguments.push_back(Main::FromUtf8(argv[n]));
  Clean::Console console(std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
  return Clean::RunProgram(arguments, console);
}
