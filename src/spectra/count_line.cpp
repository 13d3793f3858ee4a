#include "count_line.h"

#include <algorithm>
#include <cstdint>

#include "detect_format.h"
#include "digit_run.h"
#include "free_format.h"

namespace vorelbox::spectra {

std::optional<std::size_t> read_line_counts(std::string_view text, std::size_t line_length, double* out,
                                            std::size_t limit) {
    line_length = std::min(line_length, text.size());
    const char* p = text.data();
    const char* const end = p + line_length;
    const char* const readable_end = p + text.size();
    std::size_t taken = 0;
    while (true) {
        // Blanks are passed one by one: in a file of fixed columns their number
        // repeats, and a branch that is foreseen costs less than word operations.
        while (p != end && is_separator(*p)) {
            ++p;
        }
        if (p == end) {
            break;
        }
        const char c = *p;
        const char* const start = p;
        if (taken == limit) {
            // Values beyond the limit are not read, but they must still be counts.
            if (!is_data_char(c)) {
                return std::nullopt;
            }
            ++p;
            continue;
        }
        // The common case, a plain integer, is read here in one pass; 15 digits
        // are exact in a double.
        const bool negative = c == '-';
        if (negative) {
            ++p;
        }
        const DigitRun d = digit_run(p, end, readable_end);
        const char* const after = p + d.count;
        if (d.count > 0 && d.count <= 15 && (after == end || is_separator(*after))) {
            // At most 15 digits: the value is exact as a signed integer and as a double.
            const auto v = static_cast<double>(static_cast<std::int64_t>(d.value));
            out[taken++] = negative ? -v : v;
            p = after;
            continue;
        }
        // Decimals, very long numbers and malformed tokens.
        p = start;
        while (p != end && is_data_char(*p)) {
            ++p;
        }
        if (p != end && !is_separator(*p)) {
            return std::nullopt;
        }
        const std::string_view token(start, static_cast<std::size_t>(p - start));
        if (token.find_first_of("0123456789") == std::string_view::npos) {
            // A lone "-" or "." (an empty cell of a spreadsheet) is a count of 0.
            out[taken++] = 0.0;
            continue;
        }
        const auto value = common::parse_count(token);
        if (!value) {
            return std::nullopt;
        }
        out[taken++] = *value;
    }
    return taken;
}

}  // namespace vorelbox::spectra
