#include "n42_file.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "free_format.h"
#include "load_spectrum_file.h"
#include "maestro_chn.h"
#include "spectrum_store.h"
#include "text_utils.h"
#include "xml_document.h"

namespace vorelbox::spectra {
namespace {

// One Spectrum element with what was found around it.
struct Found {
    const XmlElement* spectrum = nullptr;
    std::string detector;
    std::string start;
    std::optional<double> real_time;
    std::optional<double> live_time;
    std::vector<double> energy;
    std::vector<std::pair<double, double>> points;
};

std::string joined(std::initializer_list<std::string> parts) {
    std::string text;
    for (const std::string& p : parts) {
        const std::string t = one_line(p);
        if (t.empty() || common::LOWCASE(t) == "unknown") {
            continue;
        }
        text += (text.empty() ? "" : " ") + t;
    }
    return text;
}

std::vector<double> numbers_of(std::string_view text) { return touching_numbers(text).value_or(std::vector<double>{}); }

// The text of the nearest element of that name: a child of `e`, else a child of
// one of its ancestors.
const XmlElement* nearest(const XmlDocument& doc, const XmlElement& e, std::string_view name) {
    for (const XmlElement* at = &e;; at = &doc.parent(*at)) {
        if (const XmlElement* c = doc.child(*at, name)) {
            return c;
        }
        if (at->parent < 0) {
            return nullptr;
        }
    }
}

std::string nearest_text(const XmlDocument& doc, const XmlElement& e, std::string_view name) {
    const XmlElement* c = nearest(doc, e, name);
    return c ? one_line(c->text) : std::string();
}

std::optional<double> nearest_duration(const XmlDocument& doc, const XmlElement& e,
                                       std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) {
        if (const XmlElement* c = nearest(doc, e, name)) {
            return iso_duration_seconds(common::trim(c->text));
        }
    }
    return std::nullopt;
}

std::vector<Found> spectra_2012(const XmlDocument& doc, AcquisitionPane& pane) {
    const XmlElement& root = doc.root();
    if (const XmlElement* info = doc.child(root, "RadInstrumentInformation")) {
        pane.instrument = joined({doc.child_text(*info, "RadInstrumentManufacturerName"),
                                  doc.child_text(*info, "RadInstrumentModelName"),
                                  doc.child_text(*info, "RadInstrumentIdentifier")});
    }
    std::map<std::string, const XmlElement*, std::less<>> calibrations;
    for (const XmlElement* c : doc.descendants(root, "EnergyCalibration")) {
        calibrations.emplace(std::string(attribute(*c, "id")), c);
    }
    std::vector<Found> out;
    for (const XmlElement* s : doc.descendants(root, "Spectrum")) {
        Found f;
        f.spectrum = s;
        f.detector = one_line(attribute(*s, "radDetectorInformationReference"));
        f.start = nearest_text(doc, *s, "StartDateTime");
        f.real_time = nearest_duration(doc, *s, {"RealTimeDuration"});
        if (const XmlElement* live = doc.child(*s, "LiveTimeDuration")) {
            f.live_time = iso_duration_seconds(common::trim(live->text));
        }
        const auto cal = calibrations.find(attribute(*s, "energyCalibrationReference"));
        if (cal != calibrations.end()) {
            f.energy = numbers_of(doc.child_text(*cal->second, "CoefficientValues"));
            const auto energies = numbers_of(doc.child_text(*cal->second, "EnergyValues"));
            const auto channels = numbers_of(doc.child_text(*cal->second, "ChannelValues"));
            for (std::size_t k = 0; k < std::min(energies.size(), channels.size()); ++k) {
                f.points.emplace_back(channels[k], energies[k]);
            }
        }
        out.push_back(std::move(f));
    }
    return out;
}

// True when the blank-separated list holds the word.
bool lists_word(std::string_view list, std::string_view word) {
    std::size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && common::is_blank_char(list[i])) {
            ++i;
        }
        std::size_t end = i;
        while (end < list.size() && !common::is_blank_char(list[end])) {
            ++end;
        }
        if (end > i && list.substr(i, end - i) == word) {
            return true;
        }
        i = end;
    }
    return false;
}

