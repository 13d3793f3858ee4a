#include "multispectrum_page_widget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

#include "multispectrum_selection_dialog.h"
#include "qt_ui.h"

namespace vorelbox::platform {
namespace {

using display::MultiCommand;
using display::MultiControl;
using display::MultiReason;

constexpr int MAX_ZOOM_INDEX = 12;

QString shown(const std::string& text) {
    return QtUi::display_text(text);
}

QSlider* zoom_slider(Qt::Orientation orientation, const char* name, QWidget* parent) {
    auto* slider = new QSlider(orientation, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(0, MAX_ZOOM_INDEX);
    slider->setPageStep(1);
    slider->setTickPosition(orientation == Qt::Horizontal ? QSlider::TicksBelow
                                                          : QSlider::TicksLeft);
    return slider;
}

QLineEdit* channel_edit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaximumWidth(80);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QLabel* number_label(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumWidth(36);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// The scroll bars of the page are set as a range maximum with a page, the first
// position being the bar's minimum: its last position is where a page ends at the maximum.
void set_scroll(QScrollBar* bar, int minimum, int maximum, int page, int value) {
    const QSignalBlocker block(bar);
    const int last = std::max(minimum, maximum - std::max(1, page) + 1);
    bar->setRange(minimum, std::max(last, value));
    bar->setPageStep(std::max(1, page));
    bar->setSingleStep(std::max(1, page / 16));
    bar->setValue(value);
}

}  // namespace

MultispectrumPageWidget::MultispectrumPageWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("multispectrumPage"));
    auto* grid = new QGridLayout(this);

    auto* top = new QHBoxLayout;
    find_ = command_button(tr("Fi&nd spectra"), "findSpectraButton", MultiCommand::FindSpectra);
    select_ = command_button(tr("S&elect"), "selectButton", MultiCommand::Select);
    select_all_ = command_button(tr("Select &All"), "selectAllButton", MultiCommand::SelectAll);
    selected_ = number_label("selectedLabel", this);
    out_of_ = number_label("outOfLabel", this);
    auto* redraw = command_button(QStringLiteral("R"), "redrawButton", MultiCommand::Redraw);
    redraw->setToolTip(tr("Redraw"));
    top->addWidget(find_);
    top->addWidget(select_);
    top->addWidget(select_all_);
    top->addSpacing(12);
    top->addWidget(new QLabel(tr("Selected"), this));
    top->addWidget(selected_);
    top->addWidget(new QLabel(tr("out of"), this));
    top->addWidget(out_of_);
    top->addStretch(1);
    top->addWidget(redraw);
    grid->addLayout(top, 0, 0, 1, 2);

    plot_ = new PlotArea(this);
    plot_->setObjectName(QStringLiteral("multispectrumPlot"));
    plot_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    plot_->set_smallest_size(QSize(320, 240));
    plot_->setMouseTracking(true);
    grid->addWidget(plot_, 1, 0);

    // Right edge: "L" with its letters, the vertical zoom and the vertical scroll bar.
    auto* right = new QVBoxLayout;
    log_ = range_button(QStringLiteral("L"), "logButton", MultiControl::Log);
    log_->setCheckable(true);
    log_->setMaximumWidth(32);
    log_letters_ = new QLabel(this);
    log_letters_->setObjectName(QStringLiteral("logLetters"));
    log_letters_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    y_zoom_ = zoom_slider(Qt::Vertical, "yZoomSlider", this);
    y_scroll_ = new QScrollBar(Qt::Vertical, this);
    y_scroll_->setObjectName(QStringLiteral("yScroll"));
    // Upward is more: the bar runs from 999 at its top to 0 at its bottom.
    y_scroll_->setInvertedAppearance(true);
    y_scroll_->setInvertedControls(true);
    auto* vertical = new QHBoxLayout;
    vertical->addWidget(y_zoom_);
    vertical->addWidget(y_scroll_);
    right->addWidget(log_, 0, Qt::AlignHCenter);
    right->addWidget(log_letters_);
    right->addLayout(vertical, 1);
    grid->addLayout(right, 1, 1);

