#pragma once
// The remote as an input device (evdev): key codes become the accelerator characters of the
// main window's controls.
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace lorvan::linuxhost {

using KeyMap = std::map<int, char>;  // evdev key code -> key stroke

// Letters and digits as themselves, and the keys of a typical remote: play, pause, stop,
// previous and next, rewind and fast forward, volume, eject, help, power.
KeyMap DefaultKeyMap();

class KeymapError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Lines "KEY_NAME C" (a key code's name and one character); blank lines and "#" comments are
// skipped. The entries change or add to the map; throws KeymapError naming file and line.
void ApplyKeymapText(KeyMap& map, const std::string& text, const std::string& file_name);

// The key stroke an input event makes, or 0: a press and each of the kernel's repeats of a held
// key (value 2) make one, as a held key repeats its accelerator on Windows; a release makes none.
char KeyStroke(const KeyMap& map, unsigned type, unsigned code, int value);

class EvdevInput {
 public:
  EvdevInput(KeyMap map, std::function<void(const std::string&)> log);
  ~EvdevInput();

  // Opens one device (/dev/input/eventN or a by-id link); false with a log line when it fails.
  bool Open(const std::string& path, bool grab);
  // Opens every event device that has a key of the map, unless open already.
  void OpenAll(bool grab);
  // The open devices' descriptors, for the event host's wait.
  std::vector<int> Fds() const;
  // Reads what a device sent; each key press and repeat of a held key is handed on.
  void Read(int fd, const std::function<void(char)>& on_key);

 private:
  struct Device;
  KeyMap map_;
  std::function<void(const std::string&)> log_;
  std::vector<std::unique_ptr<Device>> devices_;
};

}  // namespace lorvan::linuxhost
