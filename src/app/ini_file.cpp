#include "app/ini_file.h"

#include <string>
#include <vector>

#include "app/errors.h"
#include "text/text_lines.h"
#include "text/vb_number.h"

namespace lorvan::app {
namespace {

bool IsReadComment(const std::string& line) { return line.find("//") != std::string::npos; }
bool IsKeptComment(const std::string& line) { return line.rfind("//", 0) == 0; }

class IniReader {
 public:
  IniReader(SharedState& s, const std::string& path, const std::vector<std::string>& lines)
      : s_(s), path_(path), lines_(lines) {}

  void Read() {
    int position = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
      const std::string& line = lines_[i];
      if (IsReadComment(line)) continue;
      Store(position++, line, i);
      if (position == 14) i = ReadStacks(i);
    }
  }

 private:
  int16_t Integer(const std::string& line, size_t index) const {
    auto v = text::ToInteger(text::LeadingNumber(line));
    if (!v) Fail(index, "the number \"" + line + "\" is outside the 16-bit range -32768 to 32767");
    return *v;
  }
  int32_t Long(const std::string& line, size_t index) const {
    auto v = text::ToLong(text::LeadingNumber(line));
    if (!v) Fail(index, "the number \"" + line + "\" is outside the 32-bit range");
    return *v;
  }
  [[noreturn]] void Fail(size_t index, const std::string& problem) const {
    throw StartupError(path_ + ":" + std::to_string(index + 1) + ": " + problem);
  }

  void Store(int position, const std::string& line, size_t index) {
    switch (position) {
      case 0: s_.giVolume = Integer(line, index); break;
      case 1: s_.gsWinampPath = line; break;
      case 2: s_.gsMp3RootDir = line; break;
      case 3: s_.gsCdRootDir = line; break;
      case 4: s_.gsHelpFileName = line; break;
      case 5: s_.glLcdDelayLoops = Long(line, index); break;
      case 6: s_.glReserved1 = Long(line, index); break;
      case 7: s_.glReserved2 = Long(line, index); break;
      case 8: s_.giWakeUpDetectionTime = Integer(line, index); break;
      case 9: s_.glLastResumeMp3PlayPos = Long(line, index); break;
      case 10: s_.gsLastResumeMp3AudioDir = line; break;
      case 11: s_.giResumeListTop = Integer(line, index); break;
      case 12: s_.giResumeListRow = Integer(line, index); break;
      case 13: s_.giResumeFolderDepth = Integer(line, index); break;
      default: break;  // counted and ignored
    }
  }

  // The 42 stack lines after position 13 are read without the comment test.
  size_t ReadStacks(size_t index_of_13) {
    size_t i = index_of_13;
    for (DepthStack* stack : {&s_.giResumeDepthListTop, &s_.giResumeDepthListRow}) {
      for (auto& element : *stack) {
        if (++i >= lines_.size()) {
          Fail(lines_.size() - 1, "the file ends after " + std::to_string(i - index_of_13 - 1) +
                                      " of the 42 stack lines that follow the folder depth");
        }
        element = Integer(lines_[i], i);
      }
    }
    return i;
  }

  SharedState& s_;
  const std::string& path_;
  const std::vector<std::string>& lines_;
};

std::vector<std::string> ValueLines(const SharedState& s) {
  std::vector<std::string> v = {
      std::to_string(s.giVolume),          s.gsWinampPath,
      s.gsMp3RootDir,                      s.gsCdRootDir,
      s.gsHelpFileName,                    std::to_string(s.glLcdDelayLoops),
      std::to_string(s.glReserved1),       std::to_string(s.glReserved2),
      std::to_string(s.giWakeUpDetectionTime), std::to_string(s.glLastResumeMp3PlayPos),
      s.gsAudioDir,                        std::to_string(s.giListTop),
      std::to_string(s.giListRow),         std::to_string(s.giFolderDepth)};
  for (int16_t e : s.giResumeDepthListTop) v.push_back(std::to_string(e));
  for (int16_t e : s.giResumeDepthListRow) v.push_back(std::to_string(e));
  return v;
}

}  // namespace

void ReadWriteIniFile(SharedState& s, platform::FileSystem& files, const std::string& path, int32_t mode) {
  if (mode == kIniRead) {
    std::string bytes;
    try {
      bytes = files.ReadFile(path);
    } catch (const platform::FileError& e) {
      throw StartupError(e.what());
    }
    const auto lines = text::SplitLines(bytes);
    IniReader(s, path, lines).Read();
  } else if (mode == kIniWrite) {
    std::vector<std::string> values = ValueLines(s);
    for (size_t position = 0; position < values.size(); ++position) {
      // A line feed would split the value into two lines and shift every later position, so
      // the file would no longer read back (a folder name may hold one): the old file stays.
      if (values[position].find('\n') != std::string::npos) {
        throw platform::FileError(path + ": value " + std::to_string(position) + " \"" + values[position] +
                                  "\" holds a line break, which a line of the file cannot hold");
      }
    }
    // Every comment line is carried over, however many there are; a missing file has none.
    std::vector<std::string> out;
    if (files.Stat(path)) {
      for (auto& line : text::SplitLines(files.ReadFile(path))) {
        if (IsKeptComment(line)) out.push_back(std::move(line));
      }
    }
    for (auto& line : values) out.push_back(std::move(line));
    files.ReplaceFile(path, text::JoinLinesCrLf(out));
  }
}

}  // namespace lorvan::app
