#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <vector>

#include "spectrum_store.h"

using namespace vorelbox::spectra;

TEST(SpectrumStore, CapacityIsTheSmallestPowerOfTwoNotBelowTheRequest) {
    EXPECT_EQ(capacity_for(1), 2);
    EXPECT_EQ(capacity_for(2), 2);
    EXPECT_EQ(capacity_for(3), 4);
    EXPECT_EQ(capacity_for(1000), 1024);
    EXPECT_EQ(capacity_for(1024), 1024);
    EXPECT_EQ(capacity_for(1025), 2048);
    EXPECT_EQ(capacity_for(16384), 16384);
    EXPECT_EQ(capacity_for((1 << 29) + 1), 1 << 30);
    EXPECT_EQ(capacity_for((std::int64_t{1} << 30) + 1), 0);
}

TEST(SpectrumStore, FirstAllocationFillsTheCurrentSpectrum) {
    SpectrumStore s;
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 1000));
    EXPECT_EQ(s.CHANNEL_CAPACITY, 1024);
    ASSERT_EQ(s.CURRENT_SPECTRUM.size(), 1024u);
    EXPECT_EQ(s.CURRENT_SPECTRUM.front(), -1.0);
    EXPECT_EQ(s.CURRENT_SPECTRUM.back(), -1.0);
    EXPECT_EQ(s.file_column(100).size(), 1024u);
    EXPECT_EQ(s.list_column(99).size(), 1024u);
}

TEST(SpectrumStore, RequestWithinCapacityChangesNothing) {
    SpectrumStore s;
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 1000));
    s.CURRENT_SPECTRUM[5] = 7.0;
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 1024));
    EXPECT_EQ(s.CHANNEL_CAPACITY, 1024);
    EXPECT_EQ(s.CURRENT_SPECTRUM[5], 7.0);
    EXPECT_EQ(s.CURRENT_SPECTRUM[6], -1.0);
}

TEST(SpectrumStore, GrowthKeepsEveryValueInItsRowAndColumn) {
    SpectrumStore s;
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 1000));
    for (int i = 0; i < 1024; ++i) {
        s.CURRENT_SPECTRUM[static_cast<std::size_t>(i)] = i;
        s.file_column(3)[static_cast<std::size_t>(i)] = 3000 + i;
        s.list_column(99)[static_cast<std::size_t>(i)] = 99000 + i;
    }
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 1025));
    EXPECT_EQ(s.CHANNEL_CAPACITY, 2048);
    EXPECT_EQ(s.CURRENT_SPECTRUM.size(), 2048u);
    EXPECT_EQ(s.CURRENT_SPECTRUM[1023], 1023.0);
    EXPECT_EQ(s.file_column(3)[0], 3000.0);
    EXPECT_EQ(s.file_column(3)[1023], 4023.0);
    EXPECT_EQ(s.file_column(3).size(), 2048u);
    EXPECT_EQ(s.list_column(99)[1023], 100023.0);
}

TEST(SpectrumStore, ResetThenAllocatesAfresh) {
    SpectrumStore s;
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 100));
    s.CURRENT_SPECTRUM[0] = 5.0;
    s.FILE_SPECTRUM_COUNT = 3;
    reset_store(s);
    EXPECT_EQ(s.CHANNEL_CAPACITY, 0);
    EXPECT_EQ(s.FILE_SPECTRUM_COUNT, 0);
    EXPECT_TRUE(s.CURRENT_SPECTRUM.empty());
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 8192));
    EXPECT_EQ(s.CHANNEL_CAPACITY, 8192);
    EXPECT_EQ(s.CURRENT_SPECTRUM[0], -1.0);
    EXPECT_EQ(s.CURRENT_SPECTRUM[8191], -1.0);
}

TEST(SpectrumStore, LogSpectrumTakesSmallCountsAsOneHalfAndOnlyTheChannelsRead) {
    SpectrumStore s;
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 6));
    s.CHANNEL_COUNT = 5;
    s.CURRENT_SPECTRUM = {0.0, 100.0, 0.3, 55.0, -4.0, 9.0, 0.0, 0.0};
    EXPECT_TRUE(s.CURRENT_LOG_SPECTRUM.empty());
    const auto middle = log_spectrum(s, 2, 3);
    ASSERT_EQ(middle.size(), 2u);
    EXPECT_EQ(middle[0], 2.0);
    EXPECT_NEAR(middle[1], -0.30103, 1e-5);
    EXPECT_EQ(s.CURRENT_LOG_SPECTRUM[0], 0.1);  // not read
    EXPECT_EQ(s.CURRENT_LOG_SPECTRUM[3], 0.1);
    // Channels outside 1..CHANNEL_COUNT are not read.
    const auto all = log_spectrum(s, -3, 9);
    ASSERT_EQ(all.size(), 5u);
    EXPECT_NEAR(all[0], -0.30103, 1e-5);
    EXPECT_NEAR(all[3], std::log10(55.0), 1e-15);
    EXPECT_NEAR(all[4], -0.30103, 1e-5);
    EXPECT_EQ(s.CURRENT_LOG_SPECTRUM[5], 0.1);
    EXPECT_TRUE(log_spectrum(s, 4, 3).empty());
}

TEST(SpectrumStore, LogSpectrumFollowsEveryChangeOfTheCounts) {
    SpectrumStore s;
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 4));
    s.CHANNEL_COUNT = 4;
    s.CURRENT_SPECTRUM = {10.0, 1000.0, 1.0, 1.0};
    EXPECT_EQ(log_spectrum(s, 1, 4)[1], 3.0);
    // Whoever writes counts need not say so: a changed count gets its own logarithm.
    s.CURRENT_SPECTRUM[1] = 100.0;
    EXPECT_EQ(log_spectrum(s, 1, 4)[1], 2.0);
    // A larger capacity keeps nothing stale either.
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 1000));
    s.CHANNEL_COUNT = 1000;
    s.CURRENT_SPECTRUM[999] = 1e6;
    const auto grown = log_spectrum(s, 1, 1000);
    ASSERT_EQ(grown.size(), 1000u);
    EXPECT_EQ(grown[0], 1.0);
    EXPECT_EQ(grown[1], 2.0);
    EXPECT_EQ(grown[999], 6.0);
}

TEST(SpectrumStore, SingleSpectrumRoundsOnlyCountsThatAreNotWhole) {
    SpectrumStore s;
    const std::vector<double> counts{3.0, 2.5, -2.5, 7.4, 1e12, -1e12, 2147483647.0};
    ASSERT_TRUE(store_single_spectrum(s, std::span<const double>(counts), "  header  "));
    EXPECT_EQ(s.RAW_COUNTS, (std::vector<std::int32_t>{3, 3, -3, 7, 2147483647, -2147483647 - 1, 2147483647}));
    EXPECT_EQ(s.CURRENT_SPECTRUM[1], 2.5);
    EXPECT_EQ(s.file_column(1)[4], 1e12);
    EXPECT_EQ(s.FILE_SPECTRUM_HEADERS[0], "  header");
    EXPECT_EQ(s.CHANNEL_COUNT, 7);
    const std::vector<std::int32_t> whole{5, -6, 2147483647};
    ASSERT_TRUE(store_single_spectrum(s, whole, "h"));
    EXPECT_EQ(s.RAW_COUNTS, whole);
    EXPECT_EQ(s.CURRENT_SPECTRUM[1], -6.0);
    EXPECT_EQ(s.file_column(1)[2], 2147483647.0);
    EXPECT_EQ(s.CHANNEL_COUNT, 3);
}
