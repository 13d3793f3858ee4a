#pragma once
// The "Spectrum converter" page: the spectrum file and its spectra, the display
// with the trimming window, and the acquisition data of the file read (Maestro,
// ".spe" or Tembra). Like the adder page it holds no state of its own:
// read_into() copies the display controls into the converter before a command,
// render() shows the converter after it.

#include <QWidget>

#include <array>
#include <functional>

#include "converter_page.h"
#include "plot_area.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QSpinBox;
class QTimer;

namespace vorelbox::platform {

class AcquisitionPaneWidget;

class ConverterPageWidget : public QWidget {
    Q_OBJECT

  public:
    // How long a typed channel number waits before it is sent.
    static constexpr int CHANNEL_TYPING_PAUSE_MS = 500;

    explicit ConverterPageWidget(QWidget* parent = nullptr);

    // The log/lin choice, the zoom position and the scroll position go into
    // converter.page.
    void read_into(converter::Converter& converter) const;

    // Shows the converter's state; emits no command. A channel number still
    // waiting for its pause is kept as typed, and sent when the pause ends.
    void render(const converter::Converter& converter);

    // Installs what the plot area draws and repaints it.
    void set_plot(std::function<void(display::Canvas&)> draw);
    PlotArea* plot_area() const { return plot_; }

    // The channel under the pointer, or blank; cheaper than render() for every move.
    void show_pointer_channel(const std::string& channel);

  signals:
    // A control was used. The argument is the 1-based item for HeaderSelection,
    // the spin value for SpinSelection, FirstChannel and ChannelsInSpectrum, 1/0
    // for Trim, the new position for XZoom and Scroll; 0 otherwise.
    void command(vorelbox::converter::ConverterCommand command, int argument);

  private:
    QWidget* build_spectrum_group();
    QWidget* build_display_group();
    QWidget* build_maestro_pane();
    QWidget* build_spe_pane();
    QWidget* build_tembra_pane();
    QPushButton* command_button(const QString& text, const char* name,
                                converter::ConverterCommand cmd, QWidget* parent);
    void on_click(QAbstractButton* button, converter::ConverterCommand cmd);
    QSpinBox* paused_spin(const char* name, converter::ConverterCommand cmd, QTimer*& timer,
                          QWidget* parent);
    // Sends a command, after any channel number still waiting for its pause.
    void send(converter::ConverterCommand cmd, int argument);
    void flush_typed_channels();
    void show_trim_controls(bool shown);
    void render_panes(const converter::ConverterState& state);
    void render_scroll(const converter::Converter& converter);

    // "Spectrum"
    QLineEdit* file_ = nullptr;
    QLabel* modified_mark_ = nullptr;
    QComboBox* headers_ = nullptr;
    QLineEdit* type_ = nullptr;
    QLineEdit* channels_ = nullptr;
    QLineEdit* spectra_ = nullptr;
    QSpinBox* selected_ = nullptr;
    // "Display"
    PlotArea* plot_ = nullptr;
    QRadioButton* log_ = nullptr;
    QRadioButton* lin_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QSlider* zoom_ = nullptr;
    QLabel* first_displayed_ = nullptr;
    QLabel* last_displayed_ = nullptr;
    QLabel* peak_channel_ = nullptr;
    QLabel* pointer_channel_ = nullptr;
    QPushButton* center_peak_ = nullptr;
    QCheckBox* trim_ = nullptr;
    QLabel* first_channel_label_ = nullptr;
    QSpinBox* first_channel_ = nullptr;
    QSpinBox* channels_in_spectrum_ = nullptr;
    QTimer* first_channel_timer_ = nullptr;
    QTimer* channels_in_spectrum_timer_ = nullptr;
    // The acquisition panes
    QWidget* maestro_pane_ = nullptr;
    QWidget* spe_pane_ = nullptr;
    QWidget* tembra_pane_ = nullptr;
    AcquisitionPaneWidget* acquisition_pane_ = nullptr;  // the other instruments' kinds
    // Maestro: detector number, segment number, date, start time, real time,
    // live time, detector; energy zero, slope, quadratic term; shape zero, slope.
    std::array<QLineEdit*, 7> maestro_fields_{};
    std::array<QLineEdit*, 3> maestro_energy_{};
    std::array<QLineEdit*, 2> maestro_shape_{};
    // ".spe": detector number, segment number, real time, live time, date and
    // time, detector, factor a, factor b, factors.
    std::array<QLineEdit*, 9> spe_fields_{};
    // Tembra: file, sample, date, E (keV), temp.
    std::array<QLineEdit*, 5> tembra_fields_{};
};

}  // namespace vorelbox::platform
