#include "plot_window_controls.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

#include "plot_area.h"
#include "zoom.h"

namespace vorelbox::platform {

PlotWindowControls build_plot_window(QWidget* group, QVBoxLayout* column, const QString& first_label_name,
                                     const QString& last_label_name) {
    PlotWindowControls c;
    c.plot = new PlotArea(group);
    c.plot->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    c.plot->set_smallest_size(QSize(240, 160));
    column->addWidget(c.plot, 1);

    auto* axis = new QHBoxLayout;
    c.first = new QLabel(group);
    c.first->setObjectName(first_label_name);
    c.last = new QLabel(group);
    c.last->setObjectName(last_label_name);
    c.last->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for any channel number, so that a longer one is never cut.
    for (QLabel* label : {c.first, c.last}) {
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
    }
    c.scroll = new QScrollBar(Qt::Horizontal, group);
    c.scroll->setObjectName(QStringLiteral("displayScroll"));
    c.scroll->setRange(1, 1);
    axis->addWidget(c.first);
    axis->addWidget(c.scroll, 1);
    axis->addWidget(c.last);
    column->addLayout(axis);

    auto* scale_row = new QHBoxLayout;
    c.log = new QRadioButton(QStringLiteral("  log"), group);
    c.log->setObjectName(QStringLiteral("logRadio"));
    c.lin = new QRadioButton(QStringLiteral("  lin"), group);
    c.lin->setObjectName(QStringLiteral("linRadio"));
    c.lin->setChecked(true);
    // The log/lin pair excludes each other and nothing else.
    auto* scale = new QButtonGroup(group);
    scale->addButton(c.log);
    scale->addButton(c.lin);
    c.redraw = new QPushButton(QStringLiteral("R"), group);
    c.redraw->setObjectName(QStringLiteral("redrawButton"));
    c.redraw->setToolTip(QObject::tr("Redraw"));
    c.zoom = new QSlider(Qt::Horizontal, group);
    c.zoom->setObjectName(QStringLiteral("zoomSlider"));
    c.zoom->setRange(0, static_cast<int>(common::ZOOM_FACTORS.size()) - 1);
    c.zoom->setPageStep(1);
    c.zoom->setTickPosition(QSlider::TicksBelow);
    auto* zoom_caption = new QLabel(QObject::tr("X-zoom"), group);
    zoom_caption->setBuddy(c.zoom);
    scale_row->addWidget(c.log);
    scale_row->addWidget(c.lin);
    scale_row->addWidget(c.redraw);
    scale_row->addSpacing(12);
    scale_row->addWidget(zoom_caption);
    scale_row->addWidget(c.zoom, 1);
    column->addLayout(scale_row);
    return c;
}

}  // namespace vorelbox::platform
