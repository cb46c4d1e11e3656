#include "app/help_file.h"

#include "app/errors.h"
#include "text/text_lines.h"
#include "text/vb_number.h"

namespace lorvan::app {

int16_t ReadHelpFile(SharedState& s, platform::FileSystem& files, const std::string& path,
                     std::vector<std::string>* warnings) {
  std::string bytes;
  try {
    bytes = files.ReadFile(path);
  } catch (const platform::FileError& e) {
    throw StartupError(e.what());
  }
  const auto lines = text::SplitLines(bytes);
  int page = 0, line_nr = 0;
  bool column_seen = false;
  int first_dropped_line = 0;  // 1-based file line of the first help line that does not fit
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!line.empty() && line[0] == '\'') continue;
    if (line.empty()) {
      line_nr = 0;
      ++page;
      continue;
    }
    if (!column_seen) {
      auto v = text::ToInteger(text::LeadingNumber(line));
      if (!v) {
        throw StartupError(path + ":" + std::to_string(i + 1) + ": the column \"" + line +
                           "\" is outside the 16-bit range");
      }
      s.giHelpColumnX = *v;
      column_seen = true;
      continue;
    }
    if (page < kHelpPages && line_nr < kHelpLines) {
      // Key text before the first tab, description after the last; a line without a tab
      // is all key text.
      const size_t first = line.find('\t');
      auto& slot = s.gsHelpText[page][line_nr];
      if (first == std::string::npos) {
        slot[0] = line;
        slot[1].clear();
      } else {
        slot[0] = line.substr(0, first);
        slot[1] = line.substr(line.rfind('\t') + 1);
      }
    } else if (first_dropped_line == 0) {
      first_dropped_line = static_cast<int>(i) + 1;
    }
    ++line_nr;
  }
  const int count = page + 1;
  if (warnings && (count > kHelpPages || first_dropped_line != 0)) {
    std::string where = path;
    if (first_dropped_line != 0) where += ":" + std::to_string(first_dropped_line);
    warnings->push_back(where + ": the help file holds more than " + std::to_string(kHelpPages) +
                        " pages or more than " + std::to_string(kHelpLines) +
                        " lines on a page; what does not fit is not shown");
  }
  return static_cast<int16_t>(count > kHelpPages ? kHelpPages : count);
}

}  // namespace lorvan::app
