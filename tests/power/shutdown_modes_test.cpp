// Each shutdown mode reaches exactly one power call with its arguments, and the call's answer
// becomes the result code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "power/shutdown_modes.h"

namespace lorvan::power {
namespace {

class FakePower : public platform::Power {
 public:
  int32_t ExitWindowsEx(uint32_t flags, uint32_t reserved) override {
    calls.push_back("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reserved));
    return answer;
  }
  int32_t SetSuspendState(bool hibernate, bool force_critical, bool disable_wake_events) override {
    calls.push_back("SetSuspendState " + std::to_string(hibernate) + std::to_string(force_critical) +
                    std::to_string(disable_wake_events));
    return answer;
  }
  int32_t IsPwrHibernateAllowed() override { return hibernate_allowed; }
  int32_t SetSystemPowerState(bool suspend, bool force) override {
    calls.push_back("SetSystemPowerState " + std::to_string(suspend) + std::to_string(force));
    return answer;
  }
  bool GetVersionExA(int32_t& id) override {
    id = platform_id;
    return version_readable;
  }
  int32_t IsSystemResumeAutomatic() override { return 0; }

  std::vector<std::string> calls;
  int32_t answer = 1;
  int32_t hibernate_allowed = 1;
  int32_t platform_id = kPlatformNt;
  bool version_readable = true;
};

TEST(ShutdownModes, EachModeMakesItsCallAndMapsTheAnswer) {
  struct Case {
    int32_t mode;
    const char* call;
  } cases[] = {
      {1, "ExitWindowsEx 0 0"},         {2, "ExitWindowsEx 4 0"}, {3, "ExitWindowsEx 1 0"},
      {4, "ExitWindowsEx 5 0"},         {5, "ExitWindowsEx 2 0"}, {6, "ExitWindowsEx 6 0"},
      {7, "SetSuspendState 100"},       {8, "SetSuspendState 000"},
  };
  for (const auto& c : cases) {
    for (int32_t answer : {1, 0, -1}) {
      FakePower p;
      p.answer = answer;
      // The window handle has no effect on any mode.
      for (int32_t hwnd : {0, 0x10010}) {
        p.calls.clear();
        EXPECT_EQ(ExecuteShutdownMode(p, c.mode, hwnd), answer != 0 ? kShutdownDone : kShutdownFailed)
            << "mode " << c.mode << " answer " << answer;
        EXPECT_EQ(p.calls, std::vector<std::string>{c.call}) << "mode " << c.mode;
      }
    }
  }
}

TEST(ShutdownModes, UnknownModesCallNothing) {
  for (int32_t mode : {0, 9, -1, 100}) {
    FakePower p;
    EXPECT_EQ(ExecuteShutdownMode(p, mode, 0), kShutdownFailed) << mode;
    EXPECT_TRUE(p.calls.empty()) << mode;
  }
}

TEST(ShutdownModes, HibernateOnlyWhereTheSystemAllowsIt) {
  FakePower p;
  p.hibernate_allowed = 0;
  EXPECT_FALSE(IsHibernateAllowed(p));
  EXPECT_EQ(ExecuteShutdownMode(p, kModeHibernate, 0), kHibernateNotAllowed);
  EXPECT_TRUE(p.calls.empty());
  p.hibernate_allowed = 7;  // any nonzero answer allows it
  EXPECT_TRUE(IsHibernateAllowed(p));
}

TEST(ShutdownModes, StandbyFollowsTheSystemFamily) {
  FakePower win9x;
  win9x.platform_id = kPlatformWin9x;
  EXPECT_EQ(ExecuteShutdownMode(win9x, kModeStandby, 0), kShutdownDone);
  EXPECT_EQ(win9x.calls, std::vector<std::string>{"SetSystemPowerState 10"});

  FakePower unreadable;
  unreadable.version_readable = false;
  EXPECT_EQ(ExecuteShutdownMode(unreadable, kModeStandby, 0), kVersionUnreadable);

  for (int32_t other : {0, 3}) {
    FakePower p;
    p.platform_id = other;
    EXPECT_EQ(ExecuteShutdownMode(p, kModeStandby, 0), kUnknownSystemFamily);
    EXPECT_TRUE(p.calls.empty());
  }
}

}  // namespace
}  // namespace lorvan::power
