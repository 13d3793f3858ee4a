#pragma once
// The "Multispectrum plot" page: spectra of one file on common axes, each a row of
// coloured markers, with a legend of their titles. The user picks the file ("&Find
// spectra"), the spectra ("&Select", "Select &All"), the channel window and the
// count scale; the same drawing goes to the page, into a picture file and onto
// paper. The page reads its file into a store of its own, so that drawing it never
// disturbs the spectra the adder and the converter work on.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"
#include "draw_spectrum_list.h"
#include "line_index.h"
#include "multispectrum_geometry.h"
#include "page_setup.h"
#include "print_device.h"
#include "raw_file.h"
#include "spectrum_store.h"
#include "ui.h"

namespace vorelbox::display {

constexpr int MULTI_SPECTRA = spectra::FILE_SPECTRA_COLUMNS;  // spectra a file can hold
constexpr int FIRST_DRAWN_SPECTRA = 6;  // drawn of a new file until the user selects
constexpr int Y_SCROLL_MAXIMUM = 999;

inline constexpr const char* MULTI_FILE_TITLE = "Vorelix Spectrum";
// The filter of "&Find spectra": native files first, then every other kind the
// page reads (see read_file in multispectrum_file.cpp), then all files.
std::string multi_file_filter();
inline constexpr const char* MULTI_PICTURE_TITLE = "Dorvakest EMF Imagefile";
// EMF first, then the other picture kinds the picture writer knows by extension.
inline constexpr const char* MULTI_PICTURE_FILTER =
    "EMF file (*.emf)|*.emf|PNG picture (*.png)|*.png|SVG picture (*.svg)|*.svg|PDF file "
    "(*.pdf)|*.pdf||";
inline constexpr const char* MULTI_PICTURE_EXTENSION = ".emf";  // for a name given without one
inline constexpr const char* PICTURE_PROGRAM = "Vorelix";
inline constexpr const char* SELECTION_DIALOG_TITLE = "Select spectra for multiplot";
inline constexpr const char* NO_GRAPHICS_DATA = "No graphics data to display";
inline constexpr const char* NO_ANALYSIS_SELECTED = "No analysis selected";
inline constexpr const char* RANGES_PROBLEM = "Problem in Multispectrum_Ranges_for_Vorelbox !!!";
inline constexpr const char* NOT_YET_PROGRAMMED = "Not yet programmed";
inline constexpr const char* LOG_LETTERS = "o\rg";  // below "L": completes "Log"
inline constexpr const char* LIN_LETTERS = "i\rn";  // completes "Lin"

// The controls of the page and of its selection dialog, as the Qt page shows them.
struct MultispectrumPage {
    std::string lower_channel = "1";  // channel edit, bottom left
    std::string upper_channel = "0";  // channel edit, bottom right
    int x_zoom = 0;                   // horizontal zoom slider, 0..12
    int x_scroll = 1;                 // horizontal scroll bar: the first channel shown
    int x_scroll_maximum = 1;         // its range 1..maximum and its page, as channels
    int x_scroll_page = 1;
    int y_zoom = 0;    // vertical zoom slider, 0..12
    int y_scroll = 0;  // vertical scroll bar, 0..999
    int y_scroll_page = Y_SCROLL_MAXIMUM;
    bool vertical_shown = true;  // the vertical slider and scroll bar (linear scale only)
    bool log = false;            // "L"
    std::string log_letters = LIN_LETTERS;
    int selected = 0;             // after "Selected"
    int out_of = 0;               // after "out of"
    bool select_enabled = false;  // "&Select" and "Select &All"
    bool peak_enabled = false;    // "Peak" and "<--->"
    // "Select spectra for multiplot"
    std::vector<std::string> selection_lines;
    std::vector<int> highlighted;  // the lines highlighted in its list, 1-based
    bool selection_shown = false;
};

// Where the last drawing put things; the mouse actions work with them.
struct MultiplotLayout {
    bool drawn = false;  // a plot with axes was drawn
    MultiFrame frame;
    int lo = 1;
    int hi = 0;
};

struct MultispectrumState {
    MultispectrumPage page;
    spectra::SpectrumStore store;  // the spectra of the shown file
    spectra::RawFileTable files;
    std::string file_name;           // full path of the shown file; empty: none chosen
    // The active program's file as the page last took it; the page follows that
    // file until "&Find spectra" chooses another, and again once it changes.
    std::string program_file;
    std::string file_type;           // its kind ("Dat", "Che", ...); empty when it was not read
    std::optional<FileStamp> stamp;  // the file as it was read; a changed file is read again
    std::array<bool, MULTI_SPECTRA> drawn{};   // spectrum i is drawn when drawn[i - 1]
    std::array<bool, MULTI_SPECTRA> dialog{};  // as the selection dialog left them
    bool user_selection = false;  // the user chose the drawn set; until then the first six
    std::array<double, MULTI_SPECTRA> maxima{};
    double count_maximum = 10.0;
    double log_top = 0.0;       // top of the logarithmic axis in decades, kept between drawings
    double peak_channel = 0.0;  // of spectrum 1, found by each drawing
    int peak_centre = 0;        // set by "Peak": the zoom centres on it while positive
    int window = 0;             // W: channels of the window at the present zoom
    int previous_scroll = 1;    // P0
    int y_zoom = 0;             // the vertical zoom and scroll as the range handler last read them
    int y_scroll = 0;
    int legend_left = 0;  // 0: placed by the next drawing; the mouse may move it
    int legend_bottom = 0;
    int lo = 1;  // the channel window last read from the edits
    int hi = 0;
    bool redraw_request = false;  // a redraw is asked for (the caller starts the timer)
    MultiplotLayout layout;
};

// S and Nc of the shown file.
inline int spectrum_count(const MultispectrumState& state) {
    return state.store.FILE_SPECTRUM_COUNT;
}
inline int channel_count(const MultispectrumState& state) {
    return state.store.CHANNEL_COUNT;
}

// A selection-dialog line: the number left-justified in 6 characters, a TAB, the title.
std::string selection_line(int spectrum, std::string_view title);

// The default picture name: drive, folder and name of the file, the drawn spectra's
// numbers " 1,2 and 3" (a single one " and 1"), ".emf".
std::string multiplot_picture_name(const std::string& file_name,
                                   const std::array<bool, MULTI_SPECTRA>& flags);

// The buttons of the page and of the selection dialog, and "R".
enum class MultiCommand {
    FindSpectra,
    Select,
    SelectAll,
    SelectionOk,
    SelectionAll,
    SelectionCancel,
    Redraw
};

// Reads a file for the page: its spectra, the first six drawn, the channel
// window 1..Nc, the selection lines, a redraw asked for. Any kind the program
// knows by its extension is identified; anything else is read as a native
// spectrum file. False, with "This is not a proper spectrum file", when it holds
// no channels.
bool load_multispectrum_file(MultispectrumState& state, common::Ui& ui,
                             const std::string& file_name);

// The click handler of the page's buttons and of the selection dialog. "R" asks
// for a redraw. The file chosen with "&Find spectra" may be of any kind.
void SETUPVORELBOXMULTISPECTRUM(MultispectrumState& state, common::Ui& ui, MultiCommand command);

// The tab page becomes visible. When the active program's file (given) differs
// from the one the page last took, the page shows it, or no file when the program
// has none; a file chosen with "&Find spectra" stays until then. Unless the user
// has chosen spectra the first six of the file are drawn. A redraw is asked for.
void enter_multispectrum_page(MultispectrumState& state, common::Ui& ui,
                              const std::string& program_file);

// The range controls. Refresh comes with control None from the redraw timer;
// a typed channel edit comes as a change of its edit.
enum class MultiControl {
    None,
    LowerChannel,
    UpperChannel,
    XZoom,
    XScroll,
    YZoom,
    YScroll,
    Peak,
    Whole,
    Log,
    Other
};
enum class MultiReason { Change, Click, Refresh, Other };

// Keeps the channel window, the zoom and the scroll bars consistent; asks for a
// redraw through redraw_request, and then clears the status bar's third field.
void MULTISPECTRUM_RANGES_FOR_VORELBOX(MultispectrumState& state, common::Ui& ui,
                                       MultiControl control, MultiReason reason);

// The steps of a drawing that read the file and set the page: the file is read
// again when it changed, the drawn set and the count maximum are brought up to
// date, and the numbers after "Selected" and "out of" are shown.
void prepare_multispectra(MultispectrumState& state, common::Ui& ui);

// Puts the channel window lo..hi into the state and the two channel edits.
void set_channel_edits(MultispectrumState& state, int lo, int hi);

}  // namespace vorelbox::display
