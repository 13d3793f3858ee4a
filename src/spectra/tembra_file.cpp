#include "tembra_file.h"

#include <algorithm>

#include "free_format.h"
#include "input_file.h"
#include "text_lines.h"
#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

constexpr std::size_t tag_columns = 8;
constexpr std::size_t value_max = 200;
constexpr std::size_t stored_max = 80;
constexpr std::size_t fields_per_line = 10;
constexpr std::size_t field_width = 7;

std::string tag_of(std::string_view line) {
    return common::CAPS(common::trim(line.substr(0, tag_columns)));
}

bool is_tag_line(std::string_view line) { return line.size() > tag_columns && line[tag_columns] == ':'; }

std::string value_of(std::string_view line) {
    const std::string value = common::cut_chars(line.substr(tag_columns + 1), value_max);
    return std::string(common::trim_right(common::cut_chars(value, stored_max)));
}

// Integers in free format at the start of a line.
std::vector<long long> integers(std::string_view line) {
    std::vector<long long> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (common::is_blank_char(line[i]) || line[i] == ',')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && !common::is_blank_char(line[i]) && line[i] != ',') {
            ++i;
        }
        if (start == i) {
            break;
        }
        const auto v = common::parse_free_integer(line.substr(start, i - start));
        if (!v) {
            break;
        }
        out.push_back(*v);
    }
    return out;
}

// The counts in 7-column fields, ten to a line; a blank field reads 0.
bool read_counts(common::Lines& lines, std::size_t channels, std::vector<double>& counts) {
    while (counts.size() < channels) {
        const auto line = lines.next();
        if (!line) {
            return false;
        }
        const std::size_t take = std::min(fields_per_line, channels - counts.size());
        for (std::size_t k = 0; k < take; ++k) {
            const std::size_t at = k * field_width;
            const std::string_view field = at < line->size() ? line->substr(at, field_width) : std::string_view{};
            if (common::is_blank(field)) {
                counts.push_back(0.0);
                continue;
            }
            const auto v = common::parse_free_integer(field);
            if (!v) {
                return false;
            }
            counts.push_back(static_cast<double>(*v));
        }
    }
    return true;
}

}  // namespace

bool is_tembra_text(std::string_view text) {
    common::Lines lines(common::without_bom(text));
    lines.next();
    lines.next();
    const auto third = lines.next();
    return third && is_tag_line(*third) && tag_of(*third) == "FILE";
}

TembraFile read_tembra_text(common::Ui& ui, std::string_view text, const std::string& file_name) {
    TembraFile t;
    const auto fail = [&] {
        common::WARN(ui, "Error to read: " + file_name);
        return TembraFile{};
    };
    common::Lines lines(common::without_bom(text));
    const auto first = lines.next();
    const std::vector<long long> numbers = first ? integers(*first) : std::vector<long long>{};
    if (numbers.size() < 3 || numbers[2] < 1) {
        return fail();
    }
    if (numbers[2] > MAX_CHANNELS) {
        common::WARN(ui, too_many_channels_text(file_name, numbers[2]));
        return TembraFile{};
    }
    t.channels = static_cast<int>(numbers[2]);
    t.second_value = numbers[1];
    // The second line, between the numbers and the first tag, is read over.
    if (!lines.next()) {
        return fail();
    }
    std::optional<std::string_view> line;
    while ((line = lines.next()) && is_tag_line(*line)) {
        const std::string tag = tag_of(*line);
        if (tag == "FILE") {
            t.pane.file = value_of(*line);
        } else if (tag == "SAMPLE") {
            t.pane.sample = value_of(*line);
        } else if (tag == "DATE") {
            t.pane.date = value_of(*line);
        } else if (tag == "E (KEV)") {
            t.pane.energy = value_of(*line);
        } else if (tag == "TEMP") {
            t.pane.temp = value_of(*line);
        } else if (tag == "COMMENT") {
            line = lines.next();
            break;
        } else {
            common::WARN(ui, "Unknown tembra tag: " + tag);
            return TembraFile{};
        }
    }
    // `line` is the line of integers after the tags; the counts follow it.
    if (!line) {
        return fail();
    }
    // Ten counts a line at most: a count the rest of the file cannot hold is a lie.
    const std::string_view rest = lines.rest();
    const std::size_t lines_left = static_cast<std::size_t>(std::count(rest.begin(), rest.end(), '\n')) + 1;
    if (static_cast<std::size_t>(t.channels) > lines_left * fields_per_line) {
        return fail();
    }
    t.counts.reserve(static_cast<std::size_t>(t.channels));
    if (!read_counts(lines, static_cast<std::size_t>(t.channels), t.counts)) {
        return fail();
    }
    t.ok = true;
    return t;
}

TembraFile LOAD_TEMBRA_FILE(SpectrumStore& store, common::Ui& ui, const std::string& file_name) {
    const common::InputFile file = common::read_input_file(file_name);
    if (!file.ok()) {
        common::WARN(ui, common::input_problem_text(file, file_name, "Unable to open: " + file_name));
        return {};
    }
    TembraFile t = read_tembra_text(ui, file.text, file_name);
    if (!t.ok) {
        return t;
    }
    if (!store_single_spectrum(store, t.counts, t.pane.sample.empty() ? t.pane.file : t.pane.sample)) {
        common::WARN(ui, "Error to read: " + file_name);
        return {};
    }
    return t;
}

}  // namespace vorelbox::spectra