    auto* bottom = new QHBoxLayout;
    lower_ = channel_edit("lowerChannelEdit", this);
    upper_ = channel_edit("upperChannelEdit", this);
    x_scroll_ = new QScrollBar(Qt::Horizontal, this);
    x_scroll_->setObjectName(QStringLiteral("xScroll"));
    x_zoom_ = zoom_slider(Qt::Horizontal, "xZoomSlider", this);
    peak_ = range_button(tr("Peak"), "peakButton", MultiControl::Peak);
    whole_ = range_button(QStringLiteral("<--->"), "wholeButton", MultiControl::Whole);
    bottom->addWidget(lower_);
    bottom->addWidget(x_scroll_, 2);
    bottom->addWidget(upper_);
    bottom->addWidget(peak_);
    bottom->addWidget(whole_);
    bottom->addWidget(x_zoom_, 1);
    grid->addLayout(bottom, 2, 0, 1, 2);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);

    const auto changed = [this](MultiControl control) { emit range(control, MultiReason::Change); };
    connect(x_zoom_, &QSlider::valueChanged, this, [changed] { changed(MultiControl::XZoom); });
    connect(x_scroll_, &QScrollBar::valueChanged, this,
            [changed] { changed(MultiControl::XScroll); });
    connect(y_zoom_, &QSlider::valueChanged, this, [changed] { changed(MultiControl::YZoom); });
    connect(y_scroll_, &QScrollBar::valueChanged, this,
            [changed] { changed(MultiControl::YScroll); });
    connect(lower_, &QLineEdit::editingFinished, this,
            [changed] { changed(MultiControl::LowerChannel); });
    connect(upper_, &QLineEdit::editingFinished, this,
            [changed] { changed(MultiControl::UpperChannel); });

    selection_ = new MultispectrumSelectionDialog(this);
    connect(selection_, &MultispectrumSelectionDialog::chosen, this,
            [this](MultiCommand chosen) { emit command(chosen); });
}

QPushButton* MultispectrumPageWidget::command_button(const QString& text, const char* name,
                                                     MultiCommand cmd) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this, [this, cmd] { emit command(cmd); });
    return button;
}

QPushButton* MultispectrumPageWidget::range_button(const QString& text, const char* name,
                                                   MultiControl control) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this,
            [this, control] { emit range(control, MultiReason::Click); });
    return button;
}

void MultispectrumPageWidget::read_into(display::MultispectrumState& state) const {
    display::MultispectrumPage& page = state.page;
    page.lower_channel = lower_->text().toStdString();
    page.upper_channel = upper_->text().toStdString();
    page.x_zoom = x_zoom_->value();
    page.x_scroll = x_scroll_->value();
    page.y_zoom = y_zoom_->value();
    page.y_scroll = y_scroll_->value();
    page.log = log_->isChecked();
    page.highlighted = selection_->highlighted();
}

void MultispectrumPageWidget::render(const display::MultispectrumState& state) {
    const display::MultispectrumPage& page = state.page;
    const QSignalBlocker block_zoom(x_zoom_);
    const QSignalBlocker block_y_zoom(y_zoom_);
    const QSignalBlocker block_lower(lower_);
    const QSignalBlocker block_upper(upper_);

    lower_->setText(shown(page.lower_channel));
    upper_->setText(shown(page.upper_channel));
    x_zoom_->setValue(page.x_zoom);
    set_scroll(x_scroll_, 1, page.x_scroll_maximum, page.x_scroll_page, page.x_scroll);
    y_zoom_->setValue(page.y_zoom);
    set_scroll(y_scroll_, 0, display::Y_SCROLL_MAXIMUM, page.y_scroll_page, page.y_scroll);
    y_zoom_->setVisible(page.vertical_shown);
    y_scroll_->setVisible(page.vertical_shown);
    log_->setChecked(page.log);
    QString letters = shown(page.log_letters);
    letters.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    log_letters_->setText(letters);
    selected_->setText(QString::number(page.selected));
    out_of_->setText(QString::number(page.out_of));
    select_->setEnabled(page.select_enabled);
    select_all_->setEnabled(page.select_enabled);
    peak_->setEnabled(page.peak_enabled);
    whole_->setEnabled(page.peak_enabled);

    selection_->set_lines(page.selection_lines);
    if (page.selection_shown && !selection_->isVisible()) {
        selection_->set_highlighted(page.highlighted);
        selection_->show();
        selection_->raise();
    } else if (!page.selection_shown && selection_->isVisible()) {
        selection_->hide();
    }
}

void MultispectrumPageWidget::set_plot(std::function<void(display::Canvas&)> draw) {
    plot_->draw = std::move(draw);
    plot_->update();
}

}  // namespace vorelbox::platform
