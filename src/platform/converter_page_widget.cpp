#include "converter_page_widget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "acquisition_pane_widget.h"
#include "plot_window_controls.h"
#include "qt_ui.h"

namespace vorelbox::platform {
namespace {

using converter::ConverterCommand;


QString shown(const std::string& text) {
    return QtUi::display_text(text);
}

// The FWHM calibration numbers, blank-separated.
QString joined(const std::vector<double>& numbers) {
    QStringList parts;
    for (const double value : numbers) {
        parts.append(QString::number(value, 'g', 10));
    }
    return parts.join(QLatin1Char(' '));
}

QLineEdit* read_only_field(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    // Never narrower than a count of eight digits: a squeezed window must not cut one.
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) +
                           2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
    return field;
}

QLabel* caption(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

void set_field(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setCursorPosition(0);
}

// Fills a column of captioned fields from `row` on; each field is named
// prefix + its key.
template <std::size_t N>
void add_fields(QGridLayout* grid, int row, const std::array<QString, N>& captions,
                const std::array<const char*, N>& keys, const QString& prefix,
                std::array<QLineEdit*, N>& fields, QWidget* parent) {
    for (std::size_t i = 0; i < N; ++i) {
        fields[i] = read_only_field(prefix + QString::fromLatin1(keys[i]), parent);
        const int line = row + static_cast<int>(i);
        grid->addWidget(caption(captions[i], parent), line, 0);
        grid->addWidget(fields[i], line, 1);
    }
}

}  // namespace

ConverterPageWidget::ConverterPageWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("converterPage"));
    auto* layout = new QGridLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(build_spectrum_group());
    left->addWidget(build_maestro_pane());
    left->addWidget(build_spe_pane());
    left->addWidget(build_tembra_pane());
    left->addWidget(acquisition_pane_ = new AcquisitionPaneWidget(this));
    left->addStretch(1);
    layout->addLayout(left, 0, 0);
    layout->addWidget(build_display_group(), 0, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    maestro_pane_->hide();
    spe_pane_->hide();
    tembra_pane_->hide();
    show_trim_controls(false);
}

QPushButton* ConverterPageWidget::command_button(const QString& text, const char* name,
                                                 ConverterCommand cmd, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    on_click(button, cmd);
    return button;
}

void ConverterPageWidget::on_click(QAbstractButton* button, ConverterCommand cmd) {
    connect(button, &QAbstractButton::clicked, this, [this, cmd] { send(cmd, 0); });
}

void ConverterPageWidget::send(ConverterCommand cmd, int argument) {
    flush_typed_channels();
    emit command(cmd, argument);
}

void ConverterPageWidget::flush_typed_channels() {
    if (first_channel_timer_->isActive()) {
        first_channel_timer_->stop();
        emit command(ConverterCommand::FirstChannel, first_channel_->value());
    }
    if (channels_in_spectrum_timer_->isActive()) {
        channels_in_spectrum_timer_->stop();
        emit command(ConverterCommand::ChannelsInSpectrum, channels_in_spectrum_->value());
    }
}

// A channel spin sends its value only after typing has paused; every change
// restarts the wait.
QSpinBox* ConverterPageWidget::paused_spin(const char* name, ConverterCommand cmd, QTimer*& timer,
                                           QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(1, 1);
    timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setInterval(CHANNEL_TYPING_PAUSE_MS);
    QTimer* pause = timer;
    connect(spin, &QSpinBox::valueChanged, pause, [pause] { pause->start(); });
    connect(pause, &QTimer::timeout, this, [this, spin, cmd] { emit command(cmd, spin->value()); });
    return spin;
}

