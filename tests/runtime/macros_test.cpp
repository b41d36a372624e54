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
int bound_of(double x, int n);
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

struct Bounded { double x; int n; int result; };

// An array subscript rounds like an index and must name one of the n
// entries 0 to n-1.
TEST(Bound, RoundsHalvesUpWithinTheSize) {
  const std::vector<Bounded> cases = {
      {-0.5, 1, 0}, {0, 1, 0}, {0.49, 1, 0}, {24, 25, 24}, {24.49, 25, 24},
      {2.49, 3, 2}, {1.5, 3, 2}, {2147483646.4, INT_MAX, 2147483646},
  };
  for (const auto &c : cases) EXPECT_EQ(bound_of(c.x, c.n), c.result) << c.x << " of " << c.n;
}

TEST(Bound, OutsideTheSizeStops) {
  const std::vector<Bounded> cases = {
      {-0.6, 25, 0}, {-1, 25, 0}, {24.5, 25, 0}, {2.5, 3, 0}, {25, 25, 0}, {0, 0, 0}, {-0.5, 0, 0},
      {1e300, 25, 0}, {-1e300, 25, 0}, {(double)NAN, 25, 0}, {2147483646.5, INT_MAX, 0},
  };
  for (const auto &c : cases) {
    line__kzo = 7;
    Stop stop = run_stop([c] { bound_of(c.x, c.n); });
    EXPECT_TRUE(stop.exited) << c.x << " of " << c.n;
    EXPECT_EQ(stop.status, 1) << c.x;
    EXPECT_EQ(stop.out, "index overflow in line 7") << c.x << " of " << c.n;
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
