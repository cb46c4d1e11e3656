#include "hosts/linux/mpv_player.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "player/winamp_messages.h"

namespace lorvan::linuxhost {
namespace {

constexpr int kLoadWaitMs = 3000;

const char* const kBandLabel[10] = {"lveq0", "lveq1", "lveq2", "lveq3", "lveq4",
                                    "lveq5", "lveq6", "lveq7", "lveq8", "lveq9"};
constexpr const char* kPreampLabel = "lvpre";

std::string Db(double db) {
  char buf[32];
  std::snprintf(buf, sizeof(buf), "%.2f", db);
  return buf;
}

int32_t RoundToInt(double v) {
  if (!std::isfinite(v)) return 0;
  v = std::nearbyint(v);
  return static_cast<int32_t>(std::clamp(v, double{INT32_MIN}, double{INT32_MAX}));
}

}  // namespace

const std::array<int, 10> kEqBandHz = {60, 170, 310, 600, 1000, 3000, 6000, 12000, 14000, 16000};

double EqGainDb(int value) { return 20.0 - std::clamp(value, 0, 63) * 40.0 / 63.0; }

std::string EqFilterChain(const std::array<int, 10>& bands, int preamp) {
  std::string chain = std::string("@") + kPreampLabel + ":lavfi=[volume=volume=" + Db(EqGainDb(preamp)) + "dB]";
  for (size_t i = 0; i < bands.size(); ++i) {
    chain += std::string(",@") + kBandLabel[i] + ":lavfi=[equalizer=f=" + std::to_string(kEqBandHz[i]) +
             ":width_type=o:width=1:g=" + Db(EqGainDb(bands[i])) + "]";
  }
  return chain;
}

MpvPlayer::MpvPlayer(std::string socket_path) : ipc_(std::move(socket_path)) {
  ipc_.on_event = [this](const Json& ev) { OnEvent(ev); };
  ipc_.check_peer = [this](int fd) { return ForeignPeer(fd, started_player_pid ? started_player_pid() : 0); };
  // A socket planted at the path is never talked to; told once until a true player is found.
  ipc_.on_refused = [this](const std::string& why) {
    if (refusal_told_) return;
    refusal_told_ = true;
    if (log) log("the player's socket " + ipc_.path() + " is not used: " + why);
  };
}

// ---- The window: the socket ----

bool MpvPlayer::Connected() {
  if (ipc_.Alive()) {
    HandleEnded();
    return hwnd_ != 0;
  }
  if (hwnd_ != 0) {
    if (log) log("the player's socket " + ipc_.path() + " closed");
    hwnd_ = 0;
    pid_ = 0;
  }
  if (!ipc_.Connect()) return false;
  refusal_told_ = false;
  hwnd_ = next_hwnd_++;
  Adopt();
  return hwnd_ != 0;
}

void MpvPlayer::Adopt() {
  // A player that comes up: take over what it does now and give it our volume and equalizer.
  pid_ = 0;
  status_ = 0;
  current_id_ = -1;
  current_ = {};
  ended_ids_.clear();
  ended_pending_ = false;
  const auto idle = Get("idle-active");
  if (idle && idle->is_boolean() && !idle->get<bool>()) {
    const auto paused = Get("pause");
    status_ = (paused && paused->is_boolean() && paused->get<bool>()) ? 3 : 1;
    const auto pos = Get("playlist-playing-pos");
    if (pos && pos->is_number_integer()) {
      const auto id = Get("playlist/" + std::to_string(pos->get<int64_t>()) + "/id");
      if (id && id->is_number_integer()) current_id_ = id->get<int64_t>();
    }
  }
  if (volume_ >= 0) SetVolume(volume_);
  ApplyEqualizerChain();
}

platform::Hwnd MpvPlayer::FindWindowA(const std::string& class_name) {
  if (class_name != kWindowClass) return 0;
  return Connected() ? hwnd_ : 0;
}

void MpvPlayer::Poll() {
  if (ipc_.Alive()) HandleEnded();
}

int32_t MpvPlayer::PlayerPid() {
  if (!Connected()) return 0;
  if (pid_ == 0) {
    const auto pid = Get("pid");
    if (pid && pid->is_number_integer()) pid_ = pid->get<int32_t>();
  }
  return pid_;
}

void MpvPlayer::Close() {
  if (!Connected()) return;
  ipc_.Send(Json::array({"quit"}));
  // Give mpv a moment to go, so that the window is gone when the caller looks again.
  for (int i = 0; i < 50 && ipc_.fd() >= 0; ++i) ipc_.Pump(10);
  ipc_.Close();
  hwnd_ = 0;
  pid_ = 0;
  status_ = 0;
}

// ---- Events ----

void MpvPlayer::OnEvent(const Json& ev) {
  const std::string name = ev.value("event", "");
  const int64_t id = ev.value("playlist_entry_id", int64_t{-1});
  if (name == "start-file") {
    starting_id_ = id;
  } else if (name == "file-loaded") {
    loaded_id_ = starting_id_;
  } else if (name == "end-file") {
    const std::string reason = ev.value("reason", "");
    if (reason == "eof" || reason == "error") {
      ended_ids_.insert(id);
      if (id == current_id_) ended_pending_ = true;
      if (reason == "error" && log) log("mpv could not play entry " + std::to_string(id) + ": " + ev.value("file_error", ""));
    }
  }
}

void MpvPlayer::HandleEnded() {
  if (!ended_pending_) return;
  ended_pending_ = false;
  if (status_ == 0) return;
  // Like the player: the next entry of the playlist follows; after the last one it stops.
  if (list_pos_ + 1 < playlist_.size()) {
    PlayEntry(list_pos_ + 1);
  } else {
    status_ = 0;
    current_id_ = -1;
  }
}

std::optional<Json> MpvPlayer::Get(const std::string& property) {
  const auto reply = ipc_.Command(Json::array({"get_property", property}));
  if (!reply || reply->value("error", "") != "success" || !reply->contains("data")) return std::nullopt;
  return (*reply)["data"];
}

void MpvPlayer::Cmd(const Json& args) {
  const auto reply = ipc_.Command(args);
  if (log && reply && reply->value("error", "") != "success") {
    log("mpv: " + args.dump(-1, ' ', false, Json::error_handler_t::replace) + ": " + reply->value("error", ""));
  }
}

// ---- Messages ----

int32_t MpvPlayer::SendMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) {
  if (hwnd == 0 || hwnd != hwnd_ || !Connected() || hwnd != hwnd_) return 0;
  if (msg == player::kWmUser) return Request(wparam, lparam);
  if (msg == player::kWmCommand) MenuCommand(wparam);
  return 0;
}