QWidget* ConverterPageWidget::build_spectrum_group() {
    auto* group = new QGroupBox(tr("Spectrum"), this);
    group->setObjectName(QStringLiteral("spectrumGroup"));
    auto* grid = new QGridLayout(group);

    file_ = read_only_field(QStringLiteral("spectrumFileEdit"), group);
    modified_mark_ = new QLabel(QStringLiteral("*"), group);
    modified_mark_->setObjectName(QStringLiteral("modifiedMark"));
    QSizePolicy keep = modified_mark_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    modified_mark_->setSizePolicy(keep);
    modified_mark_->hide();
    auto* file_row = new QHBoxLayout;
    file_row->addWidget(file_, 1);
    file_row->addWidget(modified_mark_);
    grid->addWidget(caption(tr("Spectrum file"), group), 0, 0);
    grid->addLayout(file_row, 0, 1, 1, 3);
    grid->addWidget(
        command_button(tr("F&ind file"), "findFileButton", ConverterCommand::FindFile, group), 0,
        4);
    grid->addWidget(command_button(tr("&Paste"), "pasteButton", ConverterCommand::Paste, group), 0,
                    5);

    headers_ = new QComboBox(group);
    headers_->setObjectName(QStringLiteral("headersCombo"));
    headers_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    grid->addWidget(caption(tr("Spectrum headers"), group), 1, 0);
    grid->addWidget(headers_, 1, 1, 1, 5);

    type_ = read_only_field(QStringLiteral("spectrumTypeEdit"), group);
    grid->addWidget(caption(tr("Spectrum type"), group), 2, 0);
    grid->addWidget(type_, 2, 1, 1, 5);

    channels_ = read_only_field(QStringLiteral("channelsEdit"), group);
    spectra_ = read_only_field(QStringLiteral("spectraEdit"), group);
    grid->addWidget(caption(tr("Number of channels"), group), 3, 0);
    grid->addWidget(channels_, 3, 1);
    grid->addWidget(caption(tr("Number of spectra"), group), 3, 2);
    grid->addWidget(spectra_, 3, 3);

    selected_ = new QSpinBox(group);
    selected_->setObjectName(QStringLiteral("selectedSpectrumSpin"));
    selected_->setRange(1, 1);
    auto* selected_caption = caption(tr("Selected spectrum"), group);
    selected_caption->setBuddy(selected_);
    grid->addWidget(selected_caption, 4, 0);
    grid->addWidget(selected_, 4, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command_button(tr("&Edit header"), "editHeaderButton",
                                      ConverterCommand::EditHeader, group));
    buttons->addWidget(
        command_button(tr("&Reload"), "reloadButton", ConverterCommand::Reload, group));
    buttons->addStretch(1);
    buttons->addWidget(
        command_button(tr("Sa&ve as"), "saveAsButton", ConverterCommand::SaveAs, group));
    buttons->addWidget(
        command_button(tr("&Append to"), "appendToButton", ConverterCommand::AppendTo, group));
    grid->addLayout(buttons, 5, 0, 1, 6);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    // The list of headers and the spin name the same spectrum; each follows the other.
    connect(headers_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0) {
            return;
        }
        {
            const QSignalBlocker block(selected_);
            selected_->setValue(index + 1);
        }
        send(ConverterCommand::HeaderSelection, index + 1);
    });
    connect(selected_, &QSpinBox::valueChanged, this, [this](int value) {
        if (value >= 1 && value <= headers_->count()) {
            const QSignalBlocker block(headers_);
            headers_->setCurrentIndex(value - 1);
        }
        send(ConverterCommand::SpinSelection, value);
    });
    return group;
}

