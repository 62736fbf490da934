// jetdump: prints an Access file's tables, a table's columns or its rows as CSV.
#include <iostream>
#include <string>
#include <vector>

#include "common/Error.h"
#include "common/Text.h"
#include "tools/jetdump/CommandLine.h"
#include "tools/jetdump/Commands.h"

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    JetDump::RunCommand(JetDump::ParseCommandLine(arguments), std::cout);
    std::cout.flush();
    return std::cout ? 0 : 1;
  } catch (const JetDump::UsageError& error) {
    std::cerr << "jetdump: " << error.what() << "\n" << JetDump::UsageText();
    return 2;
  } catch (...) {
    std::cerr << "jetdump: " << Main::ToUtf8(Main::DescribeCurrentException()) << "\n";
    return 1;
  }
}
