// The readable-disc test: its four results, and the current directory as it was afterwards.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "cd/check_cd.h"
#include "hosts/sim/sim_drives.h"
#include "support/program_folder.h"

namespace lorvan::cd {
namespace {

using sim::CdState;

// The cases are in tables/check_cd.json.
TEST(CheckCDInserted, GivesEachResultAndLeavesTheDirectoryAsItWas) {
  const std::map<std::string, CdState> states = {
      {"ready", CdState::kReady}, {"empty", CdState::kEmpty}, {"absent", CdState::kAbsent}, {"other", CdState::kOther}};
  const std::map<std::string, int32_t> results = {
      {"readable", kCdReadable}, {"not enterable", kCdNotEnterable}, {"no such drive", kCdNoSuchDrive},
      {"other type", kCdOtherType}};
  for (const auto& c : testing::Table("cd/tables/check_cd.json",
                                      "disc test: what, drive state, root asked (the drive's is CD/), type asked, "
                                      "root folder there, result")) {
    SCOPED_TRACE(c[0].get<std::string>());
    testing::TempDir dir;
    if (c[4].get<bool>()) dir.Mkdir("CD");
    sim::SimEvents events;
    sim::SimDrives drives(events, dir.path());
    drives.cd_root = "CD/";
    drives.cd_state = states.at(c[1].get<std::string>());
    const std::string before = drives.CurDir();
    const uint32_t type = c[3] == "fixed" ? sim::kDriveFixed : platform::kDriveCdRom;
    EXPECT_EQ(CheckCDInserted(drives, c[2].get<std::string>(), type), results.at(c[5].get<std::string>()));
    EXPECT_EQ(drives.CurDir(), before);
  }
}

// A drive whose root fails to open with a chosen error; records the directory changes.
class FailingDrive : public platform::Drives {
 public:
  explicit FailingDrive(int error) : error_(error) {}
  std::string GetLogicalDriveStringsA(uint32_t) override { return std::string("C:\\\0E:\\\0", 8); }
  uint32_t GetDriveTypeA(const std::string&) override { return platform::kDriveCdRom; }
  std::string CurDir() override { return cwd_; }
  int ChDir(const std::string& path) override {
    changes.push_back(path);
    if (path == "E:\\" || path == "e:\\") return error_;  // drive letters in either case
    cwd_ = path;
    return 0;
  }
  int32_t mciSendStringA(const std::string&) override { return 0; }
  std::vector<std::string> changes;

 private:
  int error_;
  std::string cwd_ = "C:\\Lorvan";
};

TEST(CheckCDInserted, AnyFailureToEnterTheRootMeansTestAgain) {
  for (int error : {platform::kErrPathFileAccess, platform::kErrPathNotFound, 5, 52, 71}) {
    FailingDrive drive(error);
    EXPECT_EQ(CheckCDInserted(drive, "e:\\", platform::kDriveCdRom), kCdNotEnterable) << error;
    EXPECT_EQ(drive.CurDir(), "C:\\Lorvan") << error;
    EXPECT_EQ(drive.changes.back(), "C:\\Lorvan") << "the remembered directory is set again";
  }
}

TEST(CheckCDInserted, FindsTheRootInTheDriveListWhateverItsCase) {
  FailingDrive drive(0);
  EXPECT_EQ(CheckCDInserted(drive, "e:\\", platform::kDriveCdRom), kCdReadable);
  EXPECT_EQ(drive.CurDir(), "C:\\Lorvan");
  EXPECT_EQ(CheckCDInserted(drive, "F:\\", platform::kDriveCdRom), kCdNoSuchDrive);
}

}  // namespace
}  // namespace lorvan::cd
