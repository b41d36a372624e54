// The text of numbers: sign position, nine significant digits at most, no
// trailing zeros, exponent forms outside 0.001 to 999999999.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime_api.h"

namespace {

struct FloatCase {
  double input;
  const char *text;
};

std::string text_of(double input) {
  char buffer[64];
  std::memset(buffer, 'Z', sizeof buffer);
  char *result = float__kzo(buffer, input);
  EXPECT_EQ(result, buffer);
  return std::string(buffer, strnlen(buffer, sizeof buffer));
}

void check(const std::vector<FloatCase> &cases) {
  for (const auto &c : cases)
    EXPECT_EQ(text_of(c.input), c.text) << "input " << std::to_string(c.input) << " (" << c.input << ")";
}

TEST(Float, Examples) {
  check({
      {2.5, " 2.5"},
      {-2.5, "-2.5"},
      {0.25, " .25"},
      {-0.05, "-.05"},
      {0.001, " .001"},
      {100.5, " 100.5"},
      {1.0 / 3, " .333333333"},
      {2.0 / 3, " .666666667"},
      {1.00000001, " 1"},
      {0, " 0"},
  });
}

TEST(Float, EdgeCases) {
  check({
      {-0.0, " 0"},
      {0.0999999999999, " .1"},
      {1.00000001, " 1"},
      {1.00000002, " 1.00000002"},
      {1.234567896, " 1.2345679"},
      {2.5e8 + 0.7, " 250000001"},
      {1e9, " 1E+09"},
      {1.5e9, " 1.5E+09"},
      {1.00000001e9, " 1E+09"},
      {1.00000002e9, " 1.00000002E+09"},
  });
}

TEST(Float, WholeAndFractionalValues) {
  check({
      {1, " 1"},
      {-1, "-1"},
      {10, " 10"},
      {100, " 100"},
      {12345, " 12345"},
      {-32768, "-32768"},
      {100000000, " 100000000"},
      {123456789, " 123456789"},
      {999999999, " 999999999"},
      {123456789.4, " 123456789"},
      {0.5, " .5"},
      {0.1, " .1"},
      {0.01, " .01"},
      {0.015, " .015"},
      {0.123456789, " .123456789"},
      {0.00123456789, " .00123456789"},
      {-0.00123456789, "-.00123456789"},
      {0.100000001, " .1"},
      {0.100000002, " .100000002"},
      {3.14159265358979, " 3.14159265"},
      {12345.678, " 12345.678"},
      {-1234567.891, "-1234567.89"},
      {98.6, " 98.6"},
      {1e-3 * 1.5, " .0015"},
  });
}

// A mantissa rounded up to ten digits carries into the exponent.
TEST(Float, MantissaCarry) {
  check({
      {0.9999999999, " 1"},
      {-0.9999999999, "-1"},
      {0.09999999999, " .1"},
      {0.009999999999, " .01"},
      // nine nines are nine significant digits: nothing to carry
      {0.0999999999, " .0999999999"},
      {0.00999999999, " .00999999999"},
      {0.999999999, " .999999999"},
      {0.000999999999999, " .001"},
      {9.9999999999, " 10"},
      {99999999.99, " 100000000"},
      {999999999.9, " 1E+09"},
      {9.9999999999e9, " 1E+10"},
      {0.0000999999999999, " 1E-04"},
  });
}

TEST(Float, ExponentForms) {
  check({
      {1.5e10, " 1.5E+10"},
      {-1.5e10, "-1.5E+10"},
      {0.0005, " 5E-04"},
      {-0.00012, "-1.2E-04"},
      {1e100, " 1E+100"},
      {1e300, " 1E+300"},
      {1e10, " 1E+10"},
      {1e99, " 1E+99"},
      {1.23456789e-10, " 1.23456789E-10"},
      {1e-10, " 1E-10"},
      {0.000999, " 9.99E-04"},
      {1e-305, " 1E-305"},
      {DBL_MAX, " 1.79769313E+308"},
      {-DBL_MAX, "-1.79769313E+308"},
      {2.0000000001e9, " 2E+09"},
      {123456789012.0, " 1.23456789E+11"},
      // the longest text there is: 16 characters
      {-1.23456789e-100, "-1.23456789E-100"},
  });
}

TEST(Float, ZeroBound) {
  check({
      {5e-324, " 0"},
      {-5e-324, "-0"},
      {DBL_MIN, " 0"},
      {100 * DBL_MIN, " 0"},
      {1e-307, " 0"},
  });
}

TEST(Float, InfinityAndNotANumber) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  check({
      {inf, " INF"},
      {-inf, "-INF"},
      {nan, " NAN"},
      {-nan, " NAN"},
  });
}

TEST(Float, OverwritesFromTheStart) {
  char buffer[300];
  std::memset(buffer, 'Z', sizeof buffer);
  float__kzo(buffer, 123456.5);
  float__kzo(buffer, 7);
  EXPECT_STREQ(buffer, " 7");
}

}  // namespace
