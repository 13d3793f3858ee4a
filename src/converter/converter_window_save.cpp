#include <algorithm>
#include <cmath>
#include <limits>

#include "auto_answer_ui.h"
#include "converter_commands.h"
#include "load_spectrum_file.h"
#include "text_utils.h"
#include "zoom.h"

namespace vorelbox::converter {
namespace {

constexpr const char* spectrum_filter = "Spectrum file (*.dat)|*.dat|All files|*.*||";

void set_status(common::Ui& ui, const std::string& text) { ui.set_status_text(3, text); }

std::string stem_of(const std::string& file) {
    const common::PathParts parts = common::SPLITPATH(file);
    return parts.drive + parts.directory + parts.name;
}

// Writes the selected spectrum's channels of the saved window; `round` rounds
// halves away from zero, otherwise counts are truncated toward zero.
common::SaveResult write_selected(const spectra::SpectrumStore& store, const ConverterState& s,
                                  const std::string& path, bool append, bool round) {
    const auto [first, last] = saved_window(s);
    const std::vector<double> current(store.CURRENT_SPECTRUM.begin(),
                                      store.CURRENT_SPECTRUM.begin() + std::min(s.channels, store.CHANNEL_CAPACITY));
    const std::string& header = s.headers.at(static_cast<std::size_t>(s.selected - 1));
    return write_converted_spectrum(path, header, window_counts(current, first, last, round), append);
}

void save_as(const spectra::SpectrumStore& store, Converter& c, common::Ui& ui) {
    ConverterState& s = c.state;
    const std::string proposal = stem_of(s.file) + (s.trim ? "_trim.dat" : "");
    const std::string path = common::SAVE_FILEWEXT(ui, proposal, "Save spectrum as", spectrum_filter, ".dat");
    if (path.empty()) {
        return;
    }
    if (const auto saved = write_selected(store, s, path, false, false); !saved) {
        common::WARN(ui, common::save_failure_text("Error creating the new spectrum file " + path, saved));
        return;
    }
    s.unsaved_conversion = false;
    set_status(ui, path);
}

void append_to(const spectra::SpectrumStore& store, Converter& c, common::Ui& ui) {
    const ConverterState& s = c.state;
    common::FileDialogRequest request;
    request.kind = common::FileDialogKind::SaveWithExtension;
    request.title = "Append new spectrum to a spectrum file";
    // The dialog opens in the file's folder with no name: proposing a name would
    // propose the measurement being read itself.
    const common::PathParts parts = common::SPLITPATH(s.file);
    request.directory = parts.drive + parts.directory;
    request.filters = common::parse_filter(spectrum_filter);
    request.default_extension = ".dat";
    request.confirm_overwrite = false;  // the file is added to, not replaced
    const std::string path = ui.choose_file(request);
    if (path.empty()) {
        return;
    }
    const auto [first, last] = saved_window(s);
    if (const auto mismatch = append_mismatch(path, last - first + 1)) {
        common::WARN(ui, *mismatch + "\rNothing is appended: a file of spectra of different lengths does not read back whole");
        return;
    }
    if (const auto saved = write_selected(store, s, path, true, false); !saved) {
        common::WARN(ui, common::save_failure_text("Error writing the new spectrum file " + path, saved));
        return;
    }
    c.state.unsaved_conversion = false;
}

void save_single(const spectra::SpectrumStore& store, Converter& c, common::Ui& ui) {
    const std::string path = common::SAVE_FILEWEXT(ui, stem_of(c.state.file) + "_trim.dat",
                                                   "Save trimmed spectrum in a spectrum file", spectrum_filter, ".dat");
    if (path.empty()) {
        return;
    }
    if (const auto saved = write_selected(store, c.state, path, false, true); !saved) {
        common::WARN(ui, common::save_failure_text("Error creating the new spectrum file " + path, saved));
        return;
    }
    c.state.unsaved_conversion = false;
}

}  // namespace

std::optional<std::string> append_mismatch(const std::string& path, int channels) {
    const auto text = spectra::read_whole_file(path);
    if (!text || common::is_blank(*text)) {
        return std::nullopt;  // a missing file is created, an empty one filled
    }
    spectra::SpectrumStore store;
    common::AutoAnswerUi silent(false);
    const int in_file = spectra::load_spectrum_text(store, silent, *text, path, true).channel_count;
    if (in_file <= 0) {
        return "The file " + path + " does not read as a spectrum file";
    }
    if (in_file == channels) {
        return std::nullopt;
    }
    return "The spectra in " + path + " have " + std::to_string(in_file) + " channels,\rthe spectrum to append has " +
           std::to_string(channels) + " channels";
}

std::pair<int, int> saved_window(const ConverterState& state) {
    if (!state.trim) {
        return {1, state.channels};
    }
    return {std::clamp(state.first, 1, std::max(state.channels, 1)), std::clamp(state.last, 1, state.channels)};
}

void window_command(spectra::SpectrumStore& store, Converter& c, common::Ui& ui, ConverterCommand command,
                    int argument) {
    ConverterState& s = c.state;
    ConverterPageState& page = c.page;
    const int n = s.channels;
    switch (command) {
        case ConverterCommand::Trim:
            s.trim = argument != 0;
            if (s.trim) {
                s.first = s.saved_first;
                s.last = s.saved_last;
                page.channels_in_spectrum = s.last - s.first + 1;
            } else {
                s.saved_first = s.first;
                s.saved_last = s.last;
                page.channels_in_spectrum_maximum = n;
                page.channels_in_spectrum = n;
            }
            break;
        case ConverterCommand::FirstChannel: {
            if (n < 1) {
                break;
            }
            s.first = std::clamp(argument, 1, n);
            if (s.last < s.first) {
                s.last = s.first;
            }
            const int length = s.last + 1 - s.first;
            const int limit = n + 1 - s.first;
            page.channels_in_spectrum = length;
            page.channels_in_spectrum_maximum = limit;
            set_status(ui, "Trimming starts at " + std::to_string(s.first) + " - length: " + std::to_string(length) +
                               " - lim: " + std::to_string(limit));
            break;
        }
        case ConverterCommand::ChannelsInSpectrum: {
            if (n < 1) {
                break;
            }
            const int length = std::clamp(argument, 1, n + 1 - s.first);
            s.last = std::min(n, s.first + length - 1);
            page.channels_in_spectrum = length;
            set_status(ui, "Trimming  ends at " + std::to_string(s.last) + " - length: " + std::to_string(length) +
                               " - lim: " + std::to_string(page.channels_in_spectrum_maximum));
            break;
        }
        case ConverterCommand::CenterPeak: {
            if (s.file.empty() || n < 1) {
                break;
            }
            double peak = -static_cast<double>(std::numeric_limits<float>::max());
            int channel = 1;
            for (int i = 1; i <= n; ++i) {
                if (store.CURRENT_SPECTRUM[static_cast<std::size_t>(i - 1)] > peak) {
                    peak = store.CURRENT_SPECTRUM[static_cast<std::size_t>(i - 1)];
                    channel = i;
                }
            }
            const double width = n / common::ZOOM_FACTORS[static_cast<std::size_t>(std::clamp(page.zoom_index, 0, 12))];
            const double start = std::max(1.0, channel - width * 0.5);
            page.scroll_position = static_cast<int>(start);
            // "Peak channel" counts from 0, as the plot shows it.
            page.peak_channel = std::to_string(channel - 1);
            break;
        }
        default:
            break;
    }
    page.redraw_request = true;
}

void save_command(const spectra::SpectrumStore& store, Converter& c, common::Ui& ui, ConverterCommand command) {
    if (c.state.spectra < 1 || c.state.selected < 1) {
        common::WARN(ui, "There is nothing to save");
        c.page.redraw_request = true;
        return;
    }
    if (command == ConverterCommand::SaveAs) {
        save_as(store, c, ui);
    } else if (command == ConverterCommand::AppendTo) {
        append_to(store, c, ui);
    } else if (c.state.spectra > 1) {
        const int answer = common::ASK_OK_ALL(ui,
                                              "Save the converted spectrum in a Vorelix spectrum file (All)\r"
                                              "Append the converted spectrum to an existing spectrum file (Append)\r"
                                              "Or do nothing (Cancel)",
                                              {"All", "Append", "Cancel"});
        if (answer == common::answer::ok_button) {
            save_single(store, c, ui);
        } else if (answer == common::answer::all) {
            append_to(store, c, ui);
        }
    } else {
        const int answer = common::IASK_YNC(ui,
                                            "Append the selected spectrum to an existing spectrum file (Yes)\r"
                                            "Save the selected spectrum in a Vorelix spectrum file (No)\r"
                                            "Or do nothing (Cancel)");
        if (answer == common::answer::yes) {
            append_to(store, c, ui);
        } else if (answer == common::answer::no) {
            save_single(store, c, ui);
        }
    }
    c.page.redraw_request = true;
}

}  // namespace vorelbox::converter
