#include "tagged_spe.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "dialog_values.h"
#include "free_format.h"
#include "maestro_chn.h"
#include "spectrum_store.h"
#include "text_lines.h"
#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

constexpr std::size_t header_max = 200;
constexpr std::size_t shown_line_max = 80;

struct Section {
    std::string tag;        // "$DATA:", upper case, trimmed
    std::string_view line;  // the tag line as it stands
    std::string_view body;  // the lines that belong to the tag
};

struct Sections {
    std::vector<Section> sections;
    std::string_view stray;  // a line before the first tag, when there is one
};

Sections split_sections(std::string_view text) {
    Sections out;
    common::Lines lines(text);
    const auto offset = [&text](std::string_view part) { return static_cast<std::size_t>(part.data() - text.data()); };
    // Lines up to the first tag: blank ones, or a stray line.
    std::optional<std::string_view> line;
    while ((line = lines.next())) {
        if (!line->empty() && line->front() == '$') {
            break;
        }
        if (!common::is_blank(*line)) {
            out.stray = *line;
            return out;
        }
    }
    // From there on every line that starts with '$' opens a section; the lines
    // between two tags, the counts above all, are passed over in one search.
    while (line) {
        const std::size_t body_start = offset(lines.rest());
        out.sections.push_back({common::CAPS(common::trim(*line)), *line, {}});
        // '$' is rare: it is looked for, and taken where it starts a line.
        std::size_t next_tag = text.find('$', body_start);
        while (next_tag != std::string_view::npos && text[next_tag - 1] != '\n') {
            next_tag = text.find('$', next_tag + 1);
        }
        if (next_tag == std::string_view::npos) {
            out.sections.back().body = text.substr(body_start);
            break;
        }
        out.sections.back().body = text.substr(body_start, next_tag - body_start);
        lines.skip(next_tag - body_start);
        line = lines.next();
    }
    return out;
}

// A line as a message shows it: control characters (a binary file has many) as blanks.
std::string shown(std::string_view line) {
    return common::cut_chars(common::trim(common::blank_control_chars(line)), shown_line_max);
}

// The numbers at the start of a text, up to the first token that is not one.
std::vector<double> leading_numbers(std::string_view text) {
    std::vector<double> values;
    common::Lines lines(text);
    while (auto line = lines.next()) {
        std::size_t i = 0;
        while (i < line->size()) {
            while (i < line->size() && common::is_blank_char((*line)[i])) {
                ++i;
            }
            const std::size_t start = i;
            while (i < line->size() && !common::is_blank_char((*line)[i])) {
                ++i;
            }
            if (start == i) {
                break;
            }
            const auto v = common::parse_free_real(line->substr(start, i - start));
            if (!v) {
                return values;
            }
            values.push_back(*v);
        }
    }
    return values;
}

std::string rest_after(std::string_view line, std::string_view keyword) {
    return std::string(common::trim(common::trim_left(line).substr(keyword.size())));
}

bool starts_with(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

void append_to_header(std::string& header, std::string_view line) {
    line = common::trim(line);
    if (line.empty()) {
        return;
    }
    std::string h(common::trim_right(header));
    if (!h.empty()) {
        h += ' ';
    }
    h += line;
    header = common::cut_chars(h, header_max);
}

// The counts of a "$DATA:" section: a line with the first and the last channel
// number, then the counts. Nothing in `counts` when the section does not hold
// them all; `channels` is the count of a range too long to be read.
struct DataCounts {
    std::optional<std::vector<double>> counts;
    double too_many = 0;
};

DataCounts data_counts(std::string_view body) {
    DataCounts out;
    common::Lines lines(body);
    const auto range = lines.next_non_blank();
    if (!range) {
        return out;
    }
    const auto bounds = leading_numbers(*range);
    if (bounds.size() < 2) {
        return out;
    }
    // A channel range must be whole and positive. The bounds are compared as
    // reals first: 1e127 fits no integer.
    constexpr double largest_bound = 1e15;
    if (std::abs(bounds[0]) > largest_bound || std::abs(bounds[1]) > largest_bound ||
        bounds[0] != std::floor(bounds[0]) || bounds[1] != std::floor(bounds[1])) {
        return out;
    }
    const double channels = bounds[1] - bounds[0] + 1;
    if (channels < 1) {
        return out;
    }
    if (channels > MAX_CHANNELS) {
        out.too_many = channels;
        return out;
    }
    auto values = common::read_free_values(lines, static_cast<std::size_t>(channels));
    if (values.ok) {
        out.counts = std::move(values.values);
    }
    return out;
}

}  // namespace

