#pragma once
// Walking the lines of a text held in memory. Lines end at '\n'; a '\r' before it
// (Windows line ends) is dropped, and a last line without a line end is a line too.

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "text_utils.h"

namespace vorelbox::common {

class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    std::optional<std::string_view> next() {
        if (pos_ >= text_.size()) {
            return std::nullopt;
        }
        const std::size_t end = text_.find('\n', pos_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        std::string_view line = text_.substr(pos_, stop - pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return line;
    }

    std::optional<std::string_view> next_non_blank() {
        while (auto line = next()) {
            if (!is_blank(*line)) {
                return line;
            }
        }
        return std::nullopt;
    }

    // The text not read yet.
    std::string_view rest() const { return text_.substr(pos_); }
    // Passes over `bytes` bytes of the rest, which a caller read by itself.
    void skip(std::size_t bytes) { pos_ = std::min(text_.size(), pos_ + bytes); }
    void rewind() { pos_ = 0; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

inline std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    Lines cursor(text);
    while (auto line = cursor.next()) {
        lines.push_back(*line);
    }
    return lines;
}

// The text without a UTF-8 byte-order mark at its start.
inline std::string_view without_bom(std::string_view text) {
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (text.substr(0, bom.size()) == bom) {
        text.remove_prefix(bom.size());
    }
    return text;
}

}  // namespace vorelbox::common