bool MpvPlayer::PostMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) {
  if (hwnd == 0 || hwnd != hwnd_ || !Connected() || hwnd != hwnd_) return false;
  if (msg == player::kWmUser && lparam == player::IPC_CHDIR) {
    // The working folder arrives one character per message, ended by a zero.
    if (wparam != 0) {
      working_folder_building_ += static_cast<char>(wparam & 0xFF);
    } else {
      working_folder_ = working_folder_building_;
      working_folder_building_.clear();
    }
    return true;
  }
  SendMessageA(hwnd, msg, wparam, lparam);
  return true;
}

int32_t MpvPlayer::SendCopyData(platform::Hwnd hwnd, int32_t, const platform::CopyDataStruct& data) {
  if (hwnd == 0 || hwnd != hwnd_ || !Connected() || hwnd != hwnd_) return 0;
  if (data.dwData != player::IPC_PLAYFILE || data.lpData == nullptr || data.cbData == 0) return 0;
  const char* bytes = static_cast<const char*>(data.lpData);
  std::string name(bytes, data.cbData - 1);
  name = name.substr(0, name.find('\0'));
  playlist_.push_back(AbsolutePath(name));
  return 0;
}

std::string MpvPlayer::AbsolutePath(const std::string& path) const {
  if (path.empty() || path[0] == '/' || path.find("://") != std::string::npos) return path;
  std::string base = working_folder_;
  if (base.empty()) {
    char buf[PATH_MAX];
    if (getcwd(buf, sizeof(buf))) base = buf;
  }
  if (!base.empty() && base.back() != '/') base += '/';
  return base + path;
}

