#include "count_log.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vorelbox::common {
namespace {

// x = 2^e * m with m in [1, 2); m is taken as f * (1 + d), where f is the nearest
// of 4097 points 1, 1 + 1/4096, ..., 2, so that |d| < 2^-13 and a short series
// gives ln(1 + d) to far better than a unit in the last place.
constexpr int table_bits = 12;
constexpr int table_points = (1 << table_bits) + 1;
constexpr int mantissa_bits = 52;
constexpr std::uint64_t mantissa_mask = (std::uint64_t{1} << mantissa_bits) - 1;
constexpr std::uint64_t exponent_of_one = std::uint64_t{1023} << mantissa_bits;

// log10(2) split so that e * high is exact for every exponent of a double.
constexpr double log10_2_high = 0x1.34413509f7800p-2;
constexpr double log10_2_low = 0x1.fef311f12b358p-46;
constexpr double log10_e = 0.43429448190325182765;

struct LogTable {
    std::array<double, table_points> high{};  // log10(f), rounded
    std::array<double, table_points> low{};   // what the rounding left out
    std::array<double, table_points> inverse{};  // 1 / f
};

LogTable make_table() {
    LogTable t;
    for (int i = 0; i < table_points; ++i) {
        const long double f = 1.0L + static_cast<long double>(i) / (1 << table_bits);
        const long double l = std::log10(f);
        t.high[static_cast<std::size_t>(i)] = static_cast<double>(l);
        t.low[static_cast<std::size_t>(i)] = static_cast<double>(l - static_cast<long double>(static_cast<double>(l)));
        t.inverse[static_cast<std::size_t>(i)] = static_cast<double>(1.0L / f);
    }
    return t;
}

// Built once, on first use, and never changed.
const LogTable& table() {
    static const LogTable t = make_table();
    return t;
}

double general_log10(double x);

// Whole counts below 2^16, the counts of almost every channel, are looked up.
constexpr std::uint32_t whole_table_size = 1 << 16;

std::vector<double> make_whole_table() {
    std::vector<double> t(whole_table_size);
    for (std::uint32_t k = 1; k < whole_table_size; ++k) {
        t[k] = general_log10(static_cast<double>(k));
    }
    return t;
}

const std::vector<double>& whole_table() {
    static const std::vector<double> t = make_whole_table();
    return t;
}

double general_log10(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const auto biased = static_cast<int>(bits >> mantissa_bits);  // sign bit included: negatives fall out
    if (biased == 0 || biased >= 0x7ff) {
        return std::log10(x);
    }
    const int e = biased - 1023;
    const std::uint64_t mantissa = bits & mantissa_mask;
    const double m = std::bit_cast<double>(mantissa | exponent_of_one);
    // The nearest table point: the mantissa rounded to table_bits bits.
    const auto i = static_cast<std::size_t>((mantissa + (std::uint64_t{1} << (mantissa_bits - table_bits - 1))) >>
                                            (mantissa_bits - table_bits));
    const double f = 1.0 + static_cast<double>(i) * (1.0 / (1 << table_bits));
    const LogTable& t = table();
    const double d = (m - f) * t.inverse[i];  // m - f is exact
    // ln(1 + d) = d - d^2/2 + d^3/3 - d^4/4 + d^5/5 - ...; the next term is below 1e-24.
    const double ln1p = d - d * d * (0.5 - d * (1.0 / 3.0 - d * (0.25 - d * 0.2)));
    const double exponent_part = e * log10_2_high;  // exact
    return (exponent_part + t.high[i]) + (e * log10_2_low + t.low[i] + ln1p * log10_e);
}

}  // namespace

double count_log10(double x) {
    if (x >= 1.0 && x < whole_table_size) {
        const auto whole = static_cast<std::uint32_t>(x);
        if (static_cast<double>(whole) == x) {
            return whole_table()[whole];
        }
    }
    return general_log10(x);
}

}  // namespace vorelbox::common
