#include "text_search.h"

#include <algorithm>

#include "text_utils.h"

namespace vorelbox::display {
namespace {

// Upward, the lines are read forward in blocks of this many lines, last block first.
constexpr LineNumber UPWARD_BLOCK = 64 * LineIndex::STRIDE;

bool is_word_char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

void to_upper(std::string& text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
}

std::optional<std::size_t> find_in(std::string_view haystack, std::string_view needle, bool last) {
    const std::size_t at = last ? haystack.rfind(needle) : haystack.find(needle);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return at + 1;
}

std::optional<Hit> search_down(LineReader& reader, std::string_view text, const MatchOptions& options,
                               TextPosition start) {
    const LineNumber first = std::max<LineNumber>(start.line, 1);
    if (!reader.seek(first)) {
        return std::nullopt;
    }
    for (LineNumber n = first;; ++n) {
        const auto line = reader.next(SEARCH_LINE_CHARS);
        if (!line) {
            return std::nullopt;
        }
        std::string_view searched = common::trim_right(*line);
        std::size_t before = 0;
        if (n == start.line) {
            before = std::min(start.column, searched.size());
            searched.remove_prefix(before);
        }
        if (const auto at = MATCHING(text, searched, options)) {
            return Hit{n, before + *at, text.size()};
        }
    }
}

std::optional<Hit> search_up(LineReader& reader, const LineIndex& index, std::string_view text,
                             const MatchOptions& options, TextPosition start) {
    const LineNumber total = index.lines();
    const LineNumber last = start.line <= 0 || start.line > total ? total : start.line;
    for (LineNumber end = last; end >= 1;) {
        const LineNumber begin = std::max<LineNumber>(1, end - UPWARD_BLOCK + 1);
        if (!reader.seek(begin)) {
            return std::nullopt;
        }
        std::optional<Hit> nearest;
        for (LineNumber n = begin; n <= end; ++n) {
            const auto line = reader.next(SEARCH_LINE_CHARS);
            if (!line) {
                break;
            }
            std::string_view searched = common::trim_right(*line);
            if (n == start.line) {
                if (start.column < 2) {
                    continue;
                }
                searched = searched.substr(0, std::min(start.column - 1, searched.size()));
            }
            if (const auto at = MATCHING(text, searched, options)) {
                nearest = Hit{n, *at, text.size()};
            }
        }
        if (nearest) {
            return nearest;
        }
        end = begin - 1;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::size_t> MATCHING(std::string_view search, std::string_view line, const MatchOptions& options) {
    if (search.empty() || line.size() < search.size()) {
        return std::nullopt;
    }
    if (!options.whole_words) {
        if (options.match_case) {
            return find_in(line, search, options.upward);
        }
        std::string haystack(line);
        std::string needle(search);
        to_upper(haystack);
        to_upper(needle);
        return find_in(haystack, needle, options.upward);
    }

    search = search.substr(0, WHOLE_WORD_CHARS);
    std::string formed = " ";
    formed += line;
    formed += ' ';
    std::string word(search);
    if (!options.match_case) {
        to_upper(formed);
        to_upper(word);
    }
    if (formed.find(word) == std::string::npos) {
        return std::nullopt;
    }
    const bool single = search.size() == 1;
    bool bracketed = false;
    for (char& c : formed) {
        if (c == '[') {
            bracketed = true;
        } else if (c == ']') {
            bracketed = false;
        } else if (!bracketed && !is_word_char(c) && !(single && c == search.front())) {
            c = ' ';
        }
    }
    std::string pattern = " ";
    pattern += word;
    pattern += ' ';
    // The pattern's leading blank stands at the column where the word starts in the line.
    return find_in(formed, pattern, options.upward);
}

std::optional<Hit> find_text(std::istream& in, const LineIndex& index, std::string_view text,
                             const MatchOptions& options, TextPosition start) {
    text = common::trim_right(text);
    if (text.empty()) {
        return std::nullopt;
    }
    LineReader reader(in, index);
    const auto pass = [&](TextPosition from) {
        return options.upward ? search_up(reader, index, text, options, from)
                              : search_down(reader, text, options, from);
    };
    if (auto hit = pass(start)) {
        return hit;
    }
    if (start.line == 0) {
        return std::nullopt;
    }
    return pass(TextPosition{});
}

bool FIND_NEXT(common::Ui& ui, TextViewer& viewer, std::optional<ViewPosition> caret, bool upward) {
    TextPosition start{viewer.hit.line, viewer.hit.column};
    if (caret) {
        if (const auto at = file_position(viewer, *caret)) {
            start = *at;
        }
    }
    auto in = open_shown_file(viewer);
    if (!in) {
        return false;
    }
    const std::string_view text = common::trim_right(viewer.find.text);
    const MatchOptions options{viewer.find.whole_words, viewer.find.match_case, upward};
    const auto hit = find_text(*in, viewer.index, text, options, start);
    in->close();
    if (!hit) {
        viewer.hit = {};
        std::string message = "Could not find \"";
        message += text;
        message += '"';
        common::WARN(ui, message);
        return false;
    }
    viewer.hit = *hit;
    viewer.first_line = std::max<LineNumber>(1, hit->line - 2);
    SCROLL_RESULT(ui, viewer);
    return true;
}

SearchAction SEARCH_RESULT(common::Ui& ui, TextViewer& viewer, const SearchRequest& request) {
    if (request.command == SearchCommand::OpenFind) {
        if (viewer.shown_file.empty()) {
            return SearchAction::None;
        }
        if (request.selection && !request.selection->text.empty()) {
            const std::string_view selected = request.selection->text;
            const std::string_view first_line = selected.substr(0, selected.find_first_of("\r\n"));
            viewer.find.text = common::cut_chars(first_line, SEARCH_TEXT_CHARS);
            if (const auto at = file_position(viewer, request.selection->start)) {
                viewer.hit = {at->line, at->column + 1, common::trim_right(first_line).size()};
            }
        }
        return SearchAction::ShowDialog;
    }
    if (request.dialog) {
        viewer.find = *request.dialog;
        viewer.find.text = common::cut_chars(viewer.find.text, SEARCH_TEXT_CHARS);
    }
    if (viewer.shown_file.empty() || common::is_blank(viewer.find.text)) {
        return SearchAction::None;
    }
    const bool upward = request.command == SearchCommand::FindPrevious ? !viewer.find.upward : viewer.find.upward;
    return FIND_NEXT(ui, viewer, request.caret, upward) ? SearchAction::Redraw : SearchAction::None;
}

}  // namespace vorelbox::display
