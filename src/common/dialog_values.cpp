#include "dialog_values.h"

#include <limits>

#include "edit_format.h"
#include "free_format.h"
#include "text_utils.h"

namespace vorelbox::common {
namespace {

// The longest texts read from an integer and from a real control.
constexpr std::size_t integer_text_length = 20;
constexpr std::size_t real_text_length = 220;

}  // namespace

std::string DLGSETIVALUE(int value) {
    return std::to_string(value);
}

IntRead DLGGETIVALUE(std::string_view text) {
    const std::string read = cut_chars(text, integer_text_length);
    const auto value = parse_free_integer(read);
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max()) {
        return {0, "0", true};
    }
    return {static_cast<int>(*value), std::string(text), true};
}

std::string DLGSETREAL(std::string_view format, double value) {
    return std::string(trim(format_real(format, value)));
}

std::optional<double> DLGGETREAL(Ui& ui, std::string_view text) {
    const std::string read = cut_chars(text, real_text_length);
    const auto value = parse_free_real(read);
    if (!value) {
        WARN(ui, "Data syntax error reading: \"" + std::string(trim(read)) + "\"");
        return std::nullopt;
    }
    return value;
}

}  // namespace vorelbox::common
