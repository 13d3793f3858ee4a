#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "edit_format.h"
#include "free_format.h"

namespace vorelbox::common {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string written(std::string_view format_text, const std::vector<double>& counts) {
    const auto format = parse_edit_format(format_text);
    EXPECT_TRUE(format.has_value()) << format_text;
    std::ostringstream out;
    if (format) {
        write_counts(out, *format, counts);
    }
    return out.str();
}

// A format read back as its items ("10i8", "1f7.2", joined by commas; "*" when free),
// a slash and the values on a line; "none" when it is not a format.
std::string items_of(std::string_view text) {
    const auto format = parse_edit_format(text);
    if (!format) {
        return "none";
    }
    std::ostringstream out;
    out << (format->free ? "*" : "");
    const char* separator = "";
    for (const FormatItem& item : format->items) {
        out << separator << item.repeat << item.kind << item.width;
        if (item.kind == 'f') {
            out << '.' << item.decimals;
        }
        separator = ",";
    }
    out << '/' << format->values_per_line();
    return out.str();
}

TEST(EditFormat, ReadsTheUsualFormatsInAnyCase) {
    EXPECT_EQ(items_of("(10i8)"), "10i8/10");
    EXPECT_EQ(items_of("(8i9)"), "8i9/8");
    EXPECT_EQ(items_of("(8I10)"), "8i10/8");
    EXPECT_EQ(items_of(" ( I 12 , 9i7 ) "), "1i12,9i7/10");
    EXPECT_EQ(items_of("(f10.0)"), "1f10.0/1");
    EXPECT_EQ(items_of("(10F7.2)"), "10f7.2/10");
    EXPECT_EQ(items_of("(5i6,15i6)"), "5i6,15i6/20");
    EXPECT_EQ(items_of(" * "), "*/0");
    EXPECT_EQ(integer_format(10, 8), "(10i8)");
    EXPECT_EQ(items_of(integer_format(4, 12)), "4i12/4");
}

TEST(EditFormat, RejectsJunk) {
    for (const char* text : {"(10x8)", "(i0)", "", "(10i8", "10i8)", "10i8", "()", "(10i8,)",
                             "(0i8)", "(10i)", "(f10)", "(f5.5)", "(i8.2)", "(10i8)x", "**"}) {
        EXPECT_FALSE(parse_edit_format(text)) << '"' << text << '"';
    }
}

TEST(EditFormat, WritesFullLinesAndAShortLastOne) {
    std::vector<double> counts(1024);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        counts[i] = static_cast<double>(i * i * 7 % 9999991);
    }
    const std::string text = written("(10i8)", counts);
    const auto lines = lines_of(text);
    ASSERT_EQ(lines.size(), 103u);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(lines.back().size(), 4u * 8u);
    std::size_t next = 0;
    for (const std::string& line : lines) {
        ASSERT_EQ(line.size() % 8, 0u) << line;
        for (std::size_t pos = 0; pos < line.size(); pos += 8) {
            EXPECT_EQ(parse_free_integer(line.substr(pos, 8)),
                      static_cast<long long>(counts[next]));
            ++next;
        }
    }
    EXPECT_EQ(next, counts.size());
    EXPECT_EQ(written("(10i8)", {}), "");
}

TEST(EditFormat, MixedItemsGiveEachFieldItsWidth) {
    std::vector<double> counts(12, 5.0);
    counts[0] = 3.0;
    std::string expected = "           3";
    for (int i = 0; i < 9; ++i) {
        expected += "      5";
    }
    EXPECT_EQ(written("(i12,9i7)", counts), expected + "\n           5      5\n");
}

TEST(EditFormat, IntegerFieldsRoundAndNeverLoseDigits) {
    EXPECT_EQ(written("(10i8)", {16777217.0}), "16777217\n");
    EXPECT_EQ(written("(3i4)", {1.0, 123456.0, -2.0}), "   1 123456  -2\n");
    EXPECT_EQ(written("(5i4)", {2.5, -2.5, 0.4, -0.4, 7.49}), "   3  -3   0   0   7\n");
    EXPECT_EQ(written("(2i3)", {-12345.0, 1e15}), " -12345 1000000000000000\n");
}

TEST(EditFormat, WholeCountsOfEveryLengthKeepTheirDigitsAndBlanks) {
    // Every number of digits from 1 to 19, at both ends, with and without a minus,
    // in a field wider than the count, in one it fills exactly (a blank before it,
    // except at the start of a line) and in one too narrow.
    std::uint64_t power = 1;
    for (int digits = 1; digits <= 19; ++digits, power *= 10) {
        const auto top = static_cast<double>(digits == 19 ? std::uint64_t{8999999999999999999U} : power * 10 - 1);
        for (const double magnitude : {static_cast<double>(power), top}) {
            for (const double count : {magnitude, -magnitude}) {
                const std::string text = std::to_string(static_cast<long long>(count));
                const std::string width = std::to_string(text.size());
                EXPECT_EQ(written("(i22)", {count}), std::string(22 - text.size(), ' ') + text + "\n");
                EXPECT_EQ(written("(2i" + width + ")", {count, count}), text + ' ' + text + "\n");
                if (text.size() > 1) {
                    EXPECT_EQ(written("(2i1)", {count, count}), ' ' + text + ' ' + text + "\n");
                }
            }
        }
    }
    EXPECT_EQ(written("(3i1)", {0.0, 0.0, 7.0}), "0 0 7\n");
    EXPECT_EQ(written("(3i2)", {0.0, -0.0, -9.0}), " 0 0 -9\n");
}

TEST(EditFormat, FixedPointFields) {
    const FormatItem f10_2{1, 'f', 10, 2};
    EXPECT_EQ(format_field(f10_2, 3.14159), "      3.14");
    EXPECT_EQ(format_field(f10_2, -1.005e3), "  -1005.00");
    EXPECT_EQ(format_field({1, 'f', 5, 2}, 1234.5), " 1234.50");
    EXPECT_EQ(format_real("(f10.0)", 12345.0), "    12345.");
    EXPECT_EQ(format_real("(f10.0)", 16777217.0), " 16777217.");
    EXPECT_EQ(format_real("(f6.1)", -0.04), "   0.0");
    EXPECT_EQ(written("(3f7.1)", {1.26, 2.0, 3.0, 4.0}), "    1.3    2.0    3.0\n    4.0\n");
    EXPECT_EQ(format_real("no format", 0.1), "0.1");
}

TEST(EditFormat, FreeFormatWritesTenValuesALineThatReadBack) {
    std::vector<double> counts = {1.5, -3.0, 16777217.0, 0.1, 1e20};
    counts.resize(12, 4.0);
    const auto lines = lines_of(written("*", counts));
    ASSERT_EQ(lines.size(), 2u);
    std::vector<double> back;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        for (std::string token; in >> token;) {
            back.push_back(parse_free_real(token).value_or(-999.0));
        }
    }
    EXPECT_EQ(back, counts);
    EXPECT_EQ(lines[1], " 4 4");
}

}  // namespace
}  // namespace vorelbox::common