std::vector<double> energy_2006(const XmlDocument& doc, const XmlElement& spectrum) {
    std::vector<const XmlElement*> candidates = doc.children(spectrum, "Calibration");
    // Calibrations kept elsewhere in the document and named by ID.
    const std::string_view ids = attribute(spectrum, "CalibrationIDs");
    if (candidates.empty() && !ids.empty()) {
        for (const XmlElement* c : doc.descendants(doc.root(), "Calibration")) {
            const std::string_view id = attribute(*c, "ID");
            if (!id.empty() && lists_word(ids, id)) {
                candidates.push_back(c);
            }
        }
    }
    for (const XmlElement* c : candidates) {
        const std::string_view type = attribute(*c, "Type");
        if (!type.empty() && common::LOWCASE(type) != "energy") {
            continue;
        }
        if (const XmlElement* eq = doc.child(*c, "Equation")) {
            return numbers_of(doc.child_text(*eq, "Coefficients"));
        }
    }
    return {};
}

std::vector<Found> spectra_2006(const XmlDocument& doc, AcquisitionPane& pane) {
    const XmlElement& root = doc.root();
    for (const XmlElement* info : doc.descendants(root, "InstrumentInformation")) {
        pane.instrument = joined({doc.child_text(*info, "Manufacturer"), doc.child_text(*info, "InstrumentModel"),
                                  doc.child_text(*info, "InstrumentID")});
        break;
    }
    std::vector<Found> out;
    for (const XmlElement* s : doc.descendants(root, "Spectrum")) {
        Found f;
        f.spectrum = s;
        for (const char* name : {"Detector", "Sensor", "DetectorName"}) {
            if (f.detector.empty()) {
                f.detector = one_line(attribute(*s, name));
            }
        }
        if (f.detector.empty() && s->parent >= 0) {
            // DetectorMeasurement > SpectrumMeasurement > Spectrum
            for (const XmlElement* at = &doc.parent(*s); f.detector.empty(); at = &doc.parent(*at)) {
                f.detector = one_line(attribute(*at, "Detector"));
                if (at->parent < 0) {
                    break;
                }
            }
        }
        f.start = nearest_text(doc, *s, "StartTime");
        f.real_time = nearest_duration(doc, *s, {"RealTime", "SampleRealTime"});
        if (const XmlElement* live = doc.child(*s, "LiveTime")) {
            f.live_time = iso_duration_seconds(common::trim(live->text));
        }
        f.energy = energy_2006(doc, *s);
        out.push_back(std::move(f));
    }
    return out;
}

// The counts of a ChannelData element; a message when they cannot be read.
struct ChannelCounts {
    std::vector<double> counts;
    std::string problem;
    bool too_many = false;
};

ChannelCounts channel_counts(const XmlElement& data) {
    ChannelCounts out;
    std::string_view compression = attribute(data, "compressionCode");
    if (compression.empty()) {
        compression = attribute(data, "Compression");
    }
    const std::string kind = common::LOWCASE(common::trim(compression));
    const bool counted_zeroes = kind == "countedzeroes";
    if (!counted_zeroes && !kind.empty() && kind != "none") {
        out.problem = "its channel data are compressed as \"" + common::cut_chars(one_line(compression), 40) +
                      "\", which cannot be read";
        return out;
    }
    // Room for a count every four characters (within the channel limit): most
    // spectra fit without growing, and little is taken that is not used.
    out.counts.reserve(std::min<std::size_t>(data.text.size() / 4 + 16, MAX_CHANNELS));
    TouchingNumbers numbers(data.text);
    std::string problem;
    bool too_many = false;
    while (const auto v = numbers.next()) {
        if (!is_whole_count(*v)) {
            problem = "its channel data hold a count that is not a whole number";
            break;
        }
        if (!counted_zeroes || *v != 0) {
            if (out.counts.size() >= static_cast<std::size_t>(MAX_CHANNELS)) {
                too_many = true;
                break;
            }
            out.counts.push_back(*v);
            continue;
        }
        // A 0 and the number of zero channels it stands for.
        const auto run = numbers.next();
        if (!run || !is_whole_count(*run) || *run < 0) {
            problem = "its counted zeroes end in a 0 without the number of zero channels";
            break;
        }
        if (static_cast<double>(out.counts.size()) + *run > MAX_CHANNELS) {
            too_many = true;
            break;
        }
        out.counts.insert(out.counts.end(), static_cast<std::size_t>(*run), 0.0);
    }
    if (!problem.empty() || too_many) {
        // Something other than numbers anywhere in the data is what the user
        // hears of first, whatever else is wrong before it.
        while (numbers.next()) {
        }
    }
    if (numbers.failed()) {
        problem = "its channel data hold something other than numbers";
        too_many = false;
    }
    if (!problem.empty() || too_many) {
        out.counts.clear();
        out.problem = std::move(problem);
        out.too_many = too_many;
    }
    return out;
}

