#pragma once
// The "Text output" page: a text file shown a screenful at a time, with optional
// line numbers, a scroll position and the current search hit. The page holds the
// file's name and a line index, never the file: every scroll reads the visible
// lines again, so changes to the file show at the next scroll.

#include <cstddef>
#include <fstream>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "line_index.h"
#include "ui.h"

namespace vorelbox::display {

constexpr std::size_t VIEW_TEXT_LIMIT = 64000;  // characters put into the view at most
constexpr std::size_t VIEW_LINE_CHARS = 200;    // characters of a line that are shown
constexpr std::size_t SEARCH_LINE_CHARS = 2000; // bytes of a line that are searched
constexpr std::uint64_t LONG_LINE = 500;        // longer lines get a warning
constexpr LineNumber SCROLL_PAGE = 20;          // lines of a scroll-bar page
constexpr int DEFAULT_FONT_POINTS = 10;
constexpr std::size_t RULE_WIDTH = 72;          // underscores standing for a form feed
inline constexpr std::string_view EMPTY_FILE_TEXT = "The file is empty";

// The Find dialog's text and options; they last while the program runs.
struct FindSettings {
    std::string text;  // at most 80 characters
    bool whole_words = false;
    bool match_case = false;
    bool upward = false;  // "&Up"; otherwise "&Down"
};

// The current search hit; line 0 means none. The column is 1-based, in bytes.
struct Hit {
    LineNumber line = 0;
    std::size_t column = 0;
    std::size_t length = 0;
};

// One row of the view. A line whose first character is a form feed takes two
// rows: a rule of underscores, then the rest of the line.
struct ViewRow {
    LineNumber line = 0;       // the line of the file the row belongs to
    std::size_t prefix = 0;    // bytes of the "#" line number in front of the line's text
    std::size_t skipped = 0;   // bytes of the line before the row's text (the form feed)
    bool rule = false;         // the row of underscores
    std::string text;          // without line end and trailing blanks
};

// Characters of a row to select, in bytes of its text.
struct Highlight {
    std::size_t row = 0;
    std::size_t start = 0;
    std::size_t length = 0;
};

struct ViewText {
    std::vector<ViewRow> rows;
    std::optional<Highlight> highlight;

    // The rows, each followed by CR LF.
    std::string text() const;
};

struct TextViewer {
    std::string shown_file;      // full name; empty while nothing is shown
    std::string caption;         // the "Filename:" label
    std::string kind;            // what is shown ("Vorelix Spectrum"), also the print title
    LineNumber line_count = 1;   // lines of the file when it was shown; the scroll range
    LineNumber first_line = 1;   // the scroll position: the line at the top of the view
    bool line_numbers = false;   // the "#" toggle
    int client_height = 0;       // of the view, in pixels
    int font_points = DEFAULT_FONT_POINTS;  // the report font's size
    FindSettings find;
    Hit hit;
    LineIndex index;             // of the shown file, renewed when the file changes
    ViewText view;               // what the view shows now
};

// Lines shown below the first one, less one: ((h div p) * 3) div 4.
LineNumber visible_lines(int client_height, int font_points);

// The report font's size in points from its setting text: a number above 0, else 10.
double report_font_points(std::string_view size_text);

// The highest scroll position: the scroll bar's range less its page, plus one.
LineNumber scroll_maximum(const TextViewer& viewer);

// Shows a file: reads it once for its line index, sets the scroll range and
// position and fills the view. False, with a warning, when it cannot be read;
// then the viewer is unchanged.
bool SHOW_RESULT(common::Ui& ui, TextViewer& viewer, const std::string& path, std::string_view kind,
                 std::string_view caption);

// Fills the view for the current scroll position, renewing the index first when
// the file's size or time changed. False when nothing is shown or the file
// cannot be opened (with a warning); then the view stays as it was.
bool SCROLL_RESULT(common::Ui& ui, TextViewer& viewer);

// Opens the shown file, renewing its index when the file's size or time changed;
// nothing when no file is shown or it cannot be opened.
std::optional<std::ifstream> open_shown_file(TextViewer& viewer);

// The rows for lines first..last of an indexed stream, with the hit to highlight.
ViewText read_view(std::istream& in, const LineIndex& index, LineNumber first, LineNumber last,
                   bool line_numbers, const Hit& hit);

// Keys of the page and the scroll position each leads to.
enum class ViewerKey { PageUp, PageDown, Up, Down, Home, End };
LineNumber key_position(const TextViewer& viewer, ViewerKey key);

// The scroll position after wheel notches (forward turns count positive).
LineNumber wheel_position(const TextViewer& viewer, int notches);

// A place in the view: a row and a byte offset in its text.
struct ViewPosition {
    std::size_t row = 0;
    std::size_t offset = 0;
};

// A place in the file: a line and the bytes before the place in it.
struct TextPosition {
    LineNumber line = 0;
    std::size_t column = 0;
};

// Where a place in the view is in the file; nothing outside the rows.
std::optional<TextPosition> file_position(const TextViewer& viewer, ViewPosition position);

// The part of a text that Ctrl+C copies: the selection between anchor and caret,
// both ends held within the first VIEW_TEXT_LIMIT characters.
struct CopyRange {
    std::size_t start = 0;
    std::size_t end = 0;
};
CopyRange copy_range(std::size_t anchor, std::size_t caret, std::size_t text_length);

}  // namespace vorelbox::display