int32_t MpvPlayer::Request(int32_t wparam, int32_t lparam) {
  switch (lparam) {
    case player::IPC_GETVERSION:  // version
      return kVersion;
    case player::IPC_DELETE:  // clear the playlist; what plays goes on
      playlist_.clear();
      list_pos_ = 0;
      return 0;
    case player::IPC_STARTPLAY:  // play
      Play();
      return 0;
    case player::IPC_ISPLAYING:  // status
      return status_;
    case player::IPC_GETOUTPUTTIME: {  // position in ms (0), length in s (1), length in ms (2)
      if (status_ == 0) return -1;
      if (wparam == 0) {
        const auto t = Get("time-pos");
        if (!t || !t->is_number()) return 0;
        return std::max(0, RoundToInt((t->get<double>() - current_.offset_s) * 1000.0));
      }
      double length = current_.length_s;
      if (length < 0) {
        const auto d = Get("duration");
        length = (d && d->is_number()) ? d->get<double>() : 0;
      }
      return wparam == 2 ? RoundToInt(length * 1000.0) : RoundToInt(length);
    }
    case player::IPC_JUMPTOTIME:  // jump to a time in ms
      if (status_ == 0) return -1;
      Cmd(Json::array({"seek", current_.offset_s + wparam / 1000.0, "absolute"}));
      return 0;
    case player::IPC_WRITEPLAYLIST:  // write the playlist: answers the position in it
      return static_cast<int32_t>(list_pos_);
    case player::IPC_SETPLAYLISTPOS:  // set the playlist position
      if (wparam >= 0 && static_cast<size_t>(wparam) < playlist_.size()) list_pos_ = static_cast<size_t>(wparam);
      return 0;
    case player::IPC_SETVOLUME:  // volume 0-255; -666 asks for it
      if (wparam == -666) return volume_ < 0 ? 255 : volume_;
      SetVolume(wparam);
      return 0;
    case player::IPC_SETPANNING:  // panning: kept, mpv has no balance control
      panning_ = wparam;
      return 0;
    case player::IPC_GETLISTLENGTH:
      return static_cast<int32_t>(playlist_.size());
    case player::IPC_GETLISTPOS:
      return static_cast<int32_t>(list_pos_);
    case player::IPC_GETINFO: {  // samplerate in Hz (0), bitrate in kbit/s (1), channels (2)
      if (status_ == 0) return 0;
      const char* prop = wparam == 1 ? "audio-bitrate" : wparam == 2 ? "audio-params/channel-count"
                                                                       : "audio-params/samplerate";
      const auto v = Get(prop);
      if (!v || !v->is_number()) return 0;
      return wparam == 1 ? RoundToInt(v->get<double>() / 1000.0) : RoundToInt(v->get<double>());
    }
    case player::IPC_GETEQDATA:  // read an equalizer position; a following write goes to the same one
      if (wparam < 0 || wparam > 11) return 0;
      eq_position_ = wparam;
      if (wparam < 10) return eq_bands_[static_cast<size_t>(wparam)];
      return wparam == 10 ? eq_preamp_ : (eq_on_ ? 1 : 0);
    case player::IPC_SETEQDATA:  // write the position the last read selected
      if (eq_position_ < 10) {
        eq_bands_[static_cast<size_t>(eq_position_)] = std::clamp(wparam, 0, 63);
        ApplyEqualizerLive(eq_position_);
      } else if (eq_position_ == 10) {
        eq_preamp_ = std::clamp(wparam, 0, 63);
        ApplyEqualizerLive(10);
      } else if ((wparam != 0) != eq_on_) {
        eq_on_ = wparam != 0;
        ApplyEqualizerChain();
      }
      return 0;
    default:
      return 0;
  }
}

void MpvPlayer::MenuCommand(int32_t id) {
  switch (id) {
    case player::WINAMP_BUTTON_BASE:  // previous entry
    case player::WINAMP_PREV:
      if (!playlist_.empty()) PlayEntry(list_pos_ > 0 ? list_pos_ - 1 : 0);
      break;
    case player::WINAMP_BUTTON_PLAY:
      Play();
      break;
    case player::WINAMP_BUTTON_PAUSE:  // pause toggles
      if (status_ == 1) {
        Cmd(Json::array({"set_property", "pause", true}));
        status_ = 3;
      } else if (status_ == 3) {
        Cmd(Json::array({"set_property", "pause", false}));
        status_ = 1;
      }
      break;
    case player::WINAMP_BUTTON_STOP:
      Stop();
      break;
    case player::WINAMP_BUTTON_NEXT:  // next entry
      if (list_pos_ + 1 < playlist_.size()) PlayEntry(list_pos_ + 1);
      break;
    case player::WINAMP_FFWD5S:
      Seek(5);
      break;
    case player::WINAMP_REW5S:
      Seek(-5);
      break;
    case player::WINAMP_VOLUMEUP:
      SetVolume((volume_ < 0 ? 255 : volume_) + 4);
      break;
    case player::WINAMP_VOLUMEDOWN:
      SetVolume((volume_ < 0 ? 255 : volume_) - 4);
      break;
    default:
      // The player's own windows and dialogs (equalizer, playlist, options, about, file
      // dialog, always on top) do not exist here.
      break;
  }
}

