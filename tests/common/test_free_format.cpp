#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "free_format.h"

using namespace vorelbox::common;

namespace {

// The values read a line at a time from Lines: separators are blanks, tabs and
// commas, and the line holding the last value is passed over whole.
FreeValues read_line_by_line(Lines& lines, std::size_t count) {
    FreeValues r;
    while (r.values.size() < count) {
        const auto line = lines.next();
        if (!line) {
            return r;
        }
        std::size_t i = 0;
        const std::string_view l = *line;
        while (i < l.size() && r.values.size() < count) {
            while (i < l.size() && (l[i] == ' ' || l[i] == '\t' || l[i] == ',')) {
                ++i;
            }
            if (i == l.size()) {
                break;
            }
            const std::size_t start = i;
            while (i < l.size() && l[i] != ' ' && l[i] != '\t' && l[i] != ',') {
                ++i;
            }
            const std::string_view token = l.substr(start, i - start);
            auto value = parse_count(token);
            if (!value) {
                value = parse_free_real(token);
            }
            if (!value) {
                return r;
            }
            r.values.push_back(*value);
        }
    }
    r.ok = true;
    return r;
}

}  // namespace

TEST(ReadFreeValues, ReadsCountsAcrossLineEndsAndPassesOverTheRestOfTheLastLine) {
    Lines lines("1 2,3\r\n\r\n\t4\n5 6 7 junk\nnext line\n");
    const FreeValues v = read_free_values(lines, 6);
    ASSERT_TRUE(v.ok);
    EXPECT_EQ(v.values, (std::vector<double>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(lines.next().value_or("?"), "next line");
}

TEST(ReadFreeValues, StopsAtATokenThatIsNoNumberAndAtTheEndOfTheText) {
    Lines bad("1 2\n3 x 4\nafter\n");
    const FreeValues v = read_free_values(bad, 4);
    EXPECT_FALSE(v.ok);
    EXPECT_EQ(v.values, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(bad.next().value_or("?"), "after");
    Lines short_text("1 2\n3");
    EXPECT_FALSE(read_free_values(short_text, 4).ok);
    Lines none("1 2\n");
    const FreeValues zero = read_free_values(none, 0);
    EXPECT_TRUE(zero.ok);
    EXPECT_EQ(none.next().value_or("?"), "1 2");
}

TEST(ReadFreeValues, LongNumbersDecimalsAndSignsAreReadExactly) {
    Lines lines("123456789012345 1234567890123456 -5 +7 2.5 1e3 1d2 -.5\n");
    const FreeValues v = read_free_values(lines, 8);
    ASSERT_TRUE(v.ok);
    EXPECT_EQ(v.values, (std::vector<double>{123456789012345.0, 1234567890123456.0, -5, 7, 2.5, 1000, 100, -0.5}));
}

TEST(ReadFreeValues, OnePassReadsWhatTheLinesSayOnRandomTexts) {
    // Texts of digits, signs, points, letters, separators and both kinds of line
    // end (a lone '\r' too), and runs of up to 20 blanks as in right-aligned
    // fields: the one-pass reading must agree with the line-by-line one.
    const std::string alphabet = "0123456789012345678901234567890123456789  ,\t\r\n\n\n.-+eEdx$";
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 60);
    std::uniform_int_distribution<std::size_t> wanted(0, 12);
    std::bernoulli_distribution blank_run(0.15);
    std::uniform_int_distribution<std::size_t> run_length(1, 20);
    for (int trial = 0; trial < 20000; ++trial) {
        std::string text;
        for (int i = length(random); i > 0; --i) {
            if (blank_run(random)) {
                text.append(run_length(random), ' ');
            }
            text += alphabet[pick(random)];
        }
        const std::size_t count = wanted(random);
        Lines fast(text);
        Lines slow(text);
        const FreeValues a = read_free_values(fast, count);
        const FreeValues b = read_line_by_line(slow, count);
        ASSERT_EQ(a.ok, b.ok) << '"' << text << "\" " << count;
        ASSERT_EQ(a.values, b.values) << '"' << text << "\" " << count;
        ASSERT_EQ(fast.rest(), slow.rest()) << '"' << text << "\" " << count;
    }
}
