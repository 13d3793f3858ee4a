#pragma once
// The Spectrum converter page: one file of any kind, one of its spectra picked,
// its header edited, trimmed to a channel window, saved or appended.

#include <optional>
#include <string>
#include <vector>

#include "adder_page.h"
#include "check_spectrum_file.h"
#include "clipboard.h"
#include "safe_file.h"
#include "ui.h"
#include "zoom.h"

namespace vorelbox::converter {

constexpr std::size_t CONVERTER_HEADER_LENGTH = 100;

// What the converter holds.
struct ConverterState {
    std::string file;       // the converter file; empty = none
    std::string type_code;  // as the identification reports it
    std::string type_text;
    int channels = 0;  // N
    int spectra = 0;
    int selected = 0;  // 1-based
    std::vector<std::string> headers;  // at most 100 characters each; the selected one is written
    bool trim = false;
    int first = 1;  // the trimming window F..Lc
    int last = 0;
    int saved_first = 1;  // the window remembered while "Trim" is off
    int saved_last = 0;
    bool unsaved_conversion = false;
    std::optional<spectra::MaestroPane> maestro;
    std::optional<spectra::SpePane> spe;
    std::optional<spectra::TembraPane> tembra;
    std::optional<spectra::AcquisitionPane> foreign;  // the other instruments' kinds
};

// The values of the page's controls; the Qt page shows them after every command.
struct ConverterPageState {
    std::string file_text;       // "Spectrum file"
    bool modified_mark = false;  // its "*"
    std::string type_text;       // "Spectrum type"
    std::string number_of_channels;
    std::string number_of_spectra;
    int spin_maximum = 1;  // "Selected spectrum"
    bool log_scale = false;
    int zoom_index = 0;
    int scroll_position = 1;
    int first_displayed = 1;
    int last_displayed = 0;
    std::string peak_channel;
    bool center_peak_enabled = false;  // "Center peak": only while zoomed in (X-zoom above 1)
    common::ChannelScale plot_scale;   // where the plot's last drawing put the channels
    std::string pointer_channel;       // the channel under the pointer; blank when it is off the plot
    int first_channel_maximum = 1;   // "First channel" spin
    int channels_in_spectrum = 0;    // "Channels in spectrum" spin value
    int channels_in_spectrum_maximum = 0;
    bool redraw_request = false;
};

struct Converter {
    ConverterState state;
    ConverterPageState page;
    std::string program_folder;  // where a paste is stored when it is writable
};

enum class ConverterCommand {
    FindFile,            // "Find &file", File menu "&Load list or file"
    Reload,              // "&Reload"
    RecentFile,          // "&1." .. "&8."; argument: the entry
    Paste,               // "&Paste"
    HeaderSelection,     // "Spectrum headers"; argument: the 1-based entry
    SpinSelection,       // "Selected spectrum" spin; argument: its value
    EditHeader,          // "&Edit header"
    Trim,                // "Trim" check box; argument: 1 on, 0 off
    FirstChannel,        // "First channel"; argument: F
    ChannelsInSpectrum,  // "Channels in spectrum"; argument: L
    CenterPeak,
    SaveAs,      // "&Save as"
    AppendTo,    // "&Append to"
    MenuSaveAs,  // File menu "Save  &as"
    Log,
    Lin,
    Redraw,  // "R"
    XZoom,
    Scroll,
    NewList,
    OtherClicked,
    OtherSelection,
    OtherValue,
};

// Carries out one command of the page. `adder` gives the spectrum list that the
// File-menu save offers; `recent` are the recent converter files.
void SPECTCONV_APPLY_SUB(spectra::SpectrumStore& store, spectra::RawFileTable& files, Converter& converter,
                         adder::RecentFiles& recent, common::Ui& ui, common::Clipboard& clipboard,
                         ConverterCommand command, int argument = 0);

// The counts of channels first..last of a spectrum, truncated toward zero
// (or rounded, halves away from zero), as the converter writes them.
std::vector<double> window_counts(const std::vector<double>& counts, int first, int last, bool round);

// Whether a spectrum of `channels` channels may be appended to the file: to a
// missing or empty file, or to one whose spectra have as many channels. Else the
// text that says why not, naming both channel counts.
std::optional<std::string> append_mismatch(const std::string& path, int channels);

// Writes one spectrum in the converter's layout, as a new file or appended to
// one, each in one step; the result says why it could not be written.
common::SaveResult write_converted_spectrum(const std::string& path, const std::string& header,
                                            const std::vector<double>& counts, bool append,
                                            common::FileOps& ops = common::system_file_ops());

}  // namespace vorelbox::converter
