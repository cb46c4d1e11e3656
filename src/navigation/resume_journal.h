#pragma once
// The resume journal: the bookmark as it would be stored at this moment, in a file of its
// own beside the settings, so that a power cut does not lose the place in a long track.
#include <optional>
#include <string>

#include "navigation/browser_state.h"

namespace lorvan::navigation {

constexpr const char* kResumeJournalFileName = "Lorvan.resume";

// The journal's text for the bookmark fields of s, tied to the program folder; throws
// std::invalid_argument when the folder holds a line break.
std::string ResumeJournalText(const std::string& program_folder, const BrowserState& s);

// Why a journal is not used.
struct JournalProblem {
  bool foreign = false;  // whole, but written by the program of another folder
  std::string text;
};

// Reads a journal into the bookmark fields of s; on a problem s is left as it was.
std::optional<JournalProblem> ReadResumeJournal(const std::string& bytes, const std::string& program_folder,
                                                BrowserState& s);

// Copies the bookmark fields (folder, window, cursor, depth, both stacks, play position).
void CopyBookmark(const BrowserState& from, BrowserState& to);

}  // namespace lorvan::navigation
