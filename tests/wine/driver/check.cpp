#include "check.h"

#include <chrono>
#include <cstdio>
#include <exception>

namespace lorvan::winetest {
namespace {

int g_failures_in_case = 0;

}  // namespace

std::vector<TestCase>& Registry() {
  static std::vector<TestCase> cases;
  return cases;
}

void Fail(const char* file, int line, const std::string& message) {
  ++g_failures_in_case;
  std::string f = file;
  const size_t slash = f.find_last_of("\\/");
  if (slash != std::string::npos) f = f.substr(slash + 1);
  std::printf("    %s:%d: %s\n", f.c_str(), line, message.c_str());
  std::fflush(stdout);
}

int RunAll(const std::string& filter) {
  int passed = 0, failed = 0, pending = 0;
  for (const TestCase& t : Registry()) {
    const std::string full = t.group + "." + t.name;
    if (!filter.empty() && full.find(filter) == std::string::npos) continue;
    std::printf("[ RUN      ] %s\n", full.c_str());
    std::fflush(stdout);
    g_failures_in_case = 0;
    const auto start = std::chrono::steady_clock::now();
    try {
      t.body();
    } catch (const Abort&) {
    } catch (const std::exception& e) {
      Fail("(test case)", 0, std::string("unexpected exception: ") + e.what());
    } catch (...) {
      Fail("(test case)", 0, "unexpected exception");
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    if (g_failures_in_case == 0) {
      ++passed;
      std::printf("[       OK ] %s (%lld ms)\n", full.c_str(), static_cast<long long>(ms.count()));
      if (!t.pending_until.empty()) std::printf("    note: passes now; its pending mark (%s) can go\n", t.pending_until.c_str());
    } else if (!t.pending_until.empty()) {
      ++pending;
      std::printf("[ PENDING  ] %s (%lld ms): until %s\n", full.c_str(), static_cast<long long>(ms.count()),
                  t.pending_until.c_str());
    } else {
      ++failed;
      std::printf("[  FAILED  ] %s (%lld ms)\n", full.c_str(), static_cast<long long>(ms.count()));
    }
    std::fflush(stdout);
  }
  std::printf("%d passed, %d failed, %d skipped\n", passed, failed, pending);
  std::fflush(stdout);
  return failed == 0 && passed > 0 ? 0 : 1;
}

}  // namespace lorvan::winetest
