#pragma once
// The spectrum list plot of the Spectrum adder: every row of the list in its own
// colour, optionally their channel-by-channel sum and one row drawn as a thick
// line, with a legend of row letters. Drawn on the page, into a picture or on
// paper; choosing the picture file or the printer is the caller's part.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "adder_page.h"
#include "canvas.h"
#include "draw_spectrum.h"
#include "page_setup.h"

namespace vorelbox::display {

inline constexpr const char* NO_SPECTRUM_LIST = "No spectrum list to show";
inline constexpr const char* SUM_LEGEND = "Sum";
// The title of the save dialog of the list plot.
inline constexpr const char* LIST_PICTURE_DIALOG_TITLE = "Vorelix EMF Imagefile";
inline constexpr const char* NOTHING_PRINTED = "Nothing printed";

enum class PlotTarget { Show, Save, Print };

// The frame (x0, y0, x1, y1) a plot fills on its target: the whole canvas on the
// screen, 1024 x 768 in a picture, and on paper the width between the left and
// right margins from the top margin down, in the aspect 4:3.
struct Frame {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};
Frame plot_frame(PlotTarget target, const Canvas& canvas, const print::Margins& margins);

// Row colours: red, green, blue, magenta, olive, navy, violet, grey, then red again.
std::uint32_t list_row_colour(int row);
// The sum's colour value 7.
inline constexpr std::uint32_t SUM_COLOUR = 0x070000;

// The sideways shift of row i so that rows do not hide each other: 0, +1, -1,
// +2, -2, ... graph units when a channel is wider than 2 units, else 0.
int row_side_shift(int row, double pixels_per_channel, int unit);

// The channel window from the labels below the graph. Unset labels (the right
// one below the left one) give a zoomed window from the left label; then the
// window is kept inside 1..Nl.
struct ListWindow {
    ChannelRange range;
    std::optional<int> scroll_page;  // set when the window was made from unset labels
};
ListWindow list_window(int first_label, int last_label, int channels, int zoom_index);

// The legend entry of position i (1-based): the letter right-aligned ending at
// x, its top at y. Six entries to a column, one text height less 2 units apart;
// the sizes of the text are device units already.
Point legend_entry(int legend_left, int sum_width, int text_height, int unit, int top, int entry);
// Left edge of the legend for `entries` entries: a column of 60 units per six.
int legend_left(int right, int entries, int unit);

// The page values DRAW_SPECTRUM_LIST reads.
struct SpectrumListPlotPage {
    bool log_scale = false;
    int zoom_index = 0;
    int first_label = 0;  // the channel labels below the graph; 0: unset
    int last_label = 0;
    bool enhance_selected = false;
    bool show_sum = false;
};

// What it works out for others.
struct SpectrumListPlotResult {
    std::optional<ChannelRange> window;  // the channels shown, for the labels
    std::optional<int> scroll_page;
    double count_maximum = 0.0;
    double count_minimum = 0.0;
    int centre_peak = 0;          // row 1's peak channel, the "Center peak" centre
    std::vector<int> row_peaks;   // per row, the first channel with its largest count
    common::ChannelScale scale;   // where the channels were drawn; px 0 when they were not
};

SpectrumListPlotResult DRAW_SPECTRUM_LIST(Canvas& canvas, PlotTarget target, const adder::SpectrumList& list,
                                          const SpectrumListPlotPage& page, const print::PageSetup& setup);

// The default picture name: the input file's drive, folder and name, the numbers
// " 1,2 and 3" of the selected row (or of every row when none is selected), ".emf".
std::string spectrum_list_picture_name(const adder::AdderState& adder);

// The title a saved picture's description gives after the program's name: the
// name of the list file without folder and extension, or of the input file while
// the list has no file.
std::string spectrum_list_picture_title(const adder::AdderState& adder);

}  // namespace vorelbox::display
