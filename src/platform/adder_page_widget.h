#pragma once
// The "Spectrum adder" page: the input spectrum, the spectrum list and the display.
// The page holds no state of its own: read_into() copies the controls into the
// adder's state before a command, render() shows that state after it.

#include <QWidget>

#include <functional>
#include <optional>

#include "adder_page.h"
#include "plot_area.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QSpinBox;
class QTableWidget;

namespace vorelbox::platform {

class AdderPageWidget : public QWidget {
    Q_OBJECT

  public:
    explicit AdderPageWidget(QWidget* parent = nullptr);

    // The radios, check boxes, zoom slider, scroll bar and spectrum selection go
    // into adder.page; the first selected list row (1-based, 0 for none) into
    // adder.list.selected_row.
    void read_into(adder::AdderState& adder) const;

    // Shows the page state and the list view; emits no command.
    void render(const adder::AdderState& adder);

    // Installs what the plot area draws and repaints it.
    void set_plot(std::function<void(display::Canvas&)> draw);
    PlotArea* plot_area() const { return plot_; }

  signals:
    // A control was used. The argument is the chosen spectrum (1-based) for
    // SpectrumSelection and the new position for XZoom and Scroll; 0 otherwise.
    void command(vorelbox::adder::AdderCommand command, int argument);

  private:
    QWidget* build_input_group();
    QWidget* build_list_group();
    QWidget* build_display_group();
    QPushButton* command_button(const QString& text, const char* name, adder::AdderCommand cmd,
                                QWidget* parent);
    void on_click(QAbstractButton* button, adder::AdderCommand cmd);
    void render_list(const adder::ListView& view);
    void fill_table(const adder::ListView& view);
    void render_scroll(const adder::AdderState& adder);

    // "Input spectrum"
    QLineEdit* input_file_ = nullptr;
    QComboBox* selection_ = nullptr;
    QPushButton* include_ = nullptr;
    QPushButton* include_all_ = nullptr;
    QLineEdit* channels_ = nullptr;
    QLineEdit* spectra_ = nullptr;
    QLabel* spin_label_ = nullptr;
    QSpinBox* spin_ = nullptr;
    QRadioButton* display_selection_ = nullptr;
    // "Spectrum list"
    QTableWidget* table_ = nullptr;
    std::optional<adder::ListView> shown_view_;  // what the table holds, selection aside
    QPushButton* remove_ = nullptr;
    QPushButton* remove_all_ = nullptr;
    QPushButton* move_up_ = nullptr;
    QPushButton* move_down_ = nullptr;
    QPushButton* save_spectra_ = nullptr;
    QRadioButton* display_list_ = nullptr;
    // "Display"
    PlotArea* plot_ = nullptr;
    QPushButton* center_peak_ = nullptr;
    QRadioButton* log_ = nullptr;
    QRadioButton* lin_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QSlider* zoom_ = nullptr;
    QLabel* first_channel_ = nullptr;
    QLabel* last_channel_ = nullptr;
    QCheckBox* enhance_ = nullptr;
    QCheckBox* show_sum_ = nullptr;
    QLineEdit* channels_in_spectra_ = nullptr;
};

}  // namespace vorelbox::platform