// A channel count the file states beside its data, when it states one: an
// attribute of the channel data or of the spectrum (numberOfChannels,
// channelCount, Channels), or a NumberOfChannels element of the spectrum.
std::optional<double> declared_channels(const XmlDocument& doc, const XmlElement& spectrum, const XmlElement& data) {
    for (const XmlElement* e : {&data, &spectrum}) {
        for (const auto& [key, value] : e->attributes) {
            const std::string k = common::LOWCASE(key);
            if (k == "numberofchannels" || k == "channelcount" || k == "channels") {
                return common::parse_free_real(value);
            }
        }
    }
    if (const XmlElement* n = doc.child(spectrum, "NumberOfChannels")) {
        return common::parse_free_real(common::trim(n->text));
    }
    return std::nullopt;
}

}  // namespace

std::optional<double> iso_duration_seconds(std::string_view text) {
    text = common::trim(text);
    if (const auto plain = common::parse_free_real(text)) {
        return *plain >= 0 ? plain : std::nullopt;
    }
    if (text.empty() || text.front() != 'P') {
        return std::nullopt;
    }
    text.remove_prefix(1);
    double seconds = 0;
    bool in_time = false;
    bool any = false;
    while (!text.empty()) {
        if (text.front() == 'T') {
            in_time = true;
            text.remove_prefix(1);
            continue;
        }
        std::size_t n = 0;
        while (n < text.size() && ((text[n] >= '0' && text[n] <= '9') || text[n] == '.')) {
            ++n;
        }
        if (n == 0 || n == text.size()) {
            return std::nullopt;
        }
        const auto value = common::parse_free_real(text.substr(0, n));
        if (!value) {
            return std::nullopt;
        }
        const char unit = text[n];
        double scale = 0;
        if (!in_time && unit == 'W') {
            scale = 604800;
        } else if (!in_time && unit == 'D') {
            scale = 86400;
        } else if (in_time && unit == 'H') {
            scale = 3600;
        } else if (in_time && unit == 'M') {
            scale = 60;
        } else if (in_time && unit == 'S') {
            scale = 1;
        } else {
            return std::nullopt;
        }
        seconds += *value * scale;
        any = true;
        text.remove_prefix(n + 1);
    }
    if (!any || !std::isfinite(seconds)) {
        return std::nullopt;
    }
    return seconds;
}

