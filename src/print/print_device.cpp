#include "print_device.h"

#include <algorithm>
#include <cmath>

#include "text_utils.h"

namespace vorelbox::print {
namespace {

int truncated(double value) {
    return static_cast<int>(std::trunc(value));
}

int nearest(double value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace

PageGeometry page_geometry(int dpi_x, int page_width, int page_height, const Margins& margins) {
    PageGeometry geometry;
    geometry.scale = dpi_x / 2.54;
    const double s = geometry.scale;
    geometry.page_width = page_width;
    geometry.page_height = page_height;
    geometry.x0 = truncated(s * margins.left);
    geometry.right = page_width - nearest(s * margins.right);
    geometry.top = truncated(s * margins.top);
    geometry.bottom = page_height - nearest(s * margins.bottom);
    return geometry;
}

int printer_pen_width(int dpi) {
    return 10 * std::max(1, dpi / 288);
}

int graph_unit(double scale) {
    return truncated(0.0254 * scale);
}

std::optional<PrintContext> STARTPRINT(const ChoosePrinter& choose, const Margins& margins,
                                       std::string_view title) {
    std::unique_ptr<PrintDevice> device = choose ? choose(title) : nullptr;
    if (!device) {
        return std::nullopt;
    }
    PrintContext context;
    context.geometry = page_geometry(device->dpi_x(), device->page_width(), device->page_height(), margins);
    device->set_pen({printer_pen_width(device->dpi_x()), 0});
    context.device = std::move(device);
    return context;
}

bool STARTDOCUMENT(PrintContext& context, std::string_view title) {
    if (!context.device || !context.device->start_document(common::trim(title))) {
        return false;
    }
    context.device->start_page();
    return true;
}

std::optional<PrintContext> STARTPRINT_DC(const ChoosePrinter& choose, const Margins& margins,
                                          std::string_view title) {
    auto context = STARTPRINT(choose, margins, title);
    if (!context || !STARTDOCUMENT(*context, title)) {
        return std::nullopt;
    }
    return context;
}

void new_page(PrintContext& context) {
    if (!context.device) {
        return;
    }
    context.device->end_page();
    context.device->start_page();
}

void end_document(PrintContext& context) {
    if (!context.device) {
        return;
    }
    context.device->end_page();
    context.device->end_document();
    STOPPRINT(context);
}

void STOPPRINT(PrintContext& context) {
    context.device.reset();
}

void PRINT_C(DrawSurface& surface, int x, int y, std::string_view text) {
    const std::string_view trimmed = common::trim_right(text);
    surface.draw_text(x - surface.text_extent(trimmed).width / 2, y, trimmed);
}

int PRINT_L(DrawSurface& surface, int x, int y, std::string_view text) {
    const std::string_view trimmed = common::trim_right(text);
    surface.draw_text(x, y, trimmed);
    return x + surface.text_extent(trimmed).width;
}

int PRINT_R(DrawSurface& surface, int x, int y, std::string_view text) {
    const std::string_view trimmed = common::trim_right(text);
    const int left = x - surface.text_extent(trimmed).width;
    surface.draw_text(left, y, trimmed);
    return left;
}

}  // namespace vorelbox::print
