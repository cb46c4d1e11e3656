// The resume journal: written while the MP3 source plays, taken over at start-up, removed
// once an orderly way out has rewritten the settings.
#include <stdexcept>
#include <string>

#include "app/frm_main.h"
#include "app/ini_file.h"
#include "navigation/resume.h"
#include "navigation/resume_journal.h"

namespace lorvan::app {
namespace {

constexpr const char* kMessageTitle = "Lorvan";
// Playback between two writes; and the least time between two writes that nobody asked for
// with a key, so that an album of short tracks does not wear an SD card (at most 150 an hour).
constexpr int64_t kJournalPeriodMs = 30000;
constexpr int64_t kJournalSpacingMs = 25000;

}  // namespace

void frmMain::WriteResumeJournal() {
  if (state.glMediaSource != kSourceMp3) return;
  navigation::BrowserState now = state;
  navigation::HandleResumeData(now, goWinamp(), navigation::kResumeStore);
  resume_journal_due_ = false;
  resume_journal_written_ms_ = loop.NowMs();
  const std::string path = AppFile(navigation::kResumeJournalFileName);
  std::string problem;
  try {
    platform.files.ReplaceFile(path, navigation::ResumeJournalText(state.gsAppPath, now));
    ++resume_journal_writes;
    return;
  } catch (const platform::FileError& e) {
    problem = e.what();
  } catch (const std::invalid_argument& e) {
    problem = path + ": " + e.what();
  }
  // An older journal no longer holds the place; without one a power cut falls back to the
  // settings' bookmark.
  try {
    platform.files.RemoveFile(path);
  } catch (const platform::FileError&) {
  }
  // Told once a run: the settings still get the bookmark on an orderly way out.
  if (resume_journal_failure_told_) return;
  resume_journal_failure_told_ = true;
  platform.dialogs.MsgBox("The place in the track cannot be kept against a power cut: " + problem, kMessageTitle);
}

void frmMain::ResumeJournalTick() {
  const int64_t since = loop.NowMs() - resume_journal_written_ms_;
  if (since >= kJournalPeriodMs || (resume_journal_due_ && since >= kJournalSpacingMs)) WriteResumeJournal();
}

void frmMain::RemoveResumeJournal() {
  try {
    platform.files.RemoveFile(AppFile(navigation::kResumeJournalFileName));
  } catch (const platform::FileError& e) {
    platform.dialogs.MsgBox(std::string("The resume journal could not be removed, so the next start takes "
                                        "its place over the saved bookmark: ") +
                                e.what(),
                            kMessageTitle);
  }
}

void frmMain::TakeOverResumeJournal() {
  const std::string path = AppFile(navigation::kResumeJournalFileName);
  if (!platform.files.Stat(path)) return;
  SharedState taken = state;
  std::optional<navigation::JournalProblem> problem;
  try {
    problem = navigation::ReadResumeJournal(platform.files.ReadFile(path), state.gsAppPath, taken);
  } catch (const platform::FileError& e) {
    problem = navigation::JournalProblem{false, std::string("it cannot be read: ") + e.what()};
  }
  if (problem) {
    // Set aside under a name that says why, so that it is told once and can be looked at.
    const std::string aside = path + (problem->foreign ? ".foreign" : ".damaged");
    std::string where = "it was set aside as " + aside;
    try {
      platform.files.RenameFile(path, aside);
    } catch (const platform::FileError& e) {
      where = std::string("it could not be set aside: ") + e.what();
    }
    platform.dialogs.MsgBox("The resume journal " + path + " is not used: " + problem->text + "; " + where + ".",
                            kMessageTitle);
    return;
  }
  // The settings file is written from the current place, so the place is the bookmark while
  // it is written; the rest of start-up then sets the place as always.
  navigation::CopyBookmark(taken, state);
  SharedState before = state;
  navigation::HandleResumeData(state, goWinamp(), navigation::kResumeRestore);
  try {
    ReadWriteIniFile(state, platform.files, AppFile(kIniFileName), kIniWrite);
  } catch (const platform::FileError& e) {
    // The journal stays for the next start; this run has the bookmark in memory.
    platform.dialogs.MsgBox(std::string("The settings could not be saved: ") + e.what(), kMessageTitle);
    state = before;
    return;
  }
  state = before;
  RemoveResumeJournal();
}

}  // namespace lorvan::app