void MpvPlayer::Play() {
  if (status_ == 3) {
    Cmd(Json::array({"set_property", "pause", false}));
    status_ = 1;
    return;
  }
  if (playlist_.empty()) return;
  PlayEntry(list_pos_ < playlist_.size() ? list_pos_ : 0);
}

void MpvPlayer::PlayEntry(size_t index) {
  list_pos_ = index;
  const std::string& name = playlist_[index];
  std::optional<MediaSource> src = resolve_media ? resolve_media(name) : std::nullopt;
  if (!src) src = MediaSource{name, "", 0, -1};
  // The filters are made when a file starts, from the filter list: bring it up to date.
  if (eq_chain_dirty_) ApplyEqualizerChain();
  Cmd(Json::array({"set_property", "pause", false}));
  Json args = Json::array({"loadfile", src->url, "replace"});
  if (!src->options.empty()) args.push_back(src->options);
  const auto reply = ipc_.Command(args);
  if (!reply || reply->value("error", "") != "success") {
    if (log && reply) log("mpv: loadfile " + name + ": " + reply->value("error", ""));
    status_ = 0;
    current_id_ = -1;
    return;
  }
  current_ = *src;
  current_id_ = (*reply).contains("data") && (*reply)["data"].is_object()
                    ? (*reply)["data"].value("playlist_entry_id", int64_t{-1})
                    : -1;
  status_ = 1;
  ended_pending_ = ended_ids_.count(current_id_) != 0;
  // Like the player, the play command returns once the file is open, so that position and
  // length are there for the next query (or once mpv has given up on it).
  for (int waited = 0; waited < kLoadWaitMs && loaded_id_ != current_id_ && !ended_ids_.count(current_id_);
       waited += 5) {
    if (!ipc_.Pump(5)) break;
  }
  if (ended_ids_.count(current_id_)) ended_pending_ = true;
}

void MpvPlayer::Stop() {
  Cmd(Json::array({"stop"}));
  status_ = 0;
  current_id_ = -1;
  ended_pending_ = false;
}

void MpvPlayer::Seek(double seconds) {
  if (status_ == 0) return;
  Cmd(Json::array({"seek", seconds, "relative"}));
}

void MpvPlayer::SetVolume(int value) {
  volume_ = std::clamp(value, 0, 255);
  Cmd(Json::array({"set_property", "volume", std::round(volume_ * 100.0 / 255.0)}));
}

void MpvPlayer::ApplyEqualizerLive(int position) {
  if (!eq_on_) return;  // the values take effect when the equalizer is switched on
  eq_chain_dirty_ = true;
  if (status_ == 0 || hwnd_ == 0) return;
  // The running filter takes the new value at once. mpv answers with an error although the
  // filter took it (the command also reaches filters of the graph that know no such command),
  // so the answer is not looked at.
  if (position == 10) {
    ipc_.Command(Json::array({"af-command", kPreampLabel, "volume", Db(EqGainDb(eq_preamp_)) + "dB"}));
  } else {
    ipc_.Command(Json::array({"af-command", kBandLabel[position], "g",
                              Db(EqGainDb(eq_bands_[static_cast<size_t>(position)]))}));
  }
}

void MpvPlayer::ApplyEqualizerChain() {
  eq_chain_dirty_ = false;
  if (hwnd_ == 0 && ipc_.fd() < 0) return;
  std::string labels = std::string("@") + kPreampLabel;
  for (const char* l : kBandLabel) labels += std::string(",@") + l;
  // Removing filters that are not there is not an error worth reporting.
  ipc_.Command(Json::array({"af", "remove", labels}));
  // In front of filters the command line may have added, so those see the equalized sound.
  if (eq_on_) Cmd(Json::array({"af", "pre", EqFilterChain(eq_bands_, eq_preamp_)}));
}

}  // namespace lorvan::linuxhost
