// lorvan-sim PROGRAM_DIR [SCRIPT]: runs the program on the simulated machine.
#include <fstream>
#include <iostream>
#include <sstream>
#include <sys/stat.h>

#include "hosts/sim/sim_runner.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: lorvan-sim PROGRAM_DIR [SCRIPT]\n";
    return 2;
  }
  struct stat st {};
  if (::stat(argv[1], &st) != 0 || !S_ISDIR(st.st_mode)) {
    std::cerr << "lorvan-sim: " << argv[1] << ": no such program folder\n";
    return 2;
  }
  std::stringstream script;
  std::string name = "<stdin>";
  if (argc == 3) {
    name = argv[2];
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
      std::cerr << "lorvan-sim: " << argv[2] << ": cannot read the script\n";
      return 2;
    }
    script << in.rdbuf();
  } else {
    script << std::cin.rdbuf();
  }
  lorvan::sim::SimRunner runner(argv[1], std::cout, std::cerr);
  return runner.Run(script.str(), name);
}
