#include "adder_page_widget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "plot_window_controls.h"
#include "qt_ui.h"

namespace vorelbox::platform {
namespace {

using adder::AdderCommand;


QString shown(const std::string& text) {
    return QtUi::display_text(text);
}

QLineEdit* read_only_field(const char* name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    // Never narrower than a count of eight digits: a squeezed window must not cut one.
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) +
                           2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
    return field;
}

QLabel* caption(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

}  // namespace

AdderPageWidget::AdderPageWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("adderPage"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(build_input_group(), 0, 0);
    layout->addWidget(build_list_group(), 1, 0);
    layout->addWidget(build_display_group(), 0, 1, 2, 1);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    // The two display choices sit in different groups but exclude each other.
    auto* source = new QButtonGroup(this);
    source->addButton(display_selection_);
    source->addButton(display_list_);
    display_list_->setChecked(true);
}

QPushButton* AdderPageWidget::command_button(const QString& text, const char* name,
                                             AdderCommand cmd, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    on_click(button, cmd);
    return button;
}

void AdderPageWidget::on_click(QAbstractButton* button, AdderCommand cmd) {
    connect(button, &QAbstractButton::clicked, this, [this, cmd] { emit command(cmd, 0); });
}

QWidget* AdderPageWidget::build_input_group() {
    auto* group = new QGroupBox(tr("Input spectrum"), this);
    group->setObjectName(QStringLiteral("inputGroup"));
    auto* grid = new QGridLayout(group);

    input_file_ = read_only_field("inputFileEdit", group);
    grid->addWidget(caption(tr("Spectrum file"), group), 0, 0);
    grid->addWidget(input_file_, 0, 1, 1, 3);
    grid->addWidget(command_button(tr("&Paste"), "pasteButton", AdderCommand::Paste, group), 0, 4);
    grid->addWidget(command_button(tr("&Lookup"), "lookupButton", AdderCommand::Lookup, group), 0,
                    5);

    selection_ = new QComboBox(group);
    selection_->setObjectName(QStringLiteral("selectionCombo"));
    selection_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    grid->addWidget(caption(tr("Spectrum selection"), group), 1, 0);
    grid->addWidget(selection_, 1, 1, 1, 5);

    channels_ = read_only_field("channelsEdit", group);
    spectra_ = read_only_field("spectraEdit", group);
    grid->addWidget(caption(tr("Number of channels"), group), 2, 0);
    grid->addWidget(channels_, 2, 1);
    grid->addWidget(caption(tr("Number of spectra in file"), group), 2, 2);
    grid->addWidget(spectra_, 2, 3);

    spin_label_ = caption(tr("Selected spectrum"), group);
    spin_label_->setObjectName(QStringLiteral("selectedSpectrumLabel"));
    spin_ = new QSpinBox(group);
    spin_->setObjectName(QStringLiteral("selectedSpectrumSpin"));
    spin_->setRange(1, 1);
    spin_label_->setBuddy(spin_);
    include_ = command_button(tr("&Include"), "includeButton", AdderCommand::Include, group);
    include_all_ =
        command_button(tr("I&nclude all"), "includeAllButton", AdderCommand::IncludeAll, group);
    grid->addWidget(spin_label_, 3, 0);
    grid->addWidget(spin_, 3, 1);
    grid->addWidget(include_, 3, 4);
    grid->addWidget(include_all_, 3, 5);

    display_selection_ = new QRadioButton(tr("Display selection"), group);
    display_selection_->setObjectName(QStringLiteral("displaySelectionRadio"));
    on_click(display_selection_, AdderCommand::DisplaySelection);
    grid->addWidget(display_selection_, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    // The list and the spin name the same spectrum; each follows the other.
    connect(selection_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0) {
            return;
        }
        {
            const QSignalBlocker block(spin_);
            spin_->setValue(index + 1);
        }
        emit command(AdderCommand::SpectrumSelection, index + 1);
    });
    connect(spin_, &QSpinBox::valueChanged, this, [this](int value) {
        if (value >= 1 && value <= selection_->count()) {
            const QSignalBlocker block(selection_);
            selection_->setCurrentIndex(value - 1);
        }
        emit command(AdderCommand::SpectrumSelection, value);
    });
    return group;
}

