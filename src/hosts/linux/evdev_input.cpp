#include "hosts/linux/evdev_input.h"

#include <dirent.h>
#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

namespace lorvan::linuxhost {

struct EvdevInput::Device {
  std::string path;
  int fd = -1;
  libevdev* dev = nullptr;
  ~Device() {
    if (dev) libevdev_free(dev);
    if (fd >= 0) ::close(fd);
  }
};

KeyMap DefaultKeyMap() {
  KeyMap m;
  const int letters[26] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
                           KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
  for (int i = 0; i < 26; ++i) m[letters[i]] = static_cast<char>('a' + i);
  const int digits[10] = {KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
  const int keypad[10] = {KEY_KP0, KEY_KP1, KEY_KP2, KEY_KP3, KEY_KP4, KEY_KP5, KEY_KP6, KEY_KP7, KEY_KP8, KEY_KP9};
  const int numeric[10] = {KEY_NUMERIC_0, KEY_NUMERIC_1, KEY_NUMERIC_2, KEY_NUMERIC_3, KEY_NUMERIC_4,
                           KEY_NUMERIC_5, KEY_NUMERIC_6, KEY_NUMERIC_7, KEY_NUMERIC_8, KEY_NUMERIC_9};
  for (int i = 0; i < 10; ++i) m[digits[i]] = m[keypad[i]] = m[numeric[i]] = static_cast<char>('0' + i);
  m[KEY_COMMA] = '<';
  m[KEY_DOT] = '>';
  m[KEY_ENTER] = m[KEY_KPENTER] = '\r';
  // A remote's own keys.
  m[KEY_PLAY] = m[KEY_PLAYCD] = m[KEY_OK] = 'p';
  m[KEY_PAUSE] = m[KEY_PAUSECD] = m[KEY_PLAYPAUSE] = 'a';
  m[KEY_STOP] = m[KEY_STOPCD] = 's';
  m[KEY_PREVIOUSSONG] = m[KEY_UP] = m[KEY_CHANNELUP] = 'v';
  m[KEY_NEXTSONG] = m[KEY_DOWN] = m[KEY_CHANNELDOWN] = 'n';
  m[KEY_REWIND] = m[KEY_LEFT] = '<';
  m[KEY_FASTFORWARD] = m[KEY_RIGHT] = '>';
  m[KEY_VOLUMEUP] = 'u';
  m[KEY_VOLUMEDOWN] = 'w';
  m[KEY_EJECTCD] = m[KEY_EJECTCLOSECD] = 'o';
  m[KEY_HELP] = m[KEY_INFO] = 'h';
  m[KEY_MUTE] = 'f';
  m[KEY_POWER] = m[KEY_EXIT] = 'x';
  m[KEY_RECORD] = 'c';
  m[KEY_MEDIA] = m[KEY_CD] = 'g';
  return m;
}

void ApplyKeymapText(KeyMap& map, const std::string& text, const std::string& file_name) {
  std::istringstream in(text);
  std::string line;
  int line_no = 0;
  while (std::getline(in, line)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string name, key, extra;
    if (!(words >> name) || name[0] == '#') continue;
    const std::string where = file_name + ":" + std::to_string(line_no) + ": ";
    if (!(words >> key) || (words >> extra)) throw KeymapError(where + "expected a key name and one character");
    const int code = libevdev_event_code_from_name(EV_KEY, name.c_str());
    if (code < 0) throw KeymapError(where + "unknown key name \"" + name + "\"");
    if (key == "Enter") key = "\r";
    if (key.size() != 1) throw KeymapError(where + "\"" + key + "\" is not one character");
    map[code] = key[0];
  }
}

char KeyStroke(const KeyMap& map, unsigned type, unsigned code, int value) {
  if (type != EV_KEY || (value != 1 && value != 2)) return 0;
  const auto k = map.find(static_cast<int>(code));
  return k == map.end() ? 0 : k->second;
}

EvdevInput::EvdevInput(KeyMap map, std::function<void(const std::string&)> log)
    : map_(std::move(map)), log_(std::move(log)) {}

EvdevInput::~EvdevInput() = default;

bool EvdevInput::Open(const std::string& path, bool grab) {
  auto d = std::make_unique<Device>();
  d->path = path;
  d->fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (d->fd < 0) {
    if (log_) log_("input " + path + ": " + std::strerror(errno));
    return false;
  }
  const int rc = libevdev_new_from_fd(d->fd, &d->dev);
  if (rc < 0) {
    if (log_) log_("input " + path + ": " + std::strerror(-rc));
    return false;
  }
  // Grabbed, the keys reach only this program (not a console on the same machine).
  if (grab) libevdev_grab(d->dev, LIBEVDEV_GRAB);
  if (log_) log_("input " + path + ": " + (libevdev_get_name(d->dev) ? libevdev_get_name(d->dev) : "?"));
  devices_.push_back(std::move(d));
  return true;
}

void EvdevInput::OpenAll(bool grab) {
  DIR* dir = opendir("/dev/input");
  if (!dir) return;
  std::vector<std::string> paths;
  while (dirent* e = readdir(dir)) {
    if (std::strncmp(e->d_name, "event", 5) == 0) paths.push_back(std::string("/dev/input/") + e->d_name);
  }
  closedir(dir);
  std::sort(paths.begin(), paths.end());
  for (const auto& p : paths) {
    if (std::any_of(devices_.begin(), devices_.end(), [&](const auto& d) { return d->path == p; })) continue;
    const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    libevdev* dev = nullptr;
    bool useful = false;
    if (libevdev_new_from_fd(fd, &dev) == 0) {
      for (const auto& [code, key] : map_) {
        if (libevdev_has_event_code(dev, EV_KEY, static_cast<unsigned>(code))) {
          useful = true;
          break;
        }
      }
      libevdev_free(dev);
    }
    ::close(fd);
    if (useful) Open(p, grab);
  }
}

std::vector<int> EvdevInput::Fds() const {
  std::vector<int> fds;
  for (const auto& d : devices_) fds.push_back(d->fd);
  return fds;
}

void EvdevInput::Read(int fd, const std::function<void(char)>& on_key) {
  auto it = std::find_if(devices_.begin(), devices_.end(), [&](const auto& d) { return d->fd == fd; });
  if (it == devices_.end()) return;
  Device& d = **it;
  input_event ev{};
  for (;;) {
    int rc = libevdev_next_event(d.dev, LIBEVDEV_READ_FLAG_NORMAL, &ev);
    if (rc == LIBEVDEV_READ_STATUS_SYNC) {
      // Events were dropped: catch up and go on.
      while (rc == LIBEVDEV_READ_STATUS_SYNC) rc = libevdev_next_event(d.dev, LIBEVDEV_READ_FLAG_SYNC, &ev);
      continue;
    }
    if (rc == -EAGAIN) return;
    if (rc < 0) {
      // The device went away (unplugged receiver): close it; a new scan may find it again.
      if (log_) log_("input " + d.path + " closed: " + std::strerror(-rc));
      devices_.erase(it);
      return;
    }
    if (const char key = KeyStroke(map_, ev.type, ev.code, ev.value)) on_key(key);
  }
}

}  // namespace lorvan::linuxhost
