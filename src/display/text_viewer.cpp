#include "text_viewer.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <system_error>

#include "input_file.h"
#include "os_path.h"
#include "text_utils.h"

namespace vorelbox::display {
namespace {

constexpr std::size_t KIND_CHARS = 30;
constexpr std::size_t CAPTION_CHARS = 200;
// A UTF-8 character has at most four bytes: this many bytes hold the shown characters.
constexpr std::size_t VIEW_LINE_BYTES = 4 * VIEW_LINE_CHARS;

// A line read by bytes without a UTF-8 sequence cut off at its end, so that it
// still reads as UTF-8 when it is.
std::string_view without_cut_sequence(std::string_view text) {
    std::size_t back = 0;
    while (back < 3 && back < text.size()) {
        const auto c = static_cast<unsigned char>(text[text.size() - 1 - back]);
        if ((c & 0xC0) != 0x80) {
            std::size_t needed = 1;
            if ((c & 0xE0) == 0xC0) {
                needed = 2;
            } else if ((c & 0xF0) == 0xE0) {
                needed = 3;
            } else if ((c & 0xF8) == 0xF0) {
                needed = 4;
            }
            return needed > back + 1 ? text.substr(0, text.size() - 1 - back) : text;
        }
        ++back;
    }
    return text;
}

void add_line(ViewText& view, LineNumber number, std::string_view line, bool line_numbers) {
    std::string prefix;
    if (line_numbers) {
        prefix += std::to_string(number);
        prefix += ' ';
    }
    if (!line.empty() && line.front() == '\f') {
        ViewRow rule{number, prefix.size(), 0, true, prefix};
        rule.text.append(RULE_WIDTH, '_');
        view.rows.push_back(std::move(rule));
        view.rows.push_back({number, 0, 1, false, std::string(common::trim_right(line.substr(1)))});
        return;
    }
    std::string text = prefix;
    text += line;
    view.rows.push_back({number, prefix.size(), 0, false, std::string(common::trim_right(text))});
}

std::optional<Highlight> highlight_of(const ViewText& view, const Hit& hit) {
    if (hit.line <= 0 || hit.column == 0) {
        return std::nullopt;
    }
    for (std::size_t r = 0; r < view.rows.size(); ++r) {
        const ViewRow& row = view.rows[r];
        if (row.line != hit.line || row.rule) {
            continue;
        }
        std::size_t in_line = hit.column - 1;
        std::size_t length = hit.length;
        if (in_line < row.skipped) {
            length -= std::min(length, row.skipped - in_line);
            in_line = row.skipped;
        }
        const std::size_t start = row.prefix + in_line - row.skipped;
        if (start >= row.text.size() || length == 0) {
            return std::nullopt;  // beyond the shown part of the line
        }
        return Highlight{r, start, std::min(length, row.text.size() - start)};
    }
    return std::nullopt;
}

LineNumber clamp_position(const TextViewer& viewer, LineNumber position) {
    return std::clamp<LineNumber>(position, 1, scroll_maximum(viewer));
}

}  // namespace

std::string ViewText::text() const {
    std::string out;
    for (const ViewRow& row : rows) {
        out += row.text;
        out += "\r\n";
    }
    return out;
}

LineNumber visible_lines(int client_height, int font_points) {
    const int p = font_points > 0 ? font_points : DEFAULT_FONT_POINTS;
    return ((std::max(client_height, 0) / p) * 3) / 4;
}

double report_font_points(std::string_view size_text) {
    const std::string_view text = common::trim(size_text);
    double size = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (error != std::errc{} || end != text.data() + text.size() || !(size > 0.0)) {
        return DEFAULT_FONT_POINTS;
    }
    return size;
}

LineNumber scroll_maximum(const TextViewer& viewer) {
    return std::max<LineNumber>(1, viewer.line_count - SCROLL_PAGE + 1);
}

ViewText read_view(std::istream& in, const LineIndex& index, LineNumber first, LineNumber last,
                   bool line_numbers, const Hit& hit) {
    ViewText view;
    first = std::max<LineNumber>(first, 1);
    std::size_t size = 0;
    if (index.lines() <= 0) {
        if (first == 1) {
            add_line(view, 1, EMPTY_FILE_TEXT, line_numbers);
        }
    } else {
        LineReader reader(in, index);
        if (reader.seek(first)) {
            for (LineNumber n = first; n <= last && size < VIEW_TEXT_LIMIT; ++n) {
                const auto line = reader.next(VIEW_LINE_BYTES);
                if (!line) {
                    break;
                }
                std::string_view text = *line;
                if (text.size() == VIEW_LINE_BYTES) {
                    text = without_cut_sequence(text);
                }
                const std::size_t before = view.rows.size();
                add_line(view, n, common::cut_chars(text, VIEW_LINE_CHARS), line_numbers);
                for (std::size_t r = before; r < view.rows.size(); ++r) {
                    size += view.rows[r].text.size() + 2;
                }
            }
        }
    }
    view.highlight = highlight_of(view, hit);
    return view;
}

bool SHOW_RESULT(common::Ui& ui, TextViewer& viewer, const std::string& path, std::string_view kind,
                 std::string_view caption) {
    auto index = index_file(common::os_path(path));
    if (!index) {
        common::WARN(ui, "Error reading Report file");
        return false;
    }
    viewer.kind = common::cut_chars(kind, KIND_CHARS);
    viewer.caption = common::cut_chars(caption, CAPTION_CHARS);
    if (index->longest > LONG_LINE) {
        common::WARN(ui, "Long lines are truncated");
    }
    std::error_code error;
    const auto full = std::filesystem::absolute(common::os_path(path), error);
    viewer.shown_file = error ? path : common::utf8_path(full.lexically_normal());
    viewer.line_count = std::max<LineNumber>(index->records, 1);
    viewer.index = std::move(*index);
    viewer.first_line = 1;
    viewer.hit = {};
    viewer.view = {};
    SCROLL_RESULT(ui, viewer);
    return true;
}

std::optional<std::ifstream> open_shown_file(TextViewer& viewer) {
    if (viewer.shown_file.empty()) {
        return std::nullopt;
    }
    const auto stamp = file_stamp(common::os_path(viewer.shown_file));
    if (!stamp || !common::is_regular_file_name(viewer.shown_file)) {
        return std::nullopt;  // a FIFO or a device would never end
    }
    std::ifstream in(common::os_path(viewer.shown_file), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    if (*stamp != viewer.index.stamp) {
        viewer.index = build_line_index(in);
        viewer.index.stamp = *stamp;
        in.clear();
    }
    return in;
}

bool SCROLL_RESULT(common::Ui& ui, TextViewer& viewer) {
    if (viewer.shown_file.empty()) {
        return false;
    }
    auto in = open_shown_file(viewer);
    if (!in) {
        std::string text = "Unable to open: ";
        text += viewer.shown_file;
        text += "\r- the file may be opened by another program";
        common::WARN(ui, text);
        return false;
    }
    const LineNumber first = std::max<LineNumber>(viewer.first_line, 1);
    const LineNumber last = first + visible_lines(viewer.client_height, viewer.font_points) + 1;
    viewer.view = read_view(*in, viewer.index, first, last, viewer.line_numbers, viewer.hit);
    return true;
}

LineNumber key_position(const TextViewer& viewer, ViewerKey key) {
    const LineNumber position = viewer.first_line;
    const LineNumber range = viewer.line_count;
    switch (key) {
        case ViewerKey::PageUp:
            return clamp_position(viewer, position - SCROLL_PAGE);
        case ViewerKey::PageDown:
            return clamp_position(viewer, std::min(position + SCROLL_PAGE, range - SCROLL_PAGE));
        case ViewerKey::Up:
            return clamp_position(viewer, position - 1);
        case ViewerKey::Down:
            return clamp_position(viewer, position + 1);
        case ViewerKey::Home:
            return 1;
        case ViewerKey::End:
            return clamp_position(viewer, range - SCROLL_PAGE);
    }
    return position;
}

LineNumber wheel_position(const TextViewer& viewer, int notches) {
    return clamp_position(viewer, viewer.first_line - 3 * static_cast<LineNumber>(notches));
}

std::optional<TextPosition> file_position(const TextViewer& viewer, ViewPosition position) {
    if (position.row >= viewer.view.rows.size()) {
        return std::nullopt;
    }
    const ViewRow& row = viewer.view.rows[position.row];
    if (row.rule) {
        return TextPosition{row.line, 0};
    }
    const std::size_t in_text = position.offset > row.prefix ? position.offset - row.prefix : 0;
    return TextPosition{row.line, row.skipped + in_text};
}

CopyRange copy_range(std::size_t anchor, std::size_t caret, std::size_t text_length) {
    const std::size_t limit = std::min(text_length, VIEW_TEXT_LIMIT);
    return {std::min({anchor, caret, limit}), std::min(std::max(anchor, caret), limit)};
}

}  // namespace vorelbox::display
