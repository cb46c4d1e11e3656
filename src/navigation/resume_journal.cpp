#include "navigation/resume_journal.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace lorvan::navigation {
namespace {

constexpr const char* kFirstLine = "Lorvan resume journal 1";
constexpr const char* kCheckPrefix = "check ";
// First line, program folder, play position, folder, window top, cursor row, depth, the two
// stacks and the check line.
constexpr size_t kLines = 7 + 2 * kStackDepths + 1;

// FNV-1a over the bytes: a torn or edited journal does not pass as a whole one.
uint32_t Checksum(std::string_view bytes) {
  uint32_t h = 2166136261u;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 16777619u;
  }
  return h;
}

std::string Hex(uint32_t v) {
  char buf[9];
  std::snprintf(buf, sizeof buf, "%08x", v);
  return buf;
}

template <typename T>
std::optional<T> WholeNumber(const std::string& line) {
  T v{};
  const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), v);
  if (ec != std::errc() || end != line.data() + line.size() || line.empty()) return std::nullopt;
  return v;
}

}  // namespace

void CopyBookmark(const BrowserState& from, BrowserState& to) {
  to.gsLastResumeMp3AudioDir = from.gsLastResumeMp3AudioDir;
  to.glLastResumeMp3PlayPos = from.glLastResumeMp3PlayPos;
  to.giResumeListTop = from.giResumeListTop;
  to.giResumeListRow = from.giResumeListRow;
  to.giResumeFolderDepth = from.giResumeFolderDepth;
  to.giResumeDepthListTop = from.giResumeDepthListTop;
  to.giResumeDepthListRow = from.giResumeDepthListRow;
}

std::string ResumeJournalText(const std::string& program_folder, const BrowserState& s) {
  for (const std::string* text : {&program_folder, &s.gsLastResumeMp3AudioDir}) {
    if (text->find_first_of("\r\n") != std::string::npos) {
      throw std::invalid_argument("\"" + *text + "\" holds a line break, which a line of the journal cannot hold");
    }
  }
  std::string out;
  auto line = [&out](const std::string& l) { out += l + "\r\n"; };
  line(kFirstLine);
  line(program_folder);
  line(std::to_string(s.glLastResumeMp3PlayPos));
  line(s.gsLastResumeMp3AudioDir);
  line(std::to_string(s.giResumeListTop));
  line(std::to_string(s.giResumeListRow));
  line(std::to_string(s.giResumeFolderDepth));
  for (int16_t e : s.giResumeDepthListTop) line(std::to_string(e));
  for (int16_t e : s.giResumeDepthListRow) line(std::to_string(e));
  line(kCheckPrefix + Hex(Checksum(out)));
  return out;
}

std::optional<JournalProblem> ReadResumeJournal(const std::string& bytes, const std::string& program_folder,
                                                BrowserState& s) {
  auto damaged = [](const std::string& why) { return JournalProblem{false, why}; };
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) return damaged("it ends inside a line (cut short)");
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  if (lines.empty() || lines[0] != kFirstLine) return damaged("it does not start as a resume journal");
  if (lines.size() != kLines) {
    return damaged("it has " + std::to_string(lines.size()) + " lines instead of " + std::to_string(kLines));
  }
  const std::string& check = lines.back();
  const size_t body = bytes.size() - check.size() - 2;
  if (check != kCheckPrefix + Hex(Checksum(std::string_view(bytes).substr(0, body)))) {
    return damaged("its check line does not match its content");
  }
  if (lines[1] != program_folder) {
    return JournalProblem{true, "it was written by the program in \"" + lines[1] + "\""};
  }

  BrowserState b;
  const auto pos = WholeNumber<int32_t>(lines[2]);
  if (!pos) return damaged("line 3: \"" + lines[2] + "\" is no play position");
  b.glLastResumeMp3PlayPos = *pos;
  b.gsLastResumeMp3AudioDir = lines[3];
  size_t i = 4;
  for (int16_t* field : {&b.giResumeListTop, &b.giResumeListRow, &b.giResumeFolderDepth}) {
    const auto v = WholeNumber<int16_t>(lines[i]);
    if (!v) return damaged("line " + std::to_string(i + 1) + ": \"" + lines[i] + "\" is no 16-bit number");
    *field = *v;
    ++i;
  }
  for (DepthStack* stack : {&b.giResumeDepthListTop, &b.giResumeDepthListRow}) {
    for (auto& e : *stack) {
      const auto v = WholeNumber<int16_t>(lines[i]);
      if (!v) return damaged("line " + std::to_string(i + 1) + ": \"" + lines[i] + "\" is no 16-bit number");
      e = *v;
      ++i;
    }
  }
  CopyBookmark(b, s);
  return std::nullopt;
}

}  // namespace lorvan::navigation
