// jetdump: prints an Access file's tables, a table's columns, indexes or rows (as CSV), and checks its indexes.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/jetdump/Commands.h"

int main(int argc, char** argv) {
  // Export's CSV goes to the standard output a whole buffer at a time, past std::cout.
  JetDump::DescriptorSink standardOutput(STDOUT_FILENO);
  return JetDump::RunJetDump(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, &standardOutput);
}
