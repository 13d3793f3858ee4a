#pragma once
// The Spectrum adder page: the values of its controls and its commands.

#include <string>
#include <vector>

#include "clipboard.h"
#include "spectrum_list.h"
#include "ui.h"
#include "zoom.h"

namespace vorelbox::adder {

// The values of the page's controls. The Qt page copies its widgets into this
// struct before a command and shows the struct after it.
struct AdderPageState {
    // "Input spectrum"
    std::string input_file;            // full path; "Spectrum file" shows name and extension
    std::string input_file_text;       // what "Spectrum file" shows
    int input_channels = 0;
    int input_spectra = 0;
    int selected_input = 0;            // "Selected spectrum" spin, 1-based
    std::vector<std::string> selection_items;  // "Spectrum selection"
    bool display_selection = false;    // radio pair "Display selection" / "Display list"
    // "Display"
    bool log_scale = false;            // "  log" / "  lin"
    bool show_sum = false;             // "Show sum spectrum"
    bool enhance_selected = false;     // "Enhance selected"
    int zoom_index = 0;                // "X-zoom" slider, 0..12
    int scroll_position = 1;           // first displayed channel
    int displayed_channels = 0;
    int first_displayed = 1;           // the axis-end labels
    int last_displayed = 0;
    bool center_peak_enabled = false;  // "Center peak": only while zoomed in (X-zoom above 1)
    common::ChannelScale plot_scale;   // where the plot's last drawing put the channels
    std::string channels_in_spectra;   // "Channels in spectra"
    bool redraw_request = false;
    // Set by the page refresh after every command.
    bool include_enabled = false;      // "&Include", "I&nclude all"
    bool list_commands_enabled = false;  // "Remo&ve All", "&Save spectra": the list has rows
    bool row_commands_enabled = false;   // "&Remove", "Move &up", "Move &down": a row is selected
    bool spin_visible = false;         // "Selected spectrum" and its spin
    int spin_maximum = 1;
    std::string number_of_channels;    // "Number of channels"
    std::string number_of_spectra;     // "Number of spectra in file"
    ListView list_view;                // the list view, rebuilt from the list
};

enum class AdderCommand {
    Lookup,
    Paste,
    SpectrumSelection,  // selection changed in "Spectrum selection" or the spin
    ListSelection,      // a row of the list view was selected or unselected
    Include,
    IncludeAll,
    Remove,
    RemoveAll,
    MoveUp,
    MoveDown,
    SaveSpectra,
    DisplayList,
    DisplaySelection,
    Log,
    Lin,
    ShowSum,
    EnhanceSelected,
    Redraw,  // "R"
    CenterPeak,
    XZoom,
    Scroll,
    LoadList,    // "&Load list or file"
    RecentList,  // "&1." .. "&8.": the argument gives the entry
    SaveAs,      // "Save  &as"
    NewList,
    Other,
};

// Everything the page works on besides the spectrum store.
struct AdderState {
    SpectrumList list;
    AdderPageState page;
    RecentFiles recent_lists;
    std::string program_folder;  // where "pasted_spectrum.tmp" goes when it is writable
};

// The page refresh that follows every command: enabled commands, the input
// file's fields, the spin range, the displayed channel window and the list
// view's selection (the list's selected row).
void refresh_page(AdderState& adder);

// Carries out one command of the page; `argument` is the recent entry (1..8) for
// RecentList and the chosen item (1-based) for SpectrumSelection.
void SPECTADD_APPLY_SUB(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                        common::Ui& ui, common::Clipboard& clipboard, AdderCommand command, int argument = 0);

}  // namespace vorelbox::adder
