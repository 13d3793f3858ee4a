#pragma once
// The Multispectrum plot drawn on a canvas, and DRAW_MULTISPECTRA, which sends
// it to the page, into a picture file or onto paper.

#include <functional>
#include <string>
#include <string_view>

#include "canvas.h"
#include "draw_spectrum_list.h"
#include "multispectrum.h"
#include "page_setup.h"
#include "print_device.h"
#include "safe_file.h"
#include "ui.h"

namespace vorelbox::display {

// Paints the plot on a canvas for a target. The legend's place, the log top, the
// peak channel and the layout go back into the state.
void paint_multispectra(Canvas& canvas, PlotTarget target, MultispectrumState& state,
                        const print::PageSetup& setup);

// Writes a drawing as a picture file, its kind (EMF, PNG, SVG, PDF) chosen by the
// file's extension; the description names the program and the title. The
// result says why the file could not be written.
using PictureWriter =
    std::function<common::SaveResult(const std::string& path, const std::function<void(Canvas&)>& draw,
                                     std::string_view program, std::string_view title)>;

// Where DRAW_MULTISPECTRA draws.
struct MultiplotTargets {
    Canvas* screen = nullptr;             // Show
    PictureWriter write_picture;          // Save
    print::ChoosePrinter choose_printer;  // Print
};

// Draws the plot: Show on the screen canvas, Save into a picture file chosen
// with the save dialog, Print on the printer chosen in the print dialog
// ("Nothing printed" when it is cancelled). False when nothing was drawn.
bool DRAW_MULTISPECTRA(MultispectrumState& state, common::Ui& ui, PlotTarget target,
                       const print::PageSetup& setup, const MultiplotTargets& targets);

}  // namespace vorelbox::display
