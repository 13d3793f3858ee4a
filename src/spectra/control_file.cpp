#include "control_file.h"

#include <cmath>

#include "free_format.h"
#include "spectrum_store.h"
#include "text_lines.h"
#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

// The first number on a line, read in free format.
std::optional<long long> leading_integer(std::string_view line) {
    line = common::trim(line);
    const std::size_t end = line.find_first_of(" \t,");
    const auto value = common::parse_free_integer(line.substr(0, end));
    if (value) {
        return value;
    }
    // Channel counts and flags are sometimes written as reals ("1024." or "1.0").
    // Only a whole real within ±1e15 is taken: 2e23 fits no integer.
    const auto real = common::parse_free_real(line.substr(0, end));
    if (real && std::abs(*real) <= 1e15 && *real == std::floor(*real)) {
        return static_cast<long long>(*real);
    }
    return std::nullopt;
}

bool find_line_with(common::Lines& lines, std::string_view marker) {
    while (auto line = lines.next()) {
        if (line->find(marker) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

ControlSpectrum read_control_text(common::Ui& ui, std::string_view text, const std::string& file_name) {
    ControlSpectrum c;
    const auto incomplete = [&ui] {
        common::WARN(ui, "The file is incomplete");
        return ControlSpectrum{};
    };
    const auto unreadable = [&ui] {
        common::WARN(ui, "Error reading intrinsic spectrum");
        return ControlSpectrum{};
    };
    common::Lines lines(common::without_bom(text));
    if (!find_line_with(lines, "FIT DATA BLOCK") || !find_line_with(lines, ": SPECTRUM")) {
        return incomplete();
    }
    const auto channels_line = lines.next();
    const auto header_line = lines.next();
    const auto file_line = lines.next();
    lines.next();  // a further line that the spectrum does not need
    const auto flag_line = lines.next();
    if (!flag_line) {
        return incomplete();
    }
    const auto flag = leading_integer(*flag_line);
    if (!flag) {
        return unreadable();
    }
    c.header = std::string(common::trim_right(*header_line));
    c.spectrum_file = std::string(common::trim(*file_line));
    if (*flag != 1) {
        c.kind = ControlSpectrum::Kind::Reference;
        return c;
    }
    const auto channels = leading_integer(*channels_line);
    if (!channels || *channels < 1) {
        return unreadable();
    }
    if (*channels > MAX_CHANNELS) {
        common::WARN(ui, too_many_channels_text(file_name, *channels));
        return ControlSpectrum{};
    }
    c.channels = static_cast<int>(*channels);
    auto values = common::read_free_values(lines, static_cast<std::size_t>(c.channels));
    if (!values.ok) {
        return unreadable();
    }
    c.counts = std::move(values.values);
    c.kind = ControlSpectrum::Kind::Intrinsic;
    return c;
}

}  // namespace vorelbox::spectra
