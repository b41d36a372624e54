// Run-time stops: the message on standard output, exit status 1, and curses
// ended first when it was running.
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include <curses.h>
#include <gtest/gtest.h>

#include "runtime_api.h"

namespace {

struct StopCase {
  const char *what;
  void (*body)();
  std::string out;
};

const std::vector<StopCase> &stop_cases() {
  static const std::vector<StopCase> cases = {
      {"error", [] { Buf m("bad name"); error__kzo(m, 42); }, "bad name in line 42"},
      {"error with empty message", [] { Buf m(""); error__kzo(m, 0); }, " in line 0"},
      {"error with negative line", [] { Buf m("x"); error__kzo(m, -3); }, "x in line -3"},
      {"error reports its argument", [] { line__kzo = 5; Buf m("next without for"); error__kzo(m, 77); },
       "next without for in line 77"},
      {"ierr reports the current line",
       [] { line__kzo = 17; Buf m("index overflow"); ierr__kzo(m, 5); }, "index overflow in line 17"},
      {"overflow",
       [] { Buf a(std::string(200, 'a')), b(std::string(57, 'b')); line__kzo = 99; join__kzo(12, a, b); },
       "12 string overflow " + std::string(200, 'a') + "\n" + std::string(57, 'b')},
      {"overflow of the first alone",
       [] { Buf a(std::string(257, 'a')), b(""); join__kzo(3, a, b); },
       "3 string overflow " + std::string(257, 'a') + "\n"},
      {"overflow of the second alone",
       [] { Buf a(""), b(std::string(257, 'b')); join__kzo(4, a, b); },
       "4 string overflow \n" + std::string(257, 'b')},
      {"overflow of long strings",
       [] { Buf a(std::string(299, 'a')), b(std::string(299, 'b')); join__kzo(5, a, b); },
       "5 string overflow " + std::string(299, 'a') + "\n" + std::string(299, 'b')},
      {"equal text in two variables",
       [] { Buf a(std::string(150, 'q')), b(std::string(150, 'q')); join__kzo(6, a, b); },
       "6 string overflow " + std::string(150, 'q') + "\n" + std::string(150, 'q')},
      {"one variable with itself",
       [] { Buf a(std::string(150, 'q')); join__kzo(8, a, a); },
       "8 string order " + std::string(150, 'q') + "\n" + std::string(150, 'q')},
  };
  return cases;
}

TEST(Stops, MessageAndStatusWithoutCurses) {
  for (const auto &c : stop_cases()) {
    Stop stop = run_stop(c.body);
    EXPECT_TRUE(stop.exited) << c.what;
    EXPECT_EQ(stop.status, 1) << c.what;
    EXPECT_EQ(stop.out, c.out) << c.what;
  }
}

// Says at exit whether curses was still running when the process ended.
void report_curses() { std::printf(isendwin() ? "|ended" : "|running"); }

TEST(Stops, CursesEndsBeforeTheMessage) {
  for (const auto &c : stop_cases()) {
    Stop stop = run_stop([&c] {
      FILE *screen = std::fopen("/dev/null", "w");
      FILE *keys = std::fopen("/dev/null", "r");
      if (!screen || !keys || !newterm(const_cast<char *>("vt100"), screen, keys)) _exit(98);
      std::atexit(report_curses);
      c.body();
    });
    EXPECT_TRUE(stop.exited) << c.what;
    EXPECT_EQ(stop.status, 1) << c.what << (stop.status == 98 ? " (no vt100 terminal description)" : "");
    EXPECT_EQ(stop.out, c.out + "|ended") << c.what;
  }
}

}  // namespace
