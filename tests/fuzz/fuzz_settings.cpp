// Fuzzes the settings file: every input either loads or fails with a message naming the file and
// line, and a loaded file survives a rewrite and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/errors.h"
#include "app/ini_file.h"
#include "memory_file_system.h"

using lorvan::app::SharedState;

namespace {

// What a rewrite writes back comes from the current state, which the bookmark step makes
// equal to the loaded bookmark before every rewrite.
void MakeCurrentEqualBookmark(SharedState& s) {
  s.gsAudioDir = s.gsLastResumeMp3AudioDir;
  s.giListTop = s.giResumeListTop;
  s.giListRow = s.giResumeListRow;
  s.giFolderDepth = s.giResumeFolderDepth;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lorvan::fuzz::MemoryFileSystem files;
  const std::string path = "/box/Lorvan.ini";
  files.files[path] = std::string(reinterpret_cast<const char*>(data), size);
  SharedState s;
  try {
    lorvan::app::ReadWriteIniFile(s, files, path, 1);
  } catch (const lorvan::app::StartupError& e) {
    // The message names the file and a line number.
    const std::string m = e.what();
    if (m.rfind(path + ":", 0) != 0 || m.size() <= path.size() + 1 ||
        m[path.size() + 1] < '1' || m[path.size() + 1] > '9') {
      std::abort();
    }
    return 0;
  }
  // A file that loaded only partly leaves the rest at its start values; the rewrite writes all
  // 56 values, and reading and rewriting that file again must give the same file. Values with
  // "//" in them turn into comments on the second read, so only files whose string values hold
  // none must come back unchanged.
  MakeCurrentEqualBookmark(s);
  lorvan::app::ReadWriteIniFile(s, files, path, 0);
  for (const std::string* v : {&s.gsWinampPath, &s.gsMp3RootDir, &s.gsCdRootDir, &s.gsHelpFileName,
                               &s.gsLastResumeMp3AudioDir}) {
    if (v->find("//") != std::string::npos || v->find('\n') != std::string::npos) return 0;
  }
  const std::string first = files.files[path];
  SharedState again;
  lorvan::app::ReadWriteIniFile(again, files, path, 1);
  MakeCurrentEqualBookmark(again);
  lorvan::app::ReadWriteIniFile(again, files, path, 0);
  if (files.files[path] != first) std::abort();
  return 0;
}
