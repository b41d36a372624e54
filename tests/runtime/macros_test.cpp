// index__kzo and round__kzo: rounding of subscripts and PRINT items, and
// their overflow stops.
#include <cmath>
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime_api.h"

extern "C" {
int index_of(double x);
int round_of(double x);
int stacks_hold_ints(void);
}

namespace {

struct Rounding { double x; int result; };

TEST(Index, RoundsHalvesUp) {
  const std::vector<Rounding> cases = {
      {-0.5, 0},   {-0.4, 0},  {0, 0},        {0.49, 0},  {0.5, 1},
      {2.5, 3},    {2.49, 2},  {3.5, 4},      {9, 9},     {9.6, 10},
      {2147483646.9, 2147483647}, {2147483647.4, 2147483647},
  };
  for (const auto &c : cases) EXPECT_EQ(index_of(c.x), c.result) << c.x;
}

// A value that is not a number is out of range too: converting it to int
// would index anywhere.
TEST(Index, OverflowStops) {
  for (double x : {-0.6, -1.0, -1e300, 2147483647.5, 2147483648.0, 1e300, (double)NAN, -(double)NAN}) {
    line__kzo = 9;
    Stop stop = run_stop([x] { index_of(x); });
    EXPECT_TRUE(stop.exited) << x;
    EXPECT_EQ(stop.status, 1) << x;
    EXPECT_EQ(stop.out, "index overflow in line 9") << x;
  }
}

TEST(Round, RoundsHalvesAwayFromZero) {
  const std::vector<Rounding> cases = {
      {2.5, 3},    {-2.5, -3},  {-0.4, 0},  {0.4, 0},   {0, 0},
      {-0.5, -1},  {0.5, 1},    {1.49, 1},  {-1.49, -1}, {7, 7}, {-7, -7},
      {2147483647.4, 2147483647}, {-2147483648.4, INT_MIN}, {-2147483647.5, INT_MIN},
  };
  for (const auto &c : cases) EXPECT_EQ(round_of(c.x), c.result) << c.x;
}

TEST(Round, OverflowStops) {
  for (double x : {2147483647.5, 2147483648.0, 1e300, -2147483648.5, -2147483648.6, -1e300, (double)NAN}) {
    line__kzo = 23;
    Stop stop = run_stop([x] { round_of(x); });
    EXPECT_TRUE(stop.exited) << x;
    EXPECT_EQ(stop.status, 1) << x;
    EXPECT_EQ(stop.out, "integer overflow in line 23") << x;
  }
}

TEST(Stacks, HoldInts) { EXPECT_TRUE(stacks_hold_ints()); }

}  // namespace
