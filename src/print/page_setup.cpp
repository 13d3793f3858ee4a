#include "page_setup.h"

#include "dialog_values.h"
#include "free_format.h"
#include "text_utils.h"

namespace vorelbox::print {
namespace {

constexpr std::string_view margin_format = "(f10.2)";

double read_margin(common::Ui& ui, std::string_view text, double old_value) {
    const auto value = common::DLGGETREAL(ui, text);
    return value && margin_in_range(*value) ? *value : old_value;
}

}  // namespace

bool margin_in_range(double cm) { return cm >= -MARGIN_LIMIT_CM && cm <= MARGIN_LIMIT_CM; }

bool font_size_accepted(std::string_view size_text) {
    const std::string text = common::cut_chars(size_text, FONT_SIZE_LENGTH);
    if (!common::parse_free_integer(text)) {
        return false;
    }
    const char first = text.empty() ? ' ' : text.front();
    return first != 'T' && first != 't' && first != 'F' && first != 'f';
}

PageSetupEntry page_setup_entry(const PageSetup& setup) {
    PageSetupEntry entry;
    entry.left = common::DLGSETREAL(margin_format, setup.margins.left);
    entry.right = common::DLGSETREAL(margin_format, setup.margins.right);
    entry.top = common::DLGSETREAL(margin_format, setup.margins.top);
    entry.bottom = common::DLGSETREAL(margin_format, setup.margins.bottom);
    entry.report_font = setup.report_font;
    entry.report_font_size = setup.report_font_size;
    entry.graphics_font = setup.graphics_font;
    entry.graphics_font_size = setup.graphics_font_size;
    entry.print_page_header = setup.print_page_header;
    return entry;
}

PageSetupTaken take_page_setup(common::Ui& ui, const PageSetup& stored, const PageSetupEntry& entry) {
    PageSetupTaken taken{stored, false};
    PageSetup& setup = taken.setup;
    setup.margins.left = read_margin(ui, entry.left, stored.margins.left);
    setup.margins.top = read_margin(ui, entry.top, stored.margins.top);
    setup.margins.right = read_margin(ui, entry.right, stored.margins.right);
    setup.margins.bottom = read_margin(ui, entry.bottom, stored.margins.bottom);
    setup.report_font = common::cut_chars(common::trim_right(entry.report_font), FONT_NAME_LENGTH);
    setup.graphics_font = common::cut_chars(common::trim_right(entry.graphics_font), FONT_NAME_LENGTH);
    setup.print_page_header = entry.print_page_header;

    const bool report_ok = font_size_accepted(entry.report_font_size);
    const bool graphics_ok = font_size_accepted(entry.graphics_font_size);
    if (report_ok) {
        setup.report_font_size = common::cut_chars(entry.report_font_size, FONT_SIZE_LENGTH);
    }
    if (graphics_ok) {
        setup.graphics_font_size = common::cut_chars(entry.graphics_font_size, FONT_SIZE_LENGTH);
    }
    taken.valid = report_ok && graphics_ok;
    if (!taken.valid) {
        common::WARN(ui, "Illegal fontsize");
    }
    return taken;
}

}  // namespace vorelbox::print
