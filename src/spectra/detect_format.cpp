#include "detect_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "digit_run.h"
#include "text_utils.h"

namespace vorelbox::spectra {


namespace {

// The widest value field a format can describe.
constexpr int max_field_width = 99;

struct LineScan {
    int n = 0;
    int first_width = 0;
    int second_width = 0;  // width of value 2
    bool later_widths_equal = true;  // values 2..n all as wide as value 2
    int last_width = 0;
    bool has_point = false;
    bool data = true;
};

LineScan scan_line(std::string_view line) {
    LineScan s;
    line = common::trim_right(line);
    bool in_separator = true;
    int w = 0;
    // A value has ended; record its width.
    auto end_value = [&s](int width) {
        if (s.n == 1) {
            s.first_width = width;
        } else if (s.n == 2) {
            s.second_width = width;
        } else if (width != s.second_width) {
            s.later_widths_equal = false;
        }
        s.last_width = width;
    };
    for (const char c : line) {
        if (is_data_char(c)) {
            if (in_separator) {
                ++s.n;
                in_separator = false;
            }
            ++w;
            if (c == '.') {
                s.has_point = true;
            }
        } else if (is_separator(c)) {
            if (in_separator) {
                ++w;
            } else {
                end_value(w);
                in_separator = true;
                w = 1;
            }
        } else {
            s.data = false;
            s.n = 0;
            return s;
        }
    }
    if (!in_separator) {
        end_value(w);
    }
    return s;
}

// "(" repeat kind width ")" with ".0" after real widths, e.g. (10f7.0), (i10),
// and with a second item when `rest` is given: (i12,9i7).
std::string field_format(int repeat, char kind, int width, int rest = 0, int rest_width = 0) {
    std::string text = "(";
    auto item = [&](int count, int w) {
        if (count > 0) {
            text += std::to_string(count);
        }
        text += kind;
        text += std::to_string(w);
        if (kind == 'f') {
            text += ".0";
        }
    };
    item(repeat, width);
    if (rest > 0) {
        text += ',';
        item(rest, rest_width);
    }
    text += ')';
    return text;
}

}  // namespace

DetectedFormat DETECT_FORMAT(std::string_view line) {
    DetectedFormat f;
    const LineScan s = scan_line(line);
    if (!s.data || s.n == 0) {
        return f;
    }
    f.n = s.n;
    f.has_point = s.has_point;
    if (s.last_width > max_field_width) {
        return f;
    }
    if (s.n < 2) {
        const int w = std::max(s.first_width, 10);
        f.read_format = field_format(0, 'f', w);
        if (!s.has_point) {
            f.integer_format = field_format(0, 'i', w);
        }
        return f;
    }
    if (!s.later_widths_equal) {
        f.kind = "free";
        f.read_format.assign(1, '*');  // (assigning the literal trips a false -Wrestrict in GCC 12)
        return f;
    }
    if (s.first_width == s.second_width) {
        f.read_format = field_format(s.n, 'f', s.second_width);
        if (!s.has_point) {
            f.integer_format = field_format(s.n, 'i', s.second_width);
        }
    } else {
        f.read_format = field_format(0, 'f', s.first_width, s.n - 1, s.second_width);
        if (!s.has_point) {
            f.integer_format = field_format(0, 'i', s.first_width, s.n - 1, s.second_width);
        }
    }
    return f;
}

bool reads_as_data(std::string_view line) {
    const LineScan s = scan_line(line);
    return s.data && s.n > 0;
}

namespace {

// The bytes of a word that can be part of a value, "0123456789.-", each marked
// by its high bit.
std::uint64_t value_bytes(std::uint64_t word) {
    using namespace digit_words;
    const std::uint64_t points = ~bytes_other_than(word, '.');
    const std::uint64_t minuses = ~bytes_other_than(word, '-');
    return digit_bytes(word) | ((points | minuses) & (0x80 * each_byte));
}

}  // namespace

int count_data_values(std::string_view line) {
    // The same answer as scan_line's, eight bytes at a time: every byte must be
    // a separator or part of a value, and a value starts at each byte that is
    // no separator after one that is.
    line = common::trim_right(line);
    int n = 0;
    unsigned before = 0;  // 1 when the byte before the word is part of a value
    for (std::size_t at = 0; at < line.size(); at += 8) {
        // The last word is filled up with blanks.
        std::array<char, 8> bytes;
        bytes.fill(' ');
        const std::size_t count = std::min<std::size_t>(8, line.size() - at);
        std::copy_n(line.data() + at, count, bytes.begin());
        const std::uint64_t word = digit_words::word_at(bytes.data());
        const std::uint64_t separators = digit_words::separator_bytes(word);
        if ((separators | value_bytes(word)) != 0x80 * digit_words::each_byte) {
            return 0;
        }
        const unsigned in_values = digit_words::gather_high_bits(~separators & (0x80 * digit_words::each_byte));
        n += std::popcount(in_values & ~((in_values << 1U) | before) & 0xFFU);
        before = (in_values >> 7U) & 1U;
    }
    if (n == 0) {
        return 0;
    }
    // The last value's width: from the end of the value before it (or the start
    // of the line) to its own end, trailing commas left out.
    std::size_t i = line.size();
    while (is_separator(line[i - 1])) {
        --i;
    }
    const std::size_t value_end = i;
    while (i > 0 && !is_separator(line[i - 1])) {
        --i;
    }
    while (i > 0 && is_separator(line[i - 1])) {
        --i;
    }
    return value_end - i > static_cast<std::size_t>(max_field_width) ? 0 : n;
}

}  // namespace vorelbox::spectra
