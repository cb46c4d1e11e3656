#pragma once
// A player link on the simulated machine: the stand-in player records what the link sends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "event/timer.h"
#include "event/event_loop.h"
#include "hosts/sim/sim_world.h"
#include "player/winamp_control.h"
#include "support/program_folder.h"

namespace lorvan::testing {

class PlayerLinkTest : public ::testing::Test {
 protected:
  TempDir dir;
  sim::SimWorld world{dir.path()};
  event::EventLoop loop{world.clock, world.script};
  player::clsWinampControl winamp{world.platform, loop};

  std::vector<std::string> Messages() { return world.player.TakeMessages(); }

  // The outside events of one kind ("shell", "msgbox", ...) since the previous TakeEvents.
  std::vector<std::string> Events(const std::string& kind) {
    std::vector<std::string> out;
    for (const auto& line : world.events.Pending()) {
      if (line.find("\"event\":\"" + kind + "\"") != std::string::npos) out.push_back(line);
    }
    return out;
  }
  std::vector<std::string> TakeEvents() { return world.events.Take(); }

  // Runs fn once from the event loop, ms after now, as a timer of the window would.
  void After(int32_t ms, std::function<void()> fn) {
    event::Timer& t = timers_.emplace_back("after", loop);
    t.SetInterval(ms);
    t.on_timer = [&t, fn] {
      t.SetEnabled(false);
      fn();
    };
    t.SetEnabled(true);
  }
  // The player's window is gone, and starting the player does not bring one up by itself.
  void PlayerGone() {
    world.player.SetWindow(false);
    world.player.autostart = false;
  }

  static std::string Box(const std::string& text) {
    return R"({"event":"msgbox","title":"Winamp Control","text":")" + text + "\"}";
  }

 private:
  std::deque<event::Timer> timers_;
};

}  // namespace lorvan::testing
