#pragma once
// The print job shared by text printing and the plots: choosing a printer, the page
// geometry from the page-setup margins, pages, and the text placements that all
// plots use on any surface.

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "draw_surface.h"
#include "page_setup.h"

namespace vorelbox::print {

// Shows the system's print dialog for a document of the given title and returns
// the chosen printer, or nothing when the user cancels.
using ChoosePrinter = std::function<std::unique_ptr<PrintDevice>(std::string_view title)>;

struct PageGeometry {
    double scale = 0.0;  // device units per cm, dpi_x / 2.54
    int page_width = 0;
    int page_height = 0;
    int x0 = 0;      // left margin
    int right = 0;   // right margin
    int top = 0;     // top margin
    int bottom = 0;  // bottom margin
};

// x0 = trunc(s * left), right = width - nearest(s * right margin),
// top = trunc(s * top margin), bottom = height - nearest(s * bottom margin).
PageGeometry page_geometry(int dpi_x, int page_width, int page_height, const Margins& margins);

// The printer's pen: 10 * max(1, dpi div 288) device units wide.
int printer_pen_width(int dpi);

// The graph unit of a surface of scale s (device units per cm): trunc(0.0254 * s).
int graph_unit(double scale);

struct PrintContext {
    std::unique_ptr<PrintDevice> device;  // nothing once released
    PageGeometry geometry;
    int y = 0;            // of the line being printed
    int line_height = 0;  // of the font selected last
};

// Chooses the printer and works out the geometry; the pen is selected.
// Nothing when the dialog is cancelled.
std::optional<PrintContext> STARTPRINT(const ChoosePrinter& choose, const Margins& margins,
                                       std::string_view title);
// Opens the document under the trimmed title and starts its first page.
bool STARTDOCUMENT(PrintContext& context, std::string_view title);
// STARTPRINT and STARTDOCUMENT. Nothing when the dialog is cancelled, and also when
// the document cannot be opened: either way nothing will be printed.
std::optional<PrintContext> STARTPRINT_DC(const ChoosePrinter& choose, const Margins& margins,
                                          std::string_view title);
// Ends the page and starts the next; the font has to be selected again.
void new_page(PrintContext& context);
// Ends the page and the document and releases the printer.
void end_document(PrintContext& context);
// Releases the printer without ending anything.
void STOPPRINT(PrintContext& context);

// The text placements; texts are trimmed and drawn with their top at y.
// Centred on x.
void PRINT_C(DrawSurface& surface, int x, int y, std::string_view text);
// Left edge at x; returns x advanced by the text's width.
int PRINT_L(DrawSurface& surface, int x, int y, std::string_view text);
// Right edge at x; returns the text's left edge.
int PRINT_R(DrawSurface& surface, int x, int y, std::string_view text);

}  // namespace vorelbox::print
