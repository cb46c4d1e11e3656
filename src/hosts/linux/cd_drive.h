#pragma once
// The optical drive: tray and table of contents through the cdrom ioctls, and an audio
// disc's tracks shown as the files TrackNN.cda of the drive's root folder.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hosts/linux/mpv_player.h"
#include "platform/drives.h"
#include "platform/file_system.h"

namespace lorvan::linuxhost {

struct CdTrack {
  int number = 0;
  int64_t start_frame = 0;   // 75 frames a second
  int64_t length_frames = 0;
};

class CdDevice {
 public:
  virtual ~CdDevice() = default;
  virtual std::string path() const = 0;
  virtual bool Present() = 0;
  virtual bool IsCdRom() = 0;
  // The audio tracks of the disc in the drive; nullopt when there is no readable disc.
  virtual std::optional<std::vector<CdTrack>> ReadToc() = 0;
  virtual bool Eject() = 0;
  virtual bool CloseTray() = 0;
};

class LinuxCdDevice : public CdDevice {
 public:
  // path() gives the device node (it may follow the settings' CD root).
  explicit LinuxCdDevice(std::function<std::string()> path) : path_(std::move(path)) {}
  std::string path() const override { return path_(); }
  bool Present() override;
  bool IsCdRom() override;
  std::optional<std::vector<CdTrack>> ReadToc() override;
  bool Eject() override;
  bool CloseTray() override;

 private:
  std::optional<std::vector<CdTrack>> ReadTocNow();
  std::function<std::string()> path_;
  // The CD search asks many times a second; the drive is asked at most every 250 ms.
  std::string cached_path_;
  int64_t toc_read_ms_ = -1000000;
  std::optional<std::vector<CdTrack>> toc_;
  int cdrom_ = -1;  // -1 not known, 0 no, 1 yes
};

// "Track03.cda" for track 3; the track number of such a name, or 0.
std::string TrackFileName(int number);
int TrackNumberOf(const std::string& file_name);

// The CD root as the settings give it ("/dev/sr0/" or a mount point), compared without
// its trailing separator.
std::string WithoutTrailingSlash(std::string path);

// The file system with the CD drive's root as a folder of TrackNN.cda files while an audio
// disc is in the drive.
class CdFileSystem : public platform::FileSystem {
 public:
  CdFileSystem(platform::FileSystem& inner, CdDevice& cd, std::function<std::string()> cd_root)
      : inner_(inner), cd_(cd), cd_root_(std::move(cd_root)) {}

  char PathSeparator() const override { return inner_.PathSeparator(); }
  std::vector<std::string> ListFolder(const std::string& folder) override;
  std::optional<uint32_t> GetAttr(const std::string& path) override;
  std::optional<platform::FileStamp> Stat(const std::string& path) override;
  std::string ReadFile(const std::string& path) override { return inner_.ReadFile(path); }
  void ReplaceFile(const std::string& path, const std::string& content) override {
    inner_.ReplaceFile(path, content);
  }
  void RemoveFile(const std::string& path) override { inner_.RemoveFile(path); }
  void RenameFile(const std::string& from, const std::string& to) override { inner_.RenameFile(from, to); }

  // What mpv plays for a CD track's file name (nullopt: not a track of the disc).
  std::optional<MediaSource> TrackSource(const std::string& path);

 private:
  bool IsRoot(const std::string& path) const;
  // The track of a path below the root, or nullopt.
  std::optional<CdTrack> TrackOf(const std::string& path);
  std::optional<std::vector<CdTrack>> Toc();

  platform::FileSystem& inner_;
  CdDevice& cd_;
  std::function<std::string()> cd_root_;
};

// The drives: the root file system and the CD drive, the current folder, and the two MCI
// strings of the tray.
class LinuxDrives : public platform::Drives {
 public:
  LinuxDrives(CdDevice& cd, std::function<std::string()> cd_root) : cd_(cd), cd_root_(std::move(cd_root)) {}

  std::string GetLogicalDriveStringsA(uint32_t max_length) override;
  uint32_t GetDriveTypeA(const std::string& root) override;
  std::string CurDir() override;
  int ChDir(const std::string& path) override;
  int32_t mciSendStringA(const std::string& command) override;

 private:
  CdDevice& cd_;
  std::function<std::string()> cd_root_;
  std::string virtual_cwd_;  // the CD root of an audio disc, which has no real folder
};

}  // namespace lorvan::linuxhost
