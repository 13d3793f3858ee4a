#pragma once
// Searching the file on the Text output page: one line at a time, forward or
// backward, by whole words or not, with or without case, wrapping around once.

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "text_viewer.h"
#include "ui.h"

namespace vorelbox::display {

constexpr std::size_t SEARCH_TEXT_CHARS = 80;
constexpr std::size_t WHOLE_WORD_CHARS = 76;

struct MatchOptions {
    bool whole_words = false;
    bool match_case = false;
    bool upward = false;  // the last occurrence in the line instead of the first
};

// The 1-based column where `search` occurs in `line`, or nothing.
// By whole words, characters other than ASCII letters and digits separate words,
// except inside square brackets (which keep their text, brackets included) and
// except the character that is the whole search text.
std::optional<std::size_t> MATCHING(std::string_view search, std::string_view line, const MatchOptions& options);

// The next occurrence of `text` (trailing blanks ignored) in an indexed stream,
// from `start` on in the direction of the options, starting once more from the
// top (or from the bottom, upward) when the first pass finds nothing. Line 0 of
// `start` means the top (the bottom, upward). Upward, only the characters before
// the start column of the start line are searched, and the nearest hit wins.
std::optional<Hit> find_text(std::istream& in, const LineIndex& index, std::string_view text,
                             const MatchOptions& options, TextPosition start);

// One search step with the held text and options, in the given direction, from
// the caret when it is in the view, else from the current hit. A hit becomes the
// current hit, scrolled to the third row of the view; without one the current
// hit is cleared and a warning says so. True on a hit.
bool FIND_NEXT(common::Ui& ui, TextViewer& viewer, std::optional<ViewPosition> caret, bool upward);

enum class SearchCommand { OpenFind, FindNext, FindPrevious };

struct ViewSelection {
    ViewPosition start;
    std::string text;
};

struct SearchRequest {
    SearchCommand command = SearchCommand::OpenFind;
    std::optional<FindSettings> dialog;      // the dialog's values when it sent the command
    std::optional<ViewPosition> caret;       // the caret, when it is in the view
    std::optional<ViewSelection> selection;  // the view's selection, when there is one
};

enum class SearchAction {
    None,
    ShowDialog,  // show the Find dialog with viewer.find
    Redraw,      // a hit: show viewer.view and its scroll position
};

// The find commands. Opening the dialog takes a selection in the view as the
// search text and the hit position. "Find Previous" searches against the held
// direction for this one search.
SearchAction SEARCH_RESULT(common::Ui& ui, TextViewer& viewer, const SearchRequest& request);

}  // namespace vorelbox::display
