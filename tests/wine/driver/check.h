#pragma once
// A small test runner for the programs that run under Wine: test cases register themselves,
// checks record failures with their place and a message, and the run ends with the line
// "N passed, N failed".
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace lorvan::winetest {

struct TestCase {
  std::string group;
  std::string name;
  std::function<void()> body;
  // Set for a test of behaviour that other parts of the program do not have yet: its
  // failure is reported as pending (not counted as failed), its pass as a pass with a note.
  std::string pending_until;
};

std::vector<TestCase>& Registry();

struct Registrar {
  Registrar(const char* group, const char* name, std::function<void()> body, const char* pending_until = "") {
    Registry().push_back({group, name, std::move(body), pending_until});
  }
};

// Records a failure of the running test case.
void Fail(const char* file, int line, const std::string& message);

// Thrown by REQUIRE: the test case cannot go on.
struct Abort {};

class Failure {
 public:
  Failure(const char* file, int line, const char* expr, bool fatal) : file_(file), line_(line), fatal_(fatal) {
    out_ << expr;
  }
  ~Failure() noexcept(false) {
    Fail(file_, line_, out_.str());
    if (fatal_) throw Abort{};
  }
  template <typename T>
  Failure& operator<<(const T& v) {
    out_ << (first_ ? ": " : "") << v;
    first_ = false;
    return *this;
  }

 private:
  const char* file_;
  int line_;
  bool fatal_;
  bool first_ = true;
  std::ostringstream out_;
};

// Runs the cases whose "group.name" contains filter (all when empty); the exit status. The
// last line is "N passed, N failed, N skipped" (pending tests that failed are skipped).
int RunAll(const std::string& filter);

}  // namespace lorvan::winetest

#define WT_CAT2(a, b) a##b
#define WT_CAT(a, b) WT_CAT2(a, b)
#define TEST_CASE(group, name)                                                                   \
  static void group##_##name();                                                                  \
  static ::lorvan::winetest::Registrar WT_CAT(registrar_, __LINE__)(#group, #name, group##_##name); \
  static void group##_##name()
// A test case that waits for behaviour still missing elsewhere in the program.
#define TEST_CASE_PENDING(group, name, until)                                                           \
  static void group##_##name();                                                                        \
  static ::lorvan::winetest::Registrar WT_CAT(registrar_, __LINE__)(#group, #name, group##_##name, until); \
  static void group##_##name()
// CHECK(cond) << "more text"; records a failure and goes on. REQUIRE stops the test case.
#define CHECK(cond) \
  if (cond) {       \
  } else            \
    ::lorvan::winetest::Failure(__FILE__, __LINE__, "CHECK(" #cond ") failed", false)
#define REQUIRE(cond) \
  if (cond) {         \
  } else              \
    ::lorvan::winetest::Failure(__FILE__, __LINE__, "REQUIRE(" #cond ") failed", true)
#define CHECK_EQ(a, b) CHECK((a) == (b)) << "\n    left:  " << (a) << "\n    right: " << (b)
