#pragma once
// Printing a text file: line by line in the report font, with page breaks at the
// bottom margin and at form feeds, and an optional header line on every page with
// the title, the file's name and the page number.

#include <array>
#include <string_view>

#include "print_device.h"
#include "ui.h"

namespace vorelbox::print {

// Longest line printed, in characters; the rest of a line is dropped.
constexpr std::size_t PRINT_LINE_LENGTH = 200;

// A column of the header line: a position in cm and an alignment letter "L", "C" or "R".
struct TabSetting {
    double position = 0.0;
    char align = 'L';
};

// A column placed on the page, in device units; the letter upper-cased.
struct TabStop {
    int x = 0;
    char align = 'L';
};

using TabStops = std::array<TabStop, 4>;

// Places the four columns between the margins: stop 1 from x0; stop 2 from the page
// centre when its position is not above 0, else from x0; stop 3 at the centre for 0,
// from the right margin below 0, from x0 above 0; stop 4 from the right margin when
// not above 0, else from x0.
TabStops TAB_STOP(const PageGeometry& geometry, const std::array<TabSetting, 4>& settings);

// Draws one field at the context's y: "L" starting at x, "R" ending at x (never left
// of the left margin), "C" centred on x. Another letter is warned about and not drawn.
void PRINT_TXT(PrintContext& context, common::Ui& ui, int x, char align, std::string_view text);

// Draws the four texts in one line, text k at stop k; blank texts are skipped.
void LINE_OUT(PrintContext& context, common::Ui& ui, const TabStops& stops,
              const std::array<std::string_view, 4>& texts);

// Prints the text file `file` under the document title `title` (also the header's first
// field) with the report font and margins of the page setup. "There is nothing to
// print" when the file has no line; a cancelled print dialog prints nothing, silently.
void PRINTFILE(const ChoosePrinter& choose, common::Ui& ui, const PageSetup& setup, std::string_view title,
               std::string_view file);

}  // namespace vorelbox::print
