// The Multispectrum page's file and selection: reading the shown file into the
// page's own store, the buttons of the page and of the selection dialog, and
// the steps of a drawing that bring the drawn set up to date.

#include <algorithm>

#include "check_spectrum_file.h"
#include "foreign_formats.h"
#include "free_format.h"
#include "load_spectrum_file.h"
#include "multispectrum.h"
#include "os_path.h"
#include "text_utils.h"

namespace vorelbox::display {
namespace {

// Reads the shown file into the page's own store: the known kinds through the
// file identification, anything else as a native spectrum file.
void read_file(MultispectrumState& state, common::Ui& ui) {
    spectra::reset_store(state.store);
    state.stamp = file_stamp(common::os_path(state.file_name));
    state.file_type.clear();
    if (state.file_name.empty()) {
        return;
    }
    if (spectra::is_identified_spectrum_name(state.file_name)) {
        state.file_type =
            spectra::CHECK_SPECTRUM_FILE(state.store, state.files, ui, state.file_name).type_code;
    } else if (spectra::LOAD_SPECTRUM_FILE(state.store, ui, state.file_name).channel_count > 0) {
        state.file_type = spectra::TYPE_NATIVE;
    }
}

void fill_selection_lines(MultispectrumState& state) {
    state.page.selection_lines.clear();
    for (int i = 1; i <= spectrum_count(state); ++i) {
        const std::string& title =
            state.store.FILE_SPECTRUM_HEADERS[static_cast<std::size_t>(i - 1)];
        state.page.selection_lines.push_back(selection_line(i, title));
    }
}

int drawn_count(const MultispectrumState& state) {
    return static_cast<int>(std::count(state.drawn.begin(), state.drawn.end(), true));
}

// What gets drawn: the user's selection once there is one, else the first six.
void set_drawn(MultispectrumState& state) {
    const int s = spectrum_count(state);
    for (int i = 1; i <= MULTI_SPECTRA; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        state.drawn[k] =
            i <= s && (state.user_selection ? state.dialog[k] : i <= FIRST_DRAWN_SPECTRA);
    }
}

// The largest count of every flagged spectrum, and the count maximum: the
// largest of them and `start`.
void update_maxima(MultispectrumState& state, const std::array<bool, MULTI_SPECTRA>& flags,
                   double start) {
    double maximum = start;
    const int nc = channel_count(state);
    for (int i = 1; i <= spectrum_count(state); ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        if (!flags[k]) {
            continue;
        }
        const std::vector<double>& column = state.store.FILE_SPECTRA[k];
        const auto n = std::min(column.size(), static_cast<std::size_t>(std::max(nc, 0)));
        double m = 0.0;
        if (n > 0) {
            m = *std::max_element(column.begin(), column.begin() + static_cast<std::ptrdiff_t>(n));
        }
        state.maxima[k] = m;
        maximum = std::max(maximum, m);
    }
    state.count_maximum = maximum;
}

// The page without a file: no spectra, nothing selected.
void show_no_file(MultispectrumState& state, common::Ui& ui) {
    state.file_name.clear();
    read_file(state, ui);
    state.drawn.fill(false);
    state.dialog.fill(false);
    state.maxima.fill(0.0);
    state.user_selection = false;
    state.legend_left = 0;
    state.count_maximum = 10.0;
    state.page.selected = 0;
    state.page.out_of = 0;
    state.page.select_enabled = false;
    state.page.selection_shown = false;
    fill_selection_lines(state);
    set_channel_edits(state, 1, 0);
}

void select_all(MultispectrumState& state) {
    state.legend_left = 0;
    state.dialog.fill(true);
    state.user_selection = true;
    set_drawn(state);
    state.page.selected = spectrum_count(state);
    state.page.out_of = spectrum_count(state);
    update_maxima(state, state.dialog, 0.0);
    state.page.selection_shown = false;
    if (state.page.selected >= 1) {
        state.redraw_request = true;
    }
}

void selection_ok(MultispectrumState& state) {
    state.legend_left = 0;
    state.dialog.fill(false);
    std::vector<int> lines = state.page.highlighted;
    std::sort(lines.begin(), lines.end());
    int chosen = 0;
    for (const int line : lines) {
        if (line < 1) {
            break;
        }
        if (line <= MULTI_SPECTRA && !state.dialog[static_cast<std::size_t>(line - 1)]) {
            state.dialog[static_cast<std::size_t>(line - 1)] = true;
            ++chosen;
        }
    }
    state.user_selection = true;
    set_drawn(state);
    state.page.selected = chosen;
    update_maxima(state, state.dialog, 0.0);
    if (chosen >= 1) {
        state.redraw_request = true;
    }
    state.page.selection_shown = false;
}

void select(MultispectrumState& state, common::Ui& ui) {
    const int s = spectrum_count(state);
    if (s < 1) {
        common::WARN(ui, "No spectrum available");
        return;
    }
    if (s == 1) {
        state.page.selected = 1;
        common::STATUS(ui, "Only one spectrum in file");
        state.legend_left = 0;
        return;
    }
    fill_selection_lines(state);
    state.page.selected = s;
    state.page.highlighted.clear();
    for (int i = 1; i <= s; ++i) {
        if (state.drawn[static_cast<std::size_t>(i - 1)]) {
            state.page.highlighted.push_back(i);
        }
    }
    state.page.selection_shown = true;
}

// The channel window typed into the edits; an unreadable edit keeps the last one.
void read_channel_edits(MultispectrumState& state) {
    const auto lower = common::parse_free_real(state.page.lower_channel);
    const auto upper = common::parse_free_real(state.page.upper_channel);
    if (lower) {
        state.lo = std::max(1, to_device(*lower));
    }
    if (upper) {
        state.hi = to_device(*upper);
    }
}

}  // namespace

void set_channel_edits(MultispectrumState& state, int lo, int hi) {
    state.lo = lo;
    state.hi = hi;
    state.page.lower_channel = std::to_string(lo);
    state.page.upper_channel = std::to_string(hi);
}

std::string selection_line(int spectrum, std::string_view title) {
    std::string line = std::to_string(spectrum);
    line.resize(std::max<std::size_t>(line.size(), 6), ' ');
    line += '\t';
    line += common::trim_right(title);
    return line;
}

std::string multiplot_picture_name(const std::string& file_name,
                                   const std::array<bool, MULTI_SPECTRA>& flags) {
    const common::PathParts parts = common::SPLITPATH(file_name);
    std::string name = parts.drive;
    name += parts.directory;
    name += parts.name;
    std::string numbers;
    int previous = 0;
    for (int i = 1; i <= MULTI_SPECTRA; ++i) {
        if (!flags[static_cast<std::size_t>(i - 1)]) {
            continue;
        }
        if (previous > 0) {
            numbers += numbers.empty() ? " " : ",";
            numbers += std::to_string(previous);
        }
        previous = i;
    }
    name += numbers;
    if (previous > 0) {
        name += " and ";
        name += std::to_string(previous);
    }
    name += ".emf";
    return name;
}

bool load_multispectrum_file(MultispectrumState& state, common::Ui& ui,
                             const std::string& file_name) {
    state.file_name = file_name;
    read_file(state, ui);
    state.page.out_of = spectrum_count(state);
    state.drawn.fill(false);
    state.dialog.fill(false);
    state.maxima.fill(0.0);
    state.user_selection = false;
    set_drawn(state);
    state.page.selected = drawn_count(state);
    state.page.select_enabled = spectrum_count(state) >= 1;
    fill_selection_lines(state);
    // The legend is placed anew for the new titles.
    state.legend_left = 0;
    if (channel_count(state) < 1) {
        common::WARN(ui, "This is not a proper spectrum file");
        return false;
    }
    if (channel_count(state) > state.store.CHANNEL_CAPACITY) {
        std::string text = "Spectrumdata limited to ";
        text += std::to_string(state.store.CHANNEL_CAPACITY);
        text += " channels";
        common::WARN(ui, text);
        state.store.CHANNEL_COUNT = state.store.CHANNEL_CAPACITY;
    }
    set_channel_edits(state, 1, channel_count(state));
    update_maxima(state, state.drawn, 10.0);
    state.redraw_request = true;
    return true;
}

std::string multi_file_filter() {
    return "Spectrum file (*.dat)|*.dat|Any spectrum file (*.dat;*.chn;*.spe)|*.dat;*.chn;*.spe|" +
           spectra::foreign_files_filter() + "Spectrum in control file (*.lmc,*.cvc)|*.lmc;*.cvc|all files|*.*||";
}

void SETUPVORELBOXMULTISPECTRUM(MultispectrumState& state, common::Ui& ui, MultiCommand command) {
    switch (command) {
        case MultiCommand::FindSpectra: {
            const std::string chosen =
                common::FIND_FILEW(ui, state.file_name, MULTI_FILE_TITLE, multi_file_filter());
            if (chosen.empty()) {
                return;
            }
            load_multispectrum_file(state, ui, chosen);
            return;
        }
        case MultiCommand::Select:
            select(state, ui);
            return;
        case MultiCommand::SelectAll:
        case MultiCommand::SelectionAll:
            select_all(state);
            return;
        case MultiCommand::SelectionOk:
            selection_ok(state);
            return;
        case MultiCommand::SelectionCancel:
            state.page.selection_shown = false;
            return;
        case MultiCommand::Redraw:
            state.redraw_request = true;
            return;
    }
}

void enter_multispectrum_page(MultispectrumState& state, common::Ui& ui,
                              const std::string& program_file) {
    if (program_file != state.program_file) {
        state.program_file = program_file;
        if (program_file.empty()) {
            show_no_file(state, ui);
        } else if (program_file != state.file_name) {
            load_multispectrum_file(state, ui, program_file);
        }
    }
    if (!state.user_selection) {
        set_drawn(state);
        state.page.selected = drawn_count(state);
    }
    state.page.out_of = spectrum_count(state);
    fill_selection_lines(state);
    state.redraw_request = true;
}

void prepare_multispectra(MultispectrumState& state, common::Ui& ui) {
    read_channel_edits(state);
    if (!state.file_name.empty() && state.stamp != file_stamp(common::os_path(state.file_name))) {
        read_file(state, ui);
        fill_selection_lines(state);
    }
    const int s = spectrum_count(state);
    set_drawn(state);
    update_maxima(state, state.drawn, state.count_maximum);
    MultispectrumPage& page = state.page;
    page.selected = drawn_count(state);
    page.out_of = s;
    page.select_enabled = s >= 1;
    page.vertical_shown = !page.log;
    if (page.selected < 1 && s == 0) {
        page.x_zoom = 0;
    }
}

}  // namespace vorelbox::display
