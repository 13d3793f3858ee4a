#include "detect_format.h"

#include <algorithm>

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

int count_data_values(std::string_view line) {
    const LineScan s = scan_line(line);
    if (!s.data || s.n == 0 || s.last_width > max_field_width) {
        return 0;
    }
    return s.n;
}

}  // namespace vorelbox::spectra
