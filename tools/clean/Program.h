#pragma once

#include <string>
#include <vector>

#include "tools/clean/Console.h"

// quorvane-clean as a whole: the arguments in, the exit status out.
namespace Clean {

// Carries out the command line (the arguments after the program's name) and returns the exit
// status; every failure is written to the console, none is thrown.
int RunProgram(const std::vector<std::u16string>& arguments, Console& console);

}  // namespace Clean
