#include "print_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "fonts.h"
#include "input_file.h"
#include "os_path.h"
#include "text_lines.h"
#include "text_utils.h"

namespace vorelbox::print {
namespace {

constexpr char form_feed = '\f';

std::optional<std::string> read_text_file(std::string_view path) {
    if (!common::is_regular_file_name(path)) {
        return std::nullopt;  // a FIFO or a device would never end
    }
    std::ifstream in{common::os_path(path), std::ios::binary};
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return std::move(text).str();
}

struct PrintLine {
    std::string text;
    bool form_feed = false;  // the line held a form feed; it and what followed are gone
};

PrintLine print_line(std::string_view raw) {
    PrintLine line{common::cut_chars(raw, PRINT_LINE_LENGTH), false};
    const std::size_t feed = line.text.find(form_feed);
    if (feed != std::string::npos) {
        line.text.erase(feed);
        line.form_feed = true;
    }
    return line;
}

int truncated(double value) {
    return static_cast<int>(std::trunc(value));
}

// The report font, selected at the start of the document and of every new page.
void select_report_font(PrintContext& context, const PageSetup& setup) {
    const FontChoice font = SETDEFAULTFONT(*context.device, setup.report_font, setup.report_font_size);
    // A line height of 0 (a size far below one point) would print every line over the last.
    context.line_height = std::max(1, font.line_height);
}

std::string page_label(int page) {
    std::string label = "page ";
    label += std::to_string(page);
    return label;
}

}  // namespace

TabStops TAB_STOP(const PageGeometry& geometry, const std::array<TabSetting, 4>& settings) {
    const double s = geometry.scale;
    const int x0 = geometry.x0;
    const int right = geometry.right;
    const int centre = (x0 + right) / 2;
    TabStops stops;
    for (std::size_t k = 0; k < stops.size(); ++k) {
        const double p = settings[k].position;
        double x = x0 + s * p;
        if (k == 1 && p <= 0.0) {
            x = centre + s * p;
        } else if (k == 2 && p == 0.0) {
            x = centre;
        } else if (k == 2 && p < 0.0) {
            x = right + s * p;
        } else if (k == 3 && p <= 0.0) {
            x = right + s * p;
        }
        const char align = settings[k].align;
        stops[k] = {truncated(x), align >= 'a' && align <= 'z' ? static_cast<char>(align - 'a' + 'A') : align};
    }
    return stops;
}

void PRINT_TXT(PrintContext& context, common::Ui& ui, int x, char align, std::string_view text) {
    if (!context.device) {
        return;
    }
    DrawSurface& surface = *context.device;
    const std::string_view trimmed = common::trim_right(text);
    switch (align) {
        case 'L':
            surface.draw_text(x, context.y, trimmed);
            break;
        case 'R':
            surface.draw_text(std::max(context.geometry.x0, x - surface.text_extent(trimmed).width), context.y,
                              trimmed);
            break;
        case 'C':
            PRINT_C(surface, x, context.y, trimmed);
            break;
        default: {
            std::string message = "Unknown kind of print \"";
            message += align;
            message += '"';
            common::WARN(ui, message);
        }
    }
}

void LINE_OUT(PrintContext& context, common::Ui& ui, const TabStops& stops,
              const std::array<std::string_view, 4>& texts) {
    for (std::size_t k = 0; k < stops.size(); ++k) {
        if (!common::is_blank(texts[k])) {
            PRINT_TXT(context, ui, stops[k].x, stops[k].align, texts[k]);
        }
    }
}

void PRINTFILE(const ChoosePrinter& choose, common::Ui& ui, const PageSetup& setup, std::string_view title,
               std::string_view file) {
    const std::optional<std::string> text = read_text_file(file);
    common::Lines lines(text ? std::string_view(*text) : std::string_view());
    const std::optional<std::string_view> first = lines.next();
    if (!first) {
        common::WARN(ui, "There is nothing to print");
        return;
    }
    std::optional<PrintContext> started = STARTPRINT_DC(choose, setup.margins, title);
    if (!started) {
        return;
    }
    PrintContext& context = *started;
    const PageGeometry& page = context.geometry;
    select_report_font(context, setup);
    const TabStops stops = TAB_STOP(page, {{{0.0, 'L'}, {3.4, 'R'}, {0.0, 'C'}, {0.0, 'R'}}});
    const common::PathParts parts = common::SPLITPATH(file);
    const std::string file_name = parts.name + parts.extension;

    // The first page is fresh: a form feed on the first line only drops its rest.
    PrintLine line = print_line(*first);
    int page_number = 0;
    context.y = page.top - context.line_height;
    for (;;) {
        context.y += context.line_height;
        // A line that does not fit goes to a new page, unless its page is still empty.
        if (context.y + context.line_height > page.bottom && context.y > page.top) {
            new_page(context);
            select_report_font(context, setup);
            context.y = page.top;
        }
        if (context.y <= page.top) {
            ++page_number;
            if (setup.print_page_header) {
                const std::string label = page_label(page_number);
                LINE_OUT(context, ui, stops, {title, "", file_name, label});
                context.y += 2 * context.line_height;
            }
        }
        const std::string_view shown = common::trim_right(line.text);
        if (!shown.empty()) {
            context.device->draw_text(page.x0, context.y, shown);
        }
        const std::optional<std::string_view> next = lines.next();
        if (!next) {
            break;
        }
        line = print_line(*next);
        if (line.form_feed) {
            context.y = page.bottom;
        }
    }
    end_document(context);
}

}  // namespace vorelbox::print
