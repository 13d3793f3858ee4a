#pragma once
// The controls under a page's plot that set its channel window: the plot area,
// the first and last channel labels around the scroll bar, "  log" / "  lin",
// "R" and the "X-zoom" slider. The pages connect them to their own commands.

#include <QString>

class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QVBoxLayout;
class QWidget;

namespace vorelbox::platform {

class PlotArea;

struct PlotWindowControls {
    PlotArea* plot = nullptr;
    QLabel* first = nullptr;
    QLabel* last = nullptr;
    QScrollBar* scroll = nullptr;
    QRadioButton* log = nullptr;
    QRadioButton* lin = nullptr;  // checked at first
    QPushButton* redraw = nullptr;
    QSlider* zoom = nullptr;
};

// Builds the controls into `column` of `group`; the channel labels get the names given.
PlotWindowControls build_plot_window(QWidget* group, QVBoxLayout* column, const QString& first_label_name,
                                     const QString& last_label_name);

}  // namespace vorelbox::platform
