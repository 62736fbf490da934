#include <iostream>

// The program's entry point. The windows come with a later version; until then it says so.
int main() {
  std::cout << "Quorvane: the windows of the program are not built yet; "
               "run ./test.sh to build and test the parts that are.\n";
  return 0;
}
