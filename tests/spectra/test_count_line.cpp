#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "count_line.h"
#include "free_format.h"

using namespace vorelbox;
using spectra::read_line_counts;

namespace {

bool is_separator(char c) { return c == ' ' || c == '\t' || c == ','; }
bool is_data_char(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-'; }

// The reading of a data line token by token: a token of an optional '-' and 1 to
// 15 digits is that whole number; a token of nothing but '-' and '.' is 0; any
// other token of "0123456789.-" is what parse_count makes of it; a token with
// another character spoils the line. Past the limit, tokens are only checked.
std::optional<std::vector<double>> read_token_by_token(std::string_view line, std::size_t limit) {
    std::vector<double> values;
    std::size_t i = 0;
    while (i < line.size()) {
        if (is_separator(line[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && !is_separator(line[i])) {
            ++i;
        }
        const std::string_view token = line.substr(start, i - start);
        for (const char c : token) {
            if (!is_data_char(c)) {
                return std::nullopt;
            }
        }
        if (values.size() == limit) {
            continue;
        }
        const bool negative = token[0] == '-';
        const std::string_view digits = token.substr(negative ? 1 : 0);
        if (!digits.empty() && digits.size() <= 15 && digits.find_first_not_of("0123456789") == std::string_view::npos) {
            const auto v = static_cast<double>(std::stoll(std::string(digits)));
            values.push_back(negative ? -v : v);
        } else if (token.find_first_of("0123456789") == std::string_view::npos) {
            values.push_back(0.0);
        } else if (const auto v = common::parse_count(token)) {
            values.push_back(*v);
        } else {
            return std::nullopt;
        }
    }
    return values;
}

std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }

// Reads the first `line_length` bytes of `text` into a buffer whose unused cells
// hold a marker, and checks that no cell past the values read was written.
std::optional<std::vector<double>> read_fast(std::string_view text, std::size_t line_length, std::size_t limit) {
    const double marker = -12345.25;
    std::vector<double> out(limit + 4, marker);
    const auto read = read_line_counts(text, line_length, out.data(), limit);
    if (!read) {
        return std::nullopt;
    }
    EXPECT_LE(*read, limit);
    for (std::size_t i = *read; i < out.size(); ++i) {
        EXPECT_EQ(bits(out[i]), bits(marker)) << "cell " << i << " of \"" << text.substr(0, line_length) << '"';
    }
    out.resize(*read);
    return out;
}

// Reads the line at the start of `text` with read_line_counts and token by
// token, and expects the same values, bit for bit, or a refusal from both.
void expect_both_readings_agree(std::string_view text, std::size_t line_length, std::size_t limit) {
    const std::string_view line = text.substr(0, line_length);
    const auto fast = read_fast(text, line_length, limit);
    const auto slow = read_token_by_token(line, limit);
    ASSERT_EQ(fast.has_value(), slow.has_value()) << '"' << line << "\" limit " << limit;
    if (!fast) {
        return;
    }
    ASSERT_EQ(fast->size(), slow->size()) << '"' << line << "\" limit " << limit;
    for (std::size_t i = 0; i < fast->size(); ++i) {
        ASSERT_EQ(bits((*fast)[i]), bits((*slow)[i])) << '"' << line << "\" value " << i;
    }
}

}  // namespace

TEST(ReadLineCounts, ReadsPlainLongSignedAndEmptyValues) {
    const std::string line = "  12345678 1234567,123456789012345\t-42 - . 1234567890123456 2.5 -0";
    const auto v = read_fast(line, line.size(), 20);
    ASSERT_TRUE(v);
    const std::vector<double> expected = {12345678, 1234567, 123456789012345.0, -42, 0, 0, 1234567890123456.0, 2.5, -0.0};
    ASSERT_EQ(v->size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(bits((*v)[i]), bits(expected[i])) << i;
    }
}

TEST(ReadLineCounts, TheBytesAfterTheLineNeverCount) {
    // The line ends inside a run of digits that the buffer goes on with.
    const std::string text = "7 123456789012\n";
    EXPECT_EQ(read_fast(text, 9, 10), (std::vector<double>{7, 1234567}));
    EXPECT_EQ(read_fast(text, 10, 10), (std::vector<double>{7, 12345678}));
    EXPECT_EQ(read_fast(text, 11, 10), (std::vector<double>{7, 123456789}));
    EXPECT_EQ(read_fast(text, 12, 10), (std::vector<double>{7, 1234567890}));
    EXPECT_EQ(read_fast("1 23456789x", 10, 10), (std::vector<double>{1, 23456789}));
    // A line that ends where the buffer ends is read one byte at a time.
    EXPECT_EQ(read_fast("99", 2, 10), (std::vector<double>{99}));
}

TEST(ReadLineCounts, ValuesPastTheLimitAreCheckedNotRead) {
    EXPECT_EQ(read_fast("1 2 3 4", 7, 2), (std::vector<double>{1, 2}));
    EXPECT_FALSE(read_fast("1 2 3 x", 7, 2));
    EXPECT_FALSE(read_fast("1 2e3", 5, 5));
    EXPECT_FALSE(read_fast("12345678+", 9, 5));
}

TEST(ReadLineCounts, AgreesWithTheTokenByTokenReadingOnRandomLines) {
    // Lines of numbers of 0 to 20 digits (the word reading changes at 8 and 16),
    // some of up to 80 (longer than the 64 bytes looked at together), after 1 to
    // 20 blanks, signs, points, letters and separators, in buffers that go on
    // after the line with more bytes (digits and blanks too) or end with it.
    std::mt19937 random(11);
    const std::string others = "  ,\t-.-.+eEx\r";
    const std::string tail_bytes = "0123456789  \n\r-.,\t";
    std::uniform_int_distribution<int> tokens(0, 8);
    std::uniform_int_distribution<int> digits(0, 20);
    std::uniform_int_distribution<int> long_digits(0, 80);
    std::uniform_int_distribution<std::size_t> blanks(1, 20);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<std::size_t> other(0, others.size() - 1);
    std::uniform_int_distribution<std::size_t> tail_byte(0, tail_bytes.size() - 1);
    std::uniform_int_distribution<int> tail_length(0, 80);
    std::uniform_int_distribution<std::size_t> limit_of(0, 10);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int trial = 0; trial < 30000; ++trial) {
        std::string line;
        for (int t = tokens(random); t > 0; --t) {
            const int k = kind(random);
            if (k < 6) {
                line.append(k < 3 ? static_cast<std::size_t>(1 + k) : blanks(random), ' ');
                if (k == 5) {
                    line += '-';
                }
                for (int n = k == 4 ? long_digits(random) : digits(random); n > 0; --n) {
                    line += static_cast<char>('0' + digit(random));
                }
            } else {
                line += others[other(random)];
                if (k == 9) {
                    line += static_cast<char>('0' + digit(random));
                }
            }
        }
        std::string text = line;
        for (int n = tail_length(random); n > 0; --n) {
            text += tail_bytes[tail_byte(random)];
        }
        const std::size_t limit = limit_of(random);
        expect_both_readings_agree(text, line.size(), limit);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

TEST(ReadLineCounts, AgreesWithTheTokenByTokenReadingOnLinesOfEightByteFields) {
    // Lines of 1 to 12 fields of eight bytes, as (10i8) writes them, most of them
    // right-aligned integers, some spoilt in one byte: a digit where the blank
    // between two values belongs (the values then touch), a blank between
    // digits, a field of blanks, a sign, a point, a tab, a letter, a byte above
    // 127. Limits below the number of fields are tried too.
    std::mt19937 random(23);
    const std::string spoilers = "0 -.\tx,\xB5\x80\x39\x3A/";
    std::uniform_int_distribution<int> field_count(1, 12);
    std::uniform_int_distribution<int> digit_count(1, 8);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> spoil(0, 3);
    std::uniform_int_distribution<std::size_t> spoiler(0, spoilers.size() - 1);
    std::uniform_int_distribution<std::size_t> position(0, 7);
    std::uniform_int_distribution<int> extra_limit(-2, 3);
    for (int trial = 0; trial < 30000; ++trial) {
        const int fields = field_count(random);
        std::string line;
        for (int f = 0; f < fields; ++f) {
            // Eight digits fill a field; only the first may do so and stay apart.
            const int n = std::min(digit_count(random), f == 0 ? 8 : 7);
            std::string field(static_cast<std::size_t>(8 - n), ' ');
            for (int d = 0; d < n; ++d) {
                field += static_cast<char>('0' + digit(random));
            }
            line += field;
        }
        const bool spoilt = spoil(random) == 0;
        if (spoilt) {
            const std::size_t at = 8 * static_cast<std::size_t>(std::uniform_int_distribution<int>(0, fields - 1)(random)) +
                                   position(random);
            line[at] = spoilers[spoiler(random)];
        }
        const std::size_t limit =
            static_cast<std::size_t>(std::max(1, fields + (spoilt ? extra_limit(random) : std::max(0, extra_limit(random)))));
        const std::string text = line + "\r\n  123";
        expect_both_readings_agree(text, line.size(), limit);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

TEST(ReadLineCounts, FieldsOfEightBytesThatTouchAreOneValue) {
    // A field filled with digits after the first joins the value before it.
    EXPECT_EQ(read_fast("    123412345678", 16, 10), (std::vector<double>{123412345678.0}));
    EXPECT_EQ(read_fast("12345678 1234567", 16, 10), (std::vector<double>{12345678, 1234567}));
    // A field of blanks is no value; a line of them none at all.
    EXPECT_EQ(read_fast("       1        ", 16, 10), (std::vector<double>{1}));
    EXPECT_EQ(read_fast("        ", 8, 10), (std::vector<double>{}));
    EXPECT_EQ(read_fast("      -1       0", 16, 10), (std::vector<double>{-1, 0}));
    EXPECT_FALSE(read_fast("       1      1x", 16, 10));
}
