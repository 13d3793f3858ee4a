#pragma once
// The "Multispectrum plot" page: the plot area with its channel edits, zoom
// sliders and scroll bars, "L" with the letters that complete "Log" or "Lin",
// "Peak", "<--->", "R", "&Find spectra", "&Select", "Select &All", "Selected" n
// "out of" m, and the selection dialog. Like the other pages it holds no state:
// read_into() copies the controls into the page state before a command, render()
// shows the page state after it.

#include <QWidget>

#include <functional>

#include "multispectrum.h"
#include "plot_area.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSlider;

namespace vorelbox::platform {

class MultispectrumSelectionDialog;

class MultispectrumPageWidget : public QWidget {
    Q_OBJECT

  public:
    explicit MultispectrumPageWidget(QWidget* parent = nullptr);

    // The channel edits, sliders, scroll bars, "L" and the lines highlighted in
    // the selection dialog go into state.page.
    void read_into(display::MultispectrumState& state) const;

    // Shows the page state, the selection dialog included; emits nothing.
    void render(const display::MultispectrumState& state);

    // Installs what the plot area draws and repaints it.
    void set_plot(std::function<void(display::Canvas&)> draw);
    PlotArea* plot_area() const { return plot_; }
    MultispectrumSelectionDialog* selection_dialog() const { return selection_; }

  signals:
    // A button of the page or of the selection dialog, or "R".
    void command(vorelbox::display::MultiCommand command);
    // A range control: a slider or scroll bar moved, a channel edit left
    // (both a change), "Peak", "<--->" or "L" clicked.
    void range(vorelbox::display::MultiControl control, vorelbox::display::MultiReason reason);

  private:
    QPushButton* command_button(const QString& text, const char* name,
                                display::MultiCommand command);
    QPushButton* range_button(const QString& text, const char* name, display::MultiControl control);

    PlotArea* plot_ = nullptr;
    QPushButton* find_ = nullptr;
    QPushButton* select_ = nullptr;
    QPushButton* select_all_ = nullptr;
    QLabel* selected_ = nullptr;
    QLabel* out_of_ = nullptr;
    QLineEdit* lower_ = nullptr;
    QLineEdit* upper_ = nullptr;
    QScrollBar* x_scroll_ = nullptr;
    QSlider* x_zoom_ = nullptr;
    QSlider* y_zoom_ = nullptr;
    QScrollBar* y_scroll_ = nullptr;
    QPushButton* log_ = nullptr;
    QLabel* log_letters_ = nullptr;
    QPushButton* peak_ = nullptr;
    QPushButton* whole_ = nullptr;
    MultispectrumSelectionDialog* selection_ = nullptr;
};

}  // namespace vorelbox::platform
