#include "dispatch.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "adder_commands.h"
#include "app_state.h"
#include "check_spectrum_file.h"
#include "convert_spectrum_file.h"
#include "os_path.h"
#include "program_setup.h"
#include "safe_file.h"
#include "text_utils.h"
#include "write_spectrum_file.h"

namespace vorelbox::core {
namespace {

namespace fs = std::filesystem;

void adder_command(AppState& state, Services& s, adder::AdderCommand command, int argument = 0) {
    adder::SPECTADD_APPLY_SUB(state.store, state.raw_files, state.adder, s.ui, s.clipboard, command, argument);
}

void converter_command(AppState& state, Services& s, converter::ConverterCommand command, int argument = 0) {
    converter::SPECTCONV_APPLY_SUB(state.store, state.raw_files, state.converter, state.recent_converter_files, s.ui,
                                   s.clipboard, command, argument);
}

void refresh(AppState& state, Services& s) {
    REFRESH_GRAPH(state, s.ui, s.timers, s.redraws, s.selected_tab ? s.selected_tab() : 1);
}

// Asks about unsaved work before leaving; false when the user cancels, either
// at a question or in the save that a Yes starts (its file dialog, or a save
// that failed): the work is still unsaved then, and the program stays.
bool offer_to_save_before_leaving(AppState& state, Services& s) {
    if (state.adder.list.not_saved) {
        const char answer = common::ASK_YNC(s.ui, "The present spectrum list is not saved - save before leaving?");
        if (answer == 'C') {
            return false;
        }
        if (answer == 'Y') {
            adder_command(state, s, adder::AdderCommand::SaveAs);
            if (state.adder.list.not_saved) {
                return false;
            }
        }
    }
    if (state.converter.state.unsaved_conversion) {
        const char answer = common::ASK_YNC(s.ui, "The new spectrum is not saved - save before leaving?");
        if (answer == 'C') {
            return false;
        }
        if (answer == 'Y') {
            converter_command(state, s, converter::ConverterCommand::MenuSaveAs);
            if (state.converter.state.unsaved_conversion) {
                return false;
            }
        }
    }
    return true;
}

void save_result(AppState& state, Services& s) {
    const int tab = s.selected_tab ? s.selected_tab() : 1;
    if (tab == 3) {
        if (state.multispectrum.page.selected < 1) {
            common::WARN(s.ui, "No spectra to save");
        } else if (s.draw_multispectra) {
            s.draw_multispectra(display::PlotTarget::Save);
        }
        return;
    }
    const std::string source = state.text_output.file;
    if (!common::file_exists(source)) {
        common::WARN(s.ui, "There is no result to save");
        return;
    }
    const std::string target = common::SAVE_FILEW(s.ui, source, "Result file", "Any file |*.*||");
    if (target.empty()) {
        return;
    }
    std::error_code ec;
    if (fs::equivalent(common::os_path(source), common::os_path(target), ec) || target == source) {
        common::WARN(s.ui, "Already saved as " + std::string(common::trim_right(target)));
        return;
    }
    if (const common::SaveResult copied = common::copy_file(source, target); !copied) {
        common::WARN(s.ui, common::save_failure_text("Error saving result as " + target, copied));
    }
}

void show_spectrum_as_text(AppState& state, Services& s) {
    std::string header;
    std::string beside;
    std::vector<double> counts;
    if (state.adder_active()) {
        const adder::AdderPageState& page = state.adder.page;
        if (page.selected_input < 1 || page.selected_input > static_cast<int>(page.selection_items.size())) {
            return;
        }
        // The counts of the spectrum whose header is written: the store may hold
        // another file's spectra since a list was loaded.
        auto selected = adder::selected_input_counts(state.store, state.raw_files, state.adder, s.ui, s.clipboard);
        if (!selected) {
            return;
        }
        counts = std::move(*selected);
        header = page.selection_items[static_cast<std::size_t>(page.selected_input - 1)];
        beside = state.adder.list.file_name.empty() ? page.input_file : state.adder.list.file_name;
    } else {
        const converter::ConverterState& c = state.converter.state;
        if (c.selected < 1 || c.selected > static_cast<int>(c.headers.size())) {
            return;
        }
        header = c.headers[static_cast<std::size_t>(c.selected - 1)];
        beside = c.file;
        const auto n = static_cast<std::size_t>(std::clamp(c.channels, 0, state.store.CHANNEL_CAPACITY));
        counts.assign(state.store.CURRENT_SPECTRUM.begin(),
                      state.store.CURRENT_SPECTRUM.begin() + static_cast<std::ptrdiff_t>(n));
    }
    if (s.set_text_tab_caption) {
        s.set_text_tab_caption("Spectrum file");
    }
    const common::PathParts parts = common::SPLITPATH(beside);
    const std::string path = parts.drive + parts.directory + parts.name + ".tmp";
    if (!write_spectrum_text(path, header, counts)) {
        return;
    }
    state.text_output = {path, "Vorelix Spectrum", "Spectrum:"};
    if (s.show_result) {
        s.show_result(path, "Vorelix Spectrum", "Spectrum:");
    }
}

void show_text(AppState& state, Services& s, const std::string& file, const std::string& kind,
               const std::string& caption) {
    state.text_output = {file, kind, caption};
    if (common::file_exists(file) && s.show_result) {
        s.show_result(file, kind, caption);
    }
}

// The converter's file as text: a control file under "Control file", a
// spectrum file under "Spectrum file". A Maestro file holds binary counts, so
// the native copy written beside it is shown in its place.
void show_original_file(AppState& state, Services& s) {
    const converter::ConverterState& c = state.converter.state;
    if (c.file.empty()) {
        return;
    }
    const bool control_file = c.type_code == spectra::TYPE_INTRINSIC;
    const std::string file = c.type_code == spectra::TYPE_MAESTRO ? spectra::native_copy_name(c.file) : c.file;
    if (s.set_text_tab_caption) {
        s.set_text_tab_caption(control_file ? "Control file" : "Spectrum file");
    }
    if (control_file) {
        show_text(state, s, file, "Vorelix Control file", spectra::LONG_TITLE("Control file: ", file));
    } else {
        show_text(state, s, file, "Vorelix Spectrum", spectra::LONG_TITLE("Spectrum file: ", file));
    }
}

void unexpected(AppState& state, Services& s) {
    state.control_parameters_changed = true;
    s.ui.set_status_text(1, "Control parameters changed");
    common::WARN(s.ui, "Unexpected case");
}

}  // namespace

common::SaveResult write_spectrum_text(const std::string& path, const std::string& header,
                                       const std::vector<double>& counts) {
    std::vector<double> truncated(counts.size());
    std::transform(counts.begin(), counts.end(), truncated.begin(), [](double c) { return std::trunc(c); });
    const std::vector<spectra::SpectrumToWrite> spectra{{header, truncated, 100}};
    return spectra::write_spectrum_file(path, spectra, spectra::count_format_for(truncated));
}

Settings current_settings(const AppState& state, const WindowPlacement& placement) {
    Settings s = state.settings;
    s.program = state.program;
    s.recent_lists = state.adder.recent_lists;
    s.spectrum_list = state.adder.list.file_name == adder::UNTITLED_LIST ? std::string() : state.adder.list.file_name;
    s.spectrum_file = state.adder.page.input_file;
    s.show_selected = state.adder.page.display_selection;
    s.show_sum = state.adder.page.show_sum;
    s.recent_converter_files = state.recent_converter_files;
    s.converter_file = state.converter.state.file;
    s.window = placement;
    return s;
}

void VORELBOXSAVE(AppState& state, Services& s) {
    if (s.settings_path.empty()) {
        return;  // a window started without settings keeps none
    }
    const WindowPlacement placement = s.window_placement ? s.window_placement() : WindowPlacement{};
    const common::SaveResult saved =
        write_settings_file(s.settings_path, current_settings(state, placement), state.adder.list.not_saved);
    if (!saved) {
        common::WARN(s.ui, "Unable to save the setup\r" + s.settings_path + ": " + common::save_problem_text(saved));
    }
}

bool VORELBOXAPPLY_SUB(AppState& state, Services& s, int id) {
    using adder::AdderCommand;
    using converter::ConverterCommand;
    if (id == command::load_list_or_file || id == command::load_spectrum ||
        (id >= command::recent_first && id < command::recent_first + 8)) {
        const bool recent = id >= command::recent_first;
        if (state.adder_active()) {
            adder_command(state, s,
                          recent ? AdderCommand::RecentList
                                 : (id == command::load_spectrum ? AdderCommand::Lookup : AdderCommand::LoadList),
                          id - command::recent_first + 1);
        } else if (state.converter_active()) {
            converter_command(state, s, recent ? ConverterCommand::RecentFile : ConverterCommand::FindFile,
                              id - command::recent_first + 1);
        }
        // The page shows what was loaded.
        refresh(state, s);
        return true;
    }
    switch (id) {
        case command::exit:
            if (!offer_to_save_before_leaving(state, s)) {
                return true;
            }
            VORELBOXSAVE(state, s);
            if (s.close_window) {
                s.close_window();
            }
            return false;
        case command::new_list:
            if (state.adder_active()) {
                adder_command(state, s, AdderCommand::NewList);
                refresh(state, s);
            }
            break;
        case command::save_as:
            if (state.adder_active()) {
                adder_command(state, s, AdderCommand::SaveAs);
            } else {
                converter_command(state, s, ConverterCommand::MenuSaveAs);
            }
            break;
        case command::save_sum:
            if (state.adder_active()) {
                adder_command(state, s, AdderCommand::SaveSpectra);
                refresh(state, s);  // the saved file is the new input file
            }
            break;
        case command::save_result:
            save_result(state, s);
            break;
        case command::program_adder:
        case command::program_converter:
            if (s.setup_program) {
                s.setup_program(id == command::program_adder ? PROGRAM_ADDER : PROGRAM_CONVERTER);
            }
            break;
        case command::print:
            if ((s.selected_tab ? s.selected_tab() : 1) == 3) {
                if (state.multispectrum.page.selected < 1) {
                    common::WARN(s.ui, "No spectra to print");
                } else if (s.draw_multispectra) {
                    s.draw_multispectra(display::PlotTarget::Print);
                }
            } else if (common::file_exists(state.text_output.file) && s.print_file) {
                s.print_file(state.text_output.kind, state.text_output.file);
            } else {
                common::WARN(s.ui, "There is nothing to print");
            }
            refresh(state, s);
            break;
        case command::page_setup:
            if (s.page_setup) {
                s.page_setup();
            }
            refresh(state, s);
            break;
        case command::show_report:
            // No operation of this program writes an analysis report.
            common::WARN(s.ui, "There is no report to show");
            if (state.adder_active()) {
                refresh(state, s);
            }
            break;
        case command::show_spectrum_text:
            show_spectrum_as_text(state, s);
            break;
        case command::show_input:
            if (state.adder_active()) {
                if (!state.adder.list.file_name.empty()) {
                    show_text(state, s, state.adder.list.file_name, "Spectrum list",
                              spectra::LONG_TITLE("Spectrum list: ", state.adder.list.file_name));
                }
            } else {
                show_original_file(state, s);
            }
            return true;
        case command::show_logfile:
            if (s.set_text_tab_caption) {
                s.set_text_tab_caption("Logfile");
            }
            if (!common::file_exists(state.log_file)) {
                common::WARN(s.ui, "There is no logfile to show");
                break;
            }
            show_text(state, s, state.log_file, "Vorelbox log", "Vorelbox logfile");
            break;
        case command::about:
            if (s.about) {
                s.about();
            }
            refresh(state, s);
            break;
        default:
            unexpected(state, s);
            break;
    }
    return true;
}

}  // namespace vorelbox::core