QWidget* AdderPageWidget::build_list_group() {
    auto* group = new QGroupBox(tr("Spectrum list"), this);
    group->setObjectName(QStringLiteral("listGroup"));
    auto* column = new QVBoxLayout(group);

    table_ = new QTableWidget(0, 4, group);
    table_->setObjectName(QStringLiteral("listTable"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    column->addWidget(table_, 1);
    // Selecting a row enables the row commands and redraws the list with the row enhanced.
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit command(AdderCommand::ListSelection, 0); });

    auto* buttons = new QHBoxLayout;
    remove_ = command_button(tr("&Remove"), "removeButton", AdderCommand::Remove, group);
    remove_all_ =
        command_button(tr("Remo&ve All"), "removeAllButton", AdderCommand::RemoveAll, group);
    move_up_ = command_button(tr("Move &up"), "moveUpButton", AdderCommand::MoveUp, group);
    move_down_ = command_button(tr("Move &down"), "moveDownButton", AdderCommand::MoveDown, group);
    save_spectra_ =
        command_button(tr("S&ave spectra"), "saveSpectraButton", AdderCommand::SaveSpectra, group);
    for (QPushButton* b : {remove_, remove_all_, move_up_, move_down_, save_spectra_}) {
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    display_list_ = new QRadioButton(tr("Display list"), group);
    display_list_->setObjectName(QStringLiteral("displayListRadio"));
    on_click(display_list_, AdderCommand::DisplayList);
    buttons->addWidget(display_list_);
    column->addLayout(buttons);
    return group;
}

QWidget* AdderPageWidget::build_display_group() {
    auto* group = new QGroupBox(tr("Display"), this);
    group->setObjectName(QStringLiteral("displayGroup"));
    auto* column = new QVBoxLayout(group);

    const PlotWindowControls window =
        build_plot_window(group, column, QStringLiteral("firstChannelLabel"), QStringLiteral("lastChannelLabel"));
    plot_ = window.plot;
    first_channel_ = window.first;
    last_channel_ = window.last;
    scroll_ = window.scroll;
    log_ = window.log;
    lin_ = window.lin;
    zoom_ = window.zoom;
    on_click(log_, AdderCommand::Log);
    on_click(lin_, AdderCommand::Lin);
    on_click(window.redraw, AdderCommand::Redraw);

    auto* options = new QHBoxLayout;
    enhance_ = new QCheckBox(tr("Enhance selected"), group);
    enhance_->setObjectName(QStringLiteral("enhanceCheck"));
    show_sum_ = new QCheckBox(tr("Show sum spectrum"), group);
    show_sum_->setObjectName(QStringLiteral("showSumCheck"));
    on_click(enhance_, AdderCommand::EnhanceSelected);
    on_click(show_sum_, AdderCommand::ShowSum);
    channels_in_spectra_ = read_only_field("channelsInSpectraEdit", group);
    options->addWidget(enhance_);
    options->addWidget(show_sum_);
    options->addStretch(1);
    options->addWidget(caption(tr("Channels in spectra"), group));
    options->addWidget(channels_in_spectra_);
    options->addWidget(
        center_peak_ = command_button(tr("Center peak"), "centerPeakButton", AdderCommand::CenterPeak, group));
    column->addLayout(options);

    connect(zoom_, &QSlider::valueChanged, this,
            [this](int value) { emit command(AdderCommand::XZoom, value); });
    connect(scroll_, &QScrollBar::valueChanged, this,
            [this](int value) { emit command(AdderCommand::Scroll, value); });
    return group;
}

void AdderPageWidget::read_into(adder::AdderState& adder) const {
    adder::AdderPageState& page = adder.page;
    page.display_selection = display_selection_->isChecked();
    page.log_scale = log_->isChecked();
    page.enhance_selected = enhance_->isChecked();
    page.show_sum = show_sum_->isChecked();
    page.zoom_index = zoom_->value();
    page.scroll_position = scroll_->value();
    if (!spin_->isHidden()) {
        page.selected_input = spin_->value();
    } else if (selection_->currentIndex() >= 0) {
        page.selected_input = selection_->currentIndex() + 1;
    }

    int first_selected = 0;
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    for (const QModelIndex& index : rows) {
        if (first_selected == 0 || index.row() + 1 < first_selected) {
            first_selected = index.row() + 1;
        }
    }
    adder.list.selected_row = first_selected;
}

void AdderPageWidget::set_plot(std::function<void(display::Canvas&)> draw) {
    plot_->draw = std::move(draw);
    plot_->update();
}

void AdderPageWidget::render(const adder::AdderState& adder) {
    const adder::AdderPageState& page = adder.page;
    const QSignalBlocker block_page(this);
    const QSignalBlocker block_selection(selection_);
    const QSignalBlocker block_spin(spin_);

    input_file_->setText(shown(page.input_file_text));
    input_file_->setCursorPosition(0);
    selection_->clear();
    for (const std::string& item : page.selection_items) {
        selection_->addItem(shown(item));
    }
    selection_->setCurrentIndex(page.selected_input >= 1 &&
                                        page.selected_input <= selection_->count()
                                    ? page.selected_input - 1
                                    : -1);
    channels_->setText(shown(page.number_of_channels));
    spectra_->setText(shown(page.number_of_spectra));
    spin_->setRange(1, std::max(1, page.spin_maximum));
    spin_->setValue(page.selected_input);
    spin_label_->setVisible(page.spin_visible);
    spin_->setVisible(page.spin_visible);
    include_->setEnabled(page.include_enabled);
    include_all_->setEnabled(page.include_enabled);
    display_selection_->setChecked(page.display_selection);
    display_list_->setChecked(!page.display_selection);

    render_list(page.list_view);
    for (QPushButton* b : {remove_all_, save_spectra_}) {
        b->setEnabled(page.list_commands_enabled);
    }
    for (QPushButton* b : {remove_, move_up_, move_down_}) {
        b->setEnabled(page.row_commands_enabled);
    }

    (page.log_scale ? log_ : lin_)->setChecked(true);
    zoom_->setValue(page.zoom_index);
    center_peak_->setEnabled(page.center_peak_enabled);
    render_scroll(adder);
    const bool axis_known = page.last_displayed > 0;
    first_channel_->setText(axis_known ? QString::number(page.first_displayed) : QString());
    last_channel_->setText(axis_known ? QString::number(page.last_displayed) : QString());
    enhance_->setChecked(page.enhance_selected);
    show_sum_->setChecked(page.show_sum);
    channels_in_spectra_->setText(shown(page.channels_in_spectra));
}

void AdderPageWidget::render_list(const adder::ListView& view) {
    // The table is filled again only when its rows changed, so that a render
    // keeps where the user scrolled to.
    adder::ListView unselected = view;
    for (adder::ListViewRow& row : unselected.rows) {
        row.selected = false;
    }
    if (!shown_view_ || !(unselected == *shown_view_)) {
        fill_table(unselected);
        shown_view_ = std::move(unselected);
    }
    QItemSelection selected;
    for (std::size_t r = 0; r < view.rows.size(); ++r) {
        if (view.rows[r].selected) {
            const int line = static_cast<int>(r);
            selected.select(table_->model()->index(line, 0), table_->model()->index(line, table_->columnCount() - 1));
        }
    }
    if (selected.isEmpty()) {
        table_->clearSelection();
    } else {
        table_->selectionModel()->select(selected, QItemSelectionModel::ClearAndSelect);
        table_->scrollTo(selected.indexes().constFirst());
    }
}

void AdderPageWidget::fill_table(const adder::ListView& view) {
    table_->clearSelection();
    table_->setColumnCount(static_cast<int>(view.columns.size()));
    for (std::size_t c = 0; c < view.columns.size(); ++c) {
        const int column = static_cast<int>(c);
        table_->setHorizontalHeaderItem(column, new QTableWidgetItem(shown(view.columns[c])));
        // The columns follow their content; the last one, the path, takes the rest.
        table_->horizontalHeader()->setSectionResizeMode(
            column, c + 1 == view.columns.size() ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    }
    table_->setRowCount(static_cast<int>(view.rows.size()));
    for (std::size_t r = 0; r < view.rows.size(); ++r) {
        const adder::ListViewRow& row = view.rows[r];
        const int line = static_cast<int>(r);
        const std::array<const std::string*, 4> cells{&row.number, &row.header, &row.index,
                                                      &row.file};
        for (std::size_t c = 0; c < cells.size(); ++c) {
            table_->setItem(line, static_cast<int>(c), new QTableWidgetItem(shown(*cells[c])));
        }
        table_->item(line, 2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
}

void AdderPageWidget::render_scroll(const adder::AdderState& adder) {
    const adder::AdderPageState& page = adder.page;
    const QSignalBlocker block(scroll_);
    // The bar runs over the first displayed channel: 1 up to where the last
    // channel of the shown spectra comes to the right end.
    const int total = page.display_selection ? page.input_channels : adder.list.channels;
    const int shown_channels = std::max(1, page.displayed_channels);
    const int last_start = std::max(1, total - shown_channels + 1);
    scroll_->setRange(1, std::max(last_start, page.scroll_position));
    scroll_->setPageStep(shown_channels);
    scroll_->setSingleStep(std::max(1, shown_channels / 16));
    scroll_->setValue(page.scroll_position);
}

}  // namespace vorelbox::platform
