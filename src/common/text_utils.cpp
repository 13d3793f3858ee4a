#include "text_utils.h"

#include <algorithm>

namespace vorelbox::common {

std::string_view trim_right(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && is_blank_char(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

std::string_view trim_left(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && is_blank_char(text[begin])) {
        ++begin;
    }
    return text.substr(begin);
}

std::string_view trim(std::string_view text) { return trim_left(trim_right(text)); }

bool is_blank(std::string_view text) { return trim_right(text).empty(); }

std::string CAPS(std::string_view text) {
    std::string out(text);
    const std::size_t end = trim_right(text).size();
    for (std::size_t i = 0; i < end; ++i) {
        if (out[i] >= 'a' && out[i] <= 'z') {
            out[i] = static_cast<char>(out[i] - 'a' + 'A');
        }
    }
    return out;
}

std::string LOWCASE(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

PathParts SPLITPATH(std::string_view path) {
    path = trim_right(path);
    constexpr auto npos = std::string_view::npos;
    const std::size_t slash = path.rfind('/');
    const std::size_t backslash = path.rfind('\\');
    std::size_t separator = npos;
    if (slash != npos && backslash != npos) {
        separator = std::max(slash, backslash);
    } else if (slash != npos) {
        separator = slash;
    } else {
        separator = backslash;
    }
    // A colon ends a drive only before the first separator: "C:\data" has one,
    // "/home/me/10:30/peak.dat" has none.
    std::size_t colon = path.find(':');
    if (colon != npos && path.find_first_of("/\\") < colon) {
        colon = npos;
    }
    std::size_t point = path.rfind('.');
    // A point inside a directory name does not start an extension.
    if (point != npos && separator != npos && point < separator) {
        point = npos;
    }

    PathParts parts;
    std::size_t name_begin = 0;
    if (separator != npos) {
        name_begin = separator + 1;
    } else if (colon != npos) {
        name_begin = colon + 1;
    }
    const std::size_t name_end = point != npos ? point : path.size();
    if (point != npos) {
        parts.extension = std::string(path.substr(point));
    }
    if (name_end > name_begin) {
        parts.name = std::string(path.substr(name_begin, name_end - name_begin));
    }
    const std::size_t dir_begin = colon != npos ? colon + 1 : 0;
    if (separator != npos && separator + 1 > dir_begin) {
        parts.directory = std::string(path.substr(dir_begin, separator + 1 - dir_begin));
    }
    if (colon != npos) {
        parts.drive = std::string(path.substr(0, colon + 1));
    }
    return parts;
}

std::string name_with_extension(std::string_view path) {
    const PathParts parts = SPLITPATH(path);
    return parts.name + parts.extension;
}

namespace {

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not valid.
std::size_t utf8_sequence_length(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t len = 0;
    if (lead < 0x80) {
        return 1;
    } else if ((lead & 0xE0) == 0xC0 && lead >= 0xC2) {
        len = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3;
    } else if ((lead & 0xF8) == 0xF0 && lead <= 0xF4) {
        len = 4;
    } else {
        return 0;
    }
    if (i + len > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < len; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return len;
}

}  // namespace

std::string cut_chars(std::string_view text, std::size_t max_chars) {
    if (text.size() <= max_chars) {
        return std::string(text);
    }
    std::size_t pos = 0;
    std::size_t chars = 0;
    while (pos < text.size() && chars < max_chars) {
        const std::size_t len = utf8_sequence_length(text, pos);
        if (len == 0) {
            // Not UTF-8: count bytes.
            return std::string(text.substr(0, max_chars));
        }
        pos += len;
        ++chars;
    }
    // Check that the rest is valid too, so that a Latin-1 text is cut by bytes throughout.
    for (std::size_t i = pos; i < text.size();) {
        const std::size_t len = utf8_sequence_length(text, i);
        if (len == 0) {
            return std::string(text.substr(0, max_chars));
        }
        i += len;
    }
    return std::string(text.substr(0, pos));
}

bool is_control_char(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

std::string blank_control_chars(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (is_control_char(c)) {
            c = ' ';
        }
    }
    return out;
}

bool has_control_char(std::string_view text) {
    return std::any_of(text.begin(), text.end(), is_control_char);
}

std::string shown_name(std::string_view name) {
    constexpr const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char c : name) {
        if (is_control_char(c)) {
            const auto code = static_cast<unsigned char>(c);
            out += "\\x";
            out += hex[code >> 4];
            out += hex[code & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::string_view cut_at_nul(std::string_view text) {
    const std::size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

}  // namespace vorelbox::common
