#include "fonts.h"

#include <cmath>

#include "free_format.h"
#include "page_setup.h"
#include "text_utils.h"

namespace vorelbox::print {
namespace {

int truncated(double value) {
    return static_cast<int>(std::trunc(value));
}

void add_to_list(std::vector<std::string>& list, const std::string& name) {
    if (list.size() < FONT_LIST_CAPACITY) {
        list.push_back(name);
    } else {
        list.back() = name;
    }
}

}  // namespace

int font_char_height(int dpi_y, double points) {
    return truncated(dpi_y * points / 72.0);
}

int font_line_height(int dpi_y, double points) {
    return truncated(dpi_y * points / 60.0);
}

double default_font_size(std::string_view size_text) {
    // Sizes above 1000 points (a text such as "9e99") are not sizes at all.
    const auto size = common::parse_free_real(size_text);
    if (!size || !(*size > 0.0) || *size > 1000.0) {
        return 10.0;
    }
    return *size;
}

FontStyle font_style(std::string_view style) {
    const std::string_view letter = common::trim_left(style).substr(0, 1);
    if (letter == "N" || letter == "n") {
        return {400, false};
    }
    if (letter == "I" || letter == "i") {
        return {400, true};
    }
    return {700, false};
}

FontRequest font_request(int dpi_y, double points, std::string_view style, std::string_view face,
                         int angle) {
    const FontStyle kind = font_style(style);
    FontRequest request;
    request.face = std::string(common::trim(face));
    request.char_height = font_char_height(dpi_y, points);
    request.escapement = 10 * angle;
    request.weight = kind.weight;
    request.italic = kind.italic;
    return request;
}

FontChoice SELECTRELATIVEFONT(DrawSurface& surface, double default_size, std::string_view style, int step,
                              std::string_view face, int angle) {
    const double points = default_size + step;
    const FontRequest request = font_request(surface.dpi_y(), points, style, face, angle);
    FontChoice choice;
    choice.points = points;
    choice.face = surface.set_font(request);
    choice.char_height = request.char_height;
    choice.line_height = font_line_height(surface.dpi_y(), points);
    return choice;
}

FontChoice SELECTFONT(DrawSurface& surface, double default_size, std::string_view style,
                      std::string_view face, int angle) {
    return SELECTRELATIVEFONT(surface, default_size, style, 0, face, angle);
}

FontChoice SETDEFAULTFONT(DrawSurface& surface, std::string_view face, std::string_view size_text) {
    return SELECTFONT(surface, default_font_size(size_text), "N", face, 0);
}

FontLists font_lists(const std::vector<FontFamily>& families) {
    FontLists lists;
    for (const FontFamily& family : families) {
        const std::string name(common::cut_at_nul(family.name));
        if (!family.scalable || name.empty() ||
            common::cut_chars(name, FONT_NAME_LENGTH) != name) {
            continue;
        }
        add_to_list(lists.all, name);
        if (family.fixed_pitch && family.latin) {
            add_to_list(lists.monospaced, name);
        }
    }
    return lists;
}

}  // namespace vorelbox::print
