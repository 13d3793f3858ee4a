#include <gtest/gtest.h>

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
    EXPECT_EQ(s.CURRENT_LOG_SPECTRUM.back(), 0.1);
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
    EXPECT_EQ(s.CURRENT_LOG_SPECTRUM[6], 0.1);
}

TEST(SpectrumStore, GrowthKeepsEveryValueInItsRowAndColumn) {
    SpectrumStore s;
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 1000));
    for (int i = 0; i < 1024; ++i) {
        s.CURRENT_SPECTRUM[static_cast<std::size_t>(i)] = i;
        s.CURRENT_LOG_SPECTRUM[static_cast<std::size_t>(i)] = -i;
        s.file_column(3)[static_cast<std::size_t>(i)] = 3000 + i;
        s.list_column(99)[static_cast<std::size_t>(i)] = 99000 + i;
    }
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 1025));
    EXPECT_EQ(s.CHANNEL_CAPACITY, 2048);
    EXPECT_EQ(s.CURRENT_SPECTRUM.size(), 2048u);
    EXPECT_EQ(s.CURRENT_SPECTRUM[1023], 1023.0);
    EXPECT_EQ(s.CURRENT_LOG_SPECTRUM[1023], -1023.0);
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

TEST(SpectrumStore, LogSpectrumTakesSmallCountsAsOneHalf) {
    SpectrumStore s;
    ASSERT_TRUE(REALLOCATE_SPECTRA(s, 4));
    s.CHANNEL_COUNT = 3;
    s.CURRENT_SPECTRUM = {0.0, 100.0, 0.3, 55.0};
    update_log_spectrum(s);
    EXPECT_NEAR(s.CURRENT_LOG_SPECTRUM[0], -0.30103, 1e-5);
    EXPECT_DOUBLE_EQ(s.CURRENT_LOG_SPECTRUM[1], 2.0);
    EXPECT_NEAR(s.CURRENT_LOG_SPECTRUM[2], -0.30103, 1e-5);
    EXPECT_EQ(s.CURRENT_LOG_SPECTRUM[3], 0.1);  // beyond CHANNEL_COUNT
}
