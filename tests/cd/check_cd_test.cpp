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

TEST(CheckCDInserted, GivesEachResultAndLeavesTheDirectoryAsItWas) {
  struct Case {
    const char* name;
    CdState state;
    std::string root;  // what is asked for; the drive's root is "CD/"
    uint32_t type;
    bool folder_there;
    int32_t result;
  } cases[] = {
      {"readable disc", CdState::kReady, "CD/", platform::kDriveCdRom, true, kCdReadable},
      {"no disc", CdState::kEmpty, "CD/", platform::kDriveCdRom, true, kCdNotEnterable},
      {"drive not there", CdState::kAbsent, "CD/", platform::kDriveCdRom, true, kCdNoSuchDrive},
      {"drive of another type", CdState::kOther, "CD/", platform::kDriveCdRom, true, kCdOtherType},
      {"drive letter the system lacks", CdState::kReady, "Q:/", platform::kDriveCdRom, true, kCdNoSuchDrive},
      {"the hard disk", CdState::kReady, "/", platform::kDriveCdRom, true, kCdOtherType},
      {"the hard disk asked as one", CdState::kReady, "/", sim::kDriveFixed, true, kCdReadable},
      {"root that cannot be found", CdState::kReady, "CD/", platform::kDriveCdRom, false, kCdNotEnterable},
      {"no root at all", CdState::kReady, "", platform::kDriveCdRom, true, kCdNoSuchDrive},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDir dir;
    if (c.folder_there) dir.Mkdir("CD");
    sim::SimEvents events;
    sim::SimDrives drives(events, dir.path());
    drives.cd_root = "CD/";
    drives.cd_state = c.state;
    const std::string before = drives.CurDir();
    EXPECT_EQ(CheckCDInserted(drives, c.root, c.type), c.result);
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
