#pragma once
// Where the plots appear: the plot area of a page, and the pictures the plots are
// saved as.

#include <QSize>
#include <QWidget>

#include <functional>
#include <string>
#include <string_view>

#include "canvas.h"
#include "safe_file.h"

class QPaintEvent;
class QRegion;

namespace vorelbox::platform {

// The save dialog's filter for pictures, EMF first.
inline constexpr std::string_view PICTURE_FILE_FILTER =
    "EMF file (*.emf)|*.emf|PNG picture (*.png)|*.png|SVG picture (*.svg)|*.svg|PDF file "
    "(*.pdf)|*.pdf||";

// The size of a saved picture in device units.
inline constexpr int PICTURE_WIDTH = 1024;
inline constexpr int PICTURE_HEIGHT = 768;

using DrawPlot = std::function<void(display::Canvas&)>;

// A white area that shows a drawing at 50 units per cm, redrawn on every paint.
// It stays below the controls beside it: where a window too small for its
// layout makes them overlap the area, nothing of the drawing covers them.
class PlotArea : public QWidget {
    Q_OBJECT

  public:
    explicit PlotArea(QWidget* parent = nullptr);

    // What the area shows; nothing leaves it white. Call update() after a change.
    DrawPlot draw;

    // The part of the area that no other control of its parent covers.
    QRegion own_area() const;

    // The size a layout gives the area while there is room. Unlike a minimum
    // size it gives way when the window is smaller than its layout, so that
    // the area never grows over the controls around it.
    void set_smallest_size(const QSize& size);
    QSize minimumSizeHint() const override { return smallest_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QSize smallest_;
};

// Draws a 1024 × 768 picture into the file, its kind chosen by the extension (in
// either case): ".emf" an enhanced metafile at 40.96 units per cm whose description
// names the program and the title, ".png", ".svg" or ".pdf" (one page) at 50 units
// per cm. Written as every file is saved (see replace_file); for another
// extension, or when the picture cannot be drawn or written, nothing is written,
// a file already there stays as it was, and the result says why.
common::SaveResult save_picture(const DrawPlot& draw, const std::string& path, const std::string& program,
                                const std::string& title, common::FileOps& ops = common::system_file_ops());

}  // namespace vorelbox::platform