ForeignRead read_n42_bytes(std::string_view bytes, const std::string& file_name) {
    const XmlDocument doc = parse_xml(bytes);
    if (!doc.ok()) {
        return read_error(file_name, "It is no N42 document: " + doc.problem);
    }
    const std::string& root = doc.root().name;
    ForeignRead r;
    std::vector<Found> found;
    if (root == "RadInstrumentData") {
        r.pane.format = "ANSI N42.42-2012";
        found = spectra_2012(doc, r.pane);
    } else if (root == "N42InstrumentData") {
        r.pane.format = "ANSI N42.42-2006";
        found = spectra_2006(doc, r.pane);
    } else {
        return read_error(file_name, "It is no N42 document: its root element is " +
                                         common::cut_chars(one_line(root), 40));
    }
    r.description = one_line(doc.child_text(doc.root(), "Remark"));
    if (r.description.empty()) {
        if (const XmlElement* info = doc.child(doc.root(), "RadInstrumentInformation")) {
            r.description = one_line(doc.child_text(*info, "Remark"));
        }
    }
    r.pane.sample = r.description;
    r.pane.spectra_in_file = static_cast<int>(found.size());

    std::size_t other_length = 0;
    std::size_t empty = 0;
    std::size_t beyond = 0;
    for (std::size_t k = 0; k < found.size(); ++k) {
        const Found& f = found[k];
        const XmlElement* data = doc.child(*f.spectrum, "ChannelData");
        if (!data) {
            ++empty;
            continue;
        }
        ChannelCounts c = channel_counts(*data);
        if (c.too_many) {
            return failed_read(too_many_channels_text(file_name, 0));
        }
        if (!c.problem.empty()) {
            return read_error(file_name, "Spectrum " + std::to_string(k + 1) + ": " + c.problem);
        }
        if (c.counts.empty()) {
            ++empty;
            continue;
        }
        if (const auto declared = declared_channels(doc, *f.spectrum, *data);
            declared && *declared != static_cast<double>(c.counts.size())) {
            r.notes.push_back("Spectrum " + std::to_string(k + 1) + " of " + file_name + " declares " +
                              compact_number(*declared) + " channels and holds " +
                              std::to_string(c.counts.size()) + "; the " + std::to_string(c.counts.size()) +
                              " channels it holds are read");
        }
        if (!r.spectra.empty() && c.counts.size() != r.spectra.front().counts.size()) {
            ++other_length;
            continue;
        }
        if (r.spectra.size() >= static_cast<std::size_t>(MAX_FILE_SPECTRA)) {
            ++beyond;
            continue;
        }
        ForeignSpectrum s;
        s.counts = std::move(c.counts);
        s.detector = f.detector;
        s.start = f.start;
        s.real_time = f.real_time;
        s.live_time = f.live_time;
        s.energy = f.energy;
        s.header = foreign_header({f.detector, f.start});
        if (s.header.empty()) {
            s.header = foreign_header({common::name_with_extension(file_name), r.description});
        }
        if (r.spectra.empty()) {
            r.pane.detector = f.detector;
            r.pane.start = f.start;
            r.pane.real_time = f.real_time;
            r.pane.live_time = f.live_time;
            r.pane.energy = f.energy;
            r.pane.points = f.points;
        }
        r.spectra.push_back(std::move(s));
    }
    if (r.spectra.empty()) {
        return read_error(file_name, found.empty() ? "The N42 document holds no Spectrum element"
                                                   : "Its Spectrum elements hold no channel data");
    }
    const std::size_t channels = r.spectra.front().counts.size();
    if (beyond > 0) {
        r.notes.push_back("The file " + file_name + " holds more spectra than can be read: the first " +
                          std::to_string(MAX_FILE_SPECTRA) + " are read, " + std::to_string(beyond) +
                          (beyond == 1 ? " is" : " are") + " left out");
    }
    if (other_length > 0) {
        r.notes.push_back(std::to_string(other_length) + (other_length == 1 ? " spectrum" : " spectra") + " of " +
                          file_name + " with another number of channels than the first (" +
                          std::to_string(channels) + ") " + (other_length == 1 ? "is" : "are") + " left out");
    }
    if (empty > 0) {
        r.notes.push_back(std::to_string(empty) + (empty == 1 ? " spectrum" : " spectra") + " of " + file_name +
                          " without channel data " + (empty == 1 ? "is" : "are") + " left out");
    }
    return r;
}

ForeignRead read_n42_file(const std::string& path) { return read_foreign_bytes_of(path, read_n42_bytes); }

}  // namespace vorelbox::spectra
