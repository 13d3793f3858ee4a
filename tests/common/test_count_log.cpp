#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "count_log.h"

using vorelbox::common::count_log10;

// A logarithmic plot must stay the same to the pixel: the logarithms must match
// the C library's far better than any plot can show.
constexpr double tolerance = 1e-12;

// The logarithms of whole counts also rise strictly from one count to the next:
// a plot finds the counts of each of its rows as one run.
TEST(CountLog, EveryWholeCountUpToAMillionMatchesTheLibrary) {
    double worst = 0.0;
    int falls = 0;
    double previous = -1.0;
    for (int k = 1; k <= 1000000; ++k) {
        const double x = k;
        const double log = count_log10(x);
        worst = std::max(worst, std::abs(log - std::log10(x)));
        falls += log > previous ? 0 : 1;
        previous = log;
    }
    EXPECT_LT(worst, tolerance);
    EXPECT_EQ(falls, 0);
}

TEST(CountLog, LargerAndFractionalValuesMatchTheLibrary) {
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> decades(-0.31, 15.0);
    std::uniform_int_distribution<std::int64_t> whole(1000000, std::int64_t{1} << 53);
    for (int i = 0; i < 200000; ++i) {
        const double x = std::pow(10.0, decades(random));
        ASSERT_NEAR(count_log10(x), std::log10(x), tolerance) << x;
        const auto w = static_cast<double>(whole(random));
        ASSERT_NEAR(count_log10(w), std::log10(w), tolerance) << w;
    }
    // Just below and above the points of the inner table, and the ends of a binade.
    for (const double x : {0.5, 0.1, 0.9999999999999999, 1.0000000000000002, 1.99999999999999, 2.0, 4095.5, 4096.5,
                           8191.0, 8193.0, 1e-300, 1e300, std::numeric_limits<double>::max()}) {
        EXPECT_NEAR(count_log10(x), std::log10(x), tolerance * std::max(1.0, std::abs(std::log10(x)))) << x;
    }
}

TEST(CountLog, PowersOfTenAreExact) {
    // The count axis and the decade labels sit where the logarithms are whole.
    double p = 1.0;
    for (int e = 0; e <= 22; ++e) {
        EXPECT_EQ(count_log10(p), e) << e;
        p *= 10.0;
    }
}

TEST(CountLog, ArgumentsOutsideTheTableGetTheLibraryAnswers) {
    EXPECT_EQ(count_log10(0.0), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(count_log10(-1.0)));
    EXPECT_TRUE(std::isnan(count_log10(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(count_log10(std::numeric_limits<double>::infinity()), std::numeric_limits<double>::infinity());
    const double tiny = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(count_log10(tiny), std::log10(tiny));
}