QWidget* ConverterPageWidget::build_display_group() {
    auto* group = new QGroupBox(tr("Display"), this);
    group->setObjectName(QStringLiteral("displayGroup"));
    auto* column = new QVBoxLayout(group);

    const PlotWindowControls window = build_plot_window(group, column, QStringLiteral("firstDisplayedLabel"),
                                                        QStringLiteral("lastDisplayedLabel"));
    plot_ = window.plot;
    first_displayed_ = window.first;
    last_displayed_ = window.last;
    scroll_ = window.scroll;
    log_ = window.log;
    lin_ = window.lin;
    zoom_ = window.zoom;
    on_click(log_, ConverterCommand::Log);
    on_click(lin_, ConverterCommand::Lin);
    on_click(window.redraw, ConverterCommand::Redraw);

    auto* peak_row = new QHBoxLayout;
    peak_channel_ = new QLabel(group);
    peak_channel_->setObjectName(QStringLiteral("peakChannelValue"));
    // Room for the largest channel number, so that the row does not move when the peak does.
    peak_channel_->setMinimumWidth(peak_channel_->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
    peak_row->addWidget(caption(tr("Peak channel"), group));
    peak_row->addWidget(peak_channel_);
    peak_row->addStretch(1);
    // The channel under the pointer while it is over the plot.
    pointer_channel_ = new QLabel(group);
    pointer_channel_->setObjectName(QStringLiteral("pointerChannelValue"));
    pointer_channel_->setToolTip(tr("Channel under the pointer"));
    pointer_channel_->setMinimumWidth(pointer_channel_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    peak_row->addWidget(pointer_channel_);
    center_peak_ = command_button(tr("Center peak"), "centerPeakButton", ConverterCommand::CenterPeak, group);
    peak_row->addWidget(center_peak_);
    column->addLayout(peak_row);

    auto* trim_row = new QHBoxLayout;
    trim_ = new QCheckBox(tr("Trim"), group);
    trim_->setObjectName(QStringLiteral("trimCheck"));
    connect(trim_, &QCheckBox::clicked, this, [this](bool checked) {
        show_trim_controls(checked);
        send(ConverterCommand::Trim, checked ? 1 : 0);
    });
    first_channel_label_ = caption(tr("First channel"), group);
    first_channel_label_->setObjectName(QStringLiteral("firstChannelLabel"));
    first_channel_ = paused_spin("firstChannelSpin", ConverterCommand::FirstChannel,
                                 first_channel_timer_, group);
    first_channel_label_->setBuddy(first_channel_);
    channels_in_spectrum_ =
        paused_spin("channelsInSpectrumSpin", ConverterCommand::ChannelsInSpectrum,
                    channels_in_spectrum_timer_, group);
    auto* length_caption = caption(tr("Channels in spectrum"), group);
    length_caption->setBuddy(channels_in_spectrum_);
    trim_row->addWidget(trim_);
    trim_row->addWidget(first_channel_label_);
    trim_row->addWidget(first_channel_);
    trim_row->addStretch(1);
    trim_row->addWidget(length_caption);
    trim_row->addWidget(channels_in_spectrum_);
    column->addLayout(trim_row);

    connect(zoom_, &QSlider::valueChanged, this,
            [this](int value) { send(ConverterCommand::XZoom, value); });
    connect(scroll_, &QScrollBar::valueChanged, this,
            [this](int value) { send(ConverterCommand::Scroll, value); });
    return group;
}

QWidget* ConverterPageWidget::build_maestro_pane() {
    auto* pane = new QFrame(this);
    pane->setObjectName(QStringLiteral("maestroPane"));
    pane->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(pane);
    add_fields<7>(grid, 0,
                  {tr("Detector number"), tr("Segment number"), tr("Date"), tr("Start time"),
                   tr("Real time"), tr("Live time"), tr("Detector")},
                  {"DetectorNumberEdit", "SegmentNumberEdit", "DateEdit", "StartTimeEdit",
                   "RealTimeEdit", "LiveTimeEdit", "DetectorEdit"},
                  QStringLiteral("maestro"), maestro_fields_, pane);

    auto* energy = new QGroupBox(tr("Energy calibration"), pane);
    energy->setObjectName(QStringLiteral("energyCalibrationGroup"));
    add_fields<3>(new QGridLayout(energy), 0,
                  {tr("Zero intercept"), tr("Slope"), tr("Quadratic term")},
                  {"ZeroEdit", "SlopeEdit", "QuadraticEdit"}, QStringLiteral("energy"),
                  maestro_energy_, energy);
    auto* shape = new QGroupBox(tr("Peak shape calibration"), pane);
    shape->setObjectName(QStringLiteral("shapeCalibrationGroup"));
    add_fields<2>(new QGridLayout(shape), 0, {tr("Zero intercept"), tr("Slope")},
                  {"ZeroEdit", "SlopeEdit"}, QStringLiteral("shape"), maestro_shape_, shape);
    auto* calibrations = new QHBoxLayout;
    calibrations->addWidget(energy);
    calibrations->addWidget(shape);
    grid->addLayout(calibrations, static_cast<int>(maestro_fields_.size()), 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return maestro_pane_ = pane;
}

QWidget* ConverterPageWidget::build_spe_pane() {
    auto* pane = new QFrame(this);
    pane->setObjectName(QStringLiteral("spePane"));
    pane->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(pane);
    add_fields<9>(
        grid, 0,
        {tr("Detector number"), tr("Segment number"), tr("Real time"), tr("Live time"),
         tr("Date and time"), tr("Detector"), tr("Factor a"), tr("Factor b"), tr("Factors")},
        {"DetectorNumberEdit", "SegmentNumberEdit", "RealTimeEdit", "LiveTimeEdit", "DateTimeEdit",
         "DetectorEdit", "FactorAEdit", "FactorBEdit", "FactorsEdit"},
        QStringLiteral("spe"), spe_fields_, pane);
    // The energy calibration the two factors make, beside them.
    auto* formula = caption(QStringLiteral("a + b*chn"), pane);
    formula->setObjectName(QStringLiteral("speFormulaLabel"));
    grid->addWidget(formula, 6, 2, 2, 1);
    grid->setColumnStretch(1, 1);
    return spe_pane_ = pane;
}

QWidget* ConverterPageWidget::build_tembra_pane() {
    auto* pane = new QFrame(this);
    pane->setObjectName(QStringLiteral("tembraPane"));
    pane->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(pane);
    add_fields<5>(grid, 0, {tr("File"), tr("Sample"), tr("Date"), tr("E (keV)"), tr("Temp")},
                  {"FileEdit", "SampleEdit", "DateEdit", "EnergyEdit", "TempEdit"},
                  QStringLiteral("tembra"), tembra_fields_, pane);
    grid->setColumnStretch(1, 1);
    return tembra_pane_ = pane;
}

void ConverterPageWidget::show_trim_controls(bool shown) {
    first_channel_label_->setVisible(shown);
    first_channel_->setVisible(shown);
}

void ConverterPageWidget::read_into(converter::Converter& converter) const {
    converter::ConverterPageState& page = converter.page;
    page.log_scale = log_->isChecked();
    page.zoom_index = zoom_->value();
    page.scroll_position = scroll_->value();
}

void ConverterPageWidget::set_plot(std::function<void(display::Canvas&)> draw) {
    plot_->draw = std::move(draw);
    plot_->update();
}

void ConverterPageWidget::show_pointer_channel(const std::string& channel) {
    const QString text = shown(channel);
    if (pointer_channel_->text() != text) {
        pointer_channel_->setText(text);
    }
}

void ConverterPageWidget::render(const converter::Converter& converter) {
    const converter::ConverterState& state = converter.state;
    const converter::ConverterPageState& page = converter.page;
    const QSignalBlocker block_page(this);
    const QSignalBlocker block_headers(headers_);
    const QSignalBlocker block_selected(selected_);
    const QSignalBlocker block_first(first_channel_);
    const QSignalBlocker block_length(channels_in_spectrum_);
    const QSignalBlocker block_zoom(zoom_);

    set_field(file_, shown(page.file_text));
    modified_mark_->setVisible(page.modified_mark);
    headers_->clear();
    for (const std::string& header : state.headers) {
        headers_->addItem(shown(header));
    }
    headers_->setCurrentIndex(
        state.selected >= 1 && state.selected <= headers_->count() ? state.selected - 1 : -1);
    set_field(type_, shown(state.type_text));
    set_field(channels_, shown(page.number_of_channels));
    set_field(spectra_, shown(page.number_of_spectra));
    selected_->setRange(1, std::max(1, page.spin_maximum));
    selected_->setValue(state.selected);

    (page.log_scale ? log_ : lin_)->setChecked(true);
    zoom_->setValue(page.zoom_index);
    center_peak_->setEnabled(page.center_peak_enabled);
    render_scroll(converter);
    const bool axis_known = page.last_displayed > 0;
    first_displayed_->setText(axis_known ? QString::number(page.first_displayed) : QString());
    last_displayed_->setText(axis_known ? QString::number(page.last_displayed) : QString());
    peak_channel_->setText(shown(page.peak_channel));
    show_pointer_channel(page.pointer_channel);

    trim_->setChecked(state.trim);
    show_trim_controls(state.trim);
    // A channel number still waiting for its pause is what the user is typing:
    // it stays, and is sent when the pause ends.
    if (!first_channel_timer_->isActive()) {
        first_channel_->setRange(1, std::max(1, page.first_channel_maximum));
        first_channel_->setValue(state.first);
    }
    if (!channels_in_spectrum_timer_->isActive()) {
        const int length_maximum = std::max(0, page.channels_in_spectrum_maximum);
        channels_in_spectrum_->setRange(std::min(1, length_maximum), length_maximum);
        channels_in_spectrum_->setValue(page.channels_in_spectrum);
    }

    render_panes(state);
}

void ConverterPageWidget::render_panes(const converter::ConverterState& state) {
    maestro_pane_->setVisible(state.maestro.has_value());
    spe_pane_->setVisible(!state.maestro && state.spe.has_value());
    tembra_pane_->setVisible(!state.maestro && !state.spe && state.tembra.has_value());
    acquisition_pane_->setVisible(!state.maestro && !state.spe && !state.tembra && state.foreign.has_value());
    if (state.foreign) {
        acquisition_pane_->show_pane(spectra::pane_of_spectrum(*state.foreign, state.selected));
    }

    if (state.maestro) {
        const spectra::MaestroPane& m = *state.maestro;
        const std::array<QString, 7> texts{QString::number(m.detector_number),
                                           QString::number(m.segment_number),
                                           shown(m.date),
                                           shown(m.start_time),
                                           shown(m.real_time),
                                           shown(m.live_time),
                                           shown(m.detector)};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            set_field(maestro_fields_[i], texts[i]);
        }
        for (std::size_t i = 0; i < maestro_energy_.size(); ++i) {
            set_field(maestro_energy_[i], shown(m.energy[i]));
        }
        for (std::size_t i = 0; i < maestro_shape_.size(); ++i) {
            set_field(maestro_shape_[i], shown(m.shape[i]));
        }
    }
    if (state.spe) {
        const spectra::SpePane& s = *state.spe;
        const std::array<QString, 9> texts{
            shown(s.detector_number), shown(s.segment_number), shown(s.real_time),
            shown(s.live_time),       shown(s.date_and_time),  shown(s.detector),
            shown(s.factor_a),        shown(s.factor_b),       joined(s.factors)};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            set_field(spe_fields_[i], texts[i]);
        }
    }
    if (state.tembra) {
        const spectra::TembraPane& t = *state.tembra;
        const std::array<QString, 5> texts{shown(t.file), shown(t.sample), shown(t.date),
                                           shown(t.energy), shown(t.temp)};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            set_field(tembra_fields_[i], texts[i]);
        }
    }
}

void ConverterPageWidget::render_scroll(const converter::Converter& converter) {
    const converter::ConverterPageState& page = converter.page;
    const QSignalBlocker block(scroll_);
    // The bar runs over the first displayed channel: 1 up to where the last
    // channel of the spectrum comes to the right end.
    const int shown_channels =
        page.last_displayed > 0 ? page.last_displayed - page.first_displayed + 1 : 1;
    const int last_start = std::max(1, converter.state.channels - shown_channels + 1);
    scroll_->setRange(1, std::max(last_start, page.scroll_position));
    scroll_->setPageStep(shown_channels);
    scroll_->setSingleStep(std::max(1, shown_channels / 16));
    scroll_->setValue(page.scroll_position);
}

}  // namespace vorelbox::platform
