// samplemaker FILE: writes the sample database (see SampleDatabase.h).
#include <iostream>

#include "jet/JetError.h"
#include "tools/samplemaker/SampleDatabase.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Usage: samplemaker FILE\n";
    return 2;
  }
  try {
    const std::filesystem::path file = argv[1];
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    SampleMaker::MakeSampleDatabase(file);
  } catch (const std::exception& error) {
    std::cerr << "samplemaker: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