SpeFile read_spe_text(common::Ui& ui, std::string_view text, const std::string& file_name, SpeMode mode) {
    SpeFile spe;
    const Sections parts = split_sections(common::without_bom(text));
    if (!parts.stray.empty()) {
        common::WARN(ui, "Unexpected line: " + shown(parts.stray));
        return spe;
    }
    bool data_failed = false;
    for (const Section& s : parts.sections) {
        common::Lines body(s.body);
        if (s.tag == "$SPEC_ID:") {
            const std::string_view line = body.next().value_or(std::string_view{});
            spe.description = one_line(line);
            spe.header = common::cut_chars(spe.description, header_max);
            if (spe.description.empty()) {
                spe.description = "No sample description was entered.";
            }
        } else if (s.tag == "$SPEC_REM:") {
            while (auto line = body.next()) {
                const std::string_view l = common::trim_left(*line);
                if (starts_with(l, "DET#")) {
                    spe.pane.detector_number = rest_after(l, "DET#");
                } else if (starts_with(l, "DETDESC#")) {
                    spe.pane.detector = one_line(rest_after(l, "DETDESC#"));
                } else if (starts_with(l, "AP#")) {
                    if (mode == SpeMode::Identify) {
                        common::WARN(ui, "More to come");
                    }
                    // Without a sample description the application line names the spectrum.
                    if (starts_with(l, "AP# ") && starts_with(spe.header, "No sample description ")) {
                        spe.header = common::cut_chars(one_line(rest_after(l, "AP#")), header_max);
                    }
                }
            }
        } else if (s.tag == "$DATE_MEA:" || s.tag == "$MEAS_TIM:") {
            bool first = true;
            while (auto line = body.next()) {
                append_to_header(spe.header, one_line(*line));
                if (first && !common::is_blank(*line)) {
                    first = false;
                    if (s.tag == "$DATE_MEA:") {
                        spe.pane.date_and_time = one_line(*line);
                    } else {
                        const auto times = leading_numbers(*line);
                        if (times.size() >= 1) {
                            spe.pane.live_time = common::DLGSETREAL("(f10.2)", times[0]);
                        }
                        if (times.size() >= 2) {
                            spe.pane.real_time = common::DLGSETREAL("(f10.2)", times[1]);
                        }
                    }
                }
            }
        } else if (s.tag == "$DATA:") {
            auto data = data_counts(s.body);
            if (!data.counts) {
                common::WARN(ui, data.too_many > 0
                                     ? too_many_channels_text(file_name, static_cast<std::int64_t>(data.too_many))
                                     : "Error reading file: " + file_name);
                data_failed = true;
                break;
            }
            spe.counts = std::move(*data.counts);
            spe.has_data = true;
        } else if (mode == SpeMode::Convert) {
            break;
        } else if (s.tag == "$ROI:" || s.tag == "$PRESETS:") {
            continue;
        } else if (s.tag == "$ENER_FIT:") {
            const auto fit = leading_numbers(s.body);
            if (fit.size() >= 2) {
                spe.pane.factor_a = common::DLGSETREAL("(f10.4)", fit[0]);
                spe.pane.factor_b = common::DLGSETREAL("(f10.4)", fit[1]);
            }
        } else if (s.tag == "$MCA_CAL:" || s.tag == "$SHAPE_CAL:") {
            // A count of coefficients (written "3" or "%2"), then the coefficients.
            common::Lines lines(s.body);
            lines.next();
            auto values = leading_numbers(lines.rest());
            (s.tag == "$MCA_CAL:" ? spe.pane.mca_calibration : spe.pane.factors) = std::move(values);
        } else {
            common::WARN(ui, "Unexpected line: " + shown(s.line));
        }
    }
    if (!spe.has_data && !data_failed) {
        // No "$DATA:" section at all (in a file of any other bytes, no tag at all).
        common::WARN(ui, "Error reading file: " + file_name);
    }
    return spe;
}

}  // namespace vorelbox::spectra
