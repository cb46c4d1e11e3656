// Fuzzes the help file: every input gives at most 11 pages of at most 8 lines, or an error that
// names the file and the line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/errors.h"
#include "app/help_file.h"
#include "memory_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lorvan::fuzz::MemoryFileSystem files;
  const std::string path = "/box/Help.txt";
  files.files[path] = std::string(reinterpret_cast<const char*>(data), size);
  lorvan::app::SharedState s;
  std::vector<std::string> warnings;
  try {
    const int16_t pages = lorvan::app::ReadHelpFile(s, files, path, &warnings);
    if (pages < 1 || pages > lorvan::app::kHelpPages || warnings.size() > 1) std::abort();
    for (const auto& page : s.gsHelpText)
      for (const auto& line : page)
        if (line[1].find('\t') != std::string::npos) std::abort();
  } catch (const lorvan::app::StartupError& e) {
    const std::string m = e.what();
    if (m.rfind(path + ":", 0) != 0) std::abort();
  }
  return 0;
}
