#include "acquisition_pane_widget.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

#include <string>

#include "qt_ui.h"

namespace vorelbox::platform {
namespace {

QString shown(const std::string& text) { return QtUi::display_text(text); }

}  // namespace

AcquisitionPaneWidget::AcquisitionPaneWidget(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("acquisitionPane"));
    setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(this);
    const std::array<QString, 10> captions{tr("Format"),     tr("Instrument"), tr("Detector"),
                                           tr("Sample"),     tr("Start"),      tr("Real time"),
                                           tr("Live time"),  tr("Energy calibration"),
                                           tr("Calibration points"), tr("Spectra in file")};
    const std::array<const char*, 10> keys{"Format", "Instrument", "Detector", "Sample", "Start", "RealTime",
                                           "LiveTime", "Energy", "Points", "Spectra"};
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("acquisition") + QString::fromLatin1(keys[i]) + QStringLiteral("Edit"));
        field->setReadOnly(true);
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) +
                               2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
        auto* label = new QLabel(captions[i], this);
        label->setBuddy(field);
        grid->addWidget(label, static_cast<int>(i), 0);
        grid->addWidget(field, static_cast<int>(i), 1);
        fields_[i] = field;
    }
    grid->setColumnStretch(1, 1);
}

void AcquisitionPaneWidget::show_pane(const spectra::AcquisitionPane& p) {
    const std::array<std::string, 10> texts{p.format,
                                            p.instrument,
                                            p.detector,
                                            p.sample,
                                            p.start,
                                            spectra::seconds_text(p.real_time),
                                            spectra::seconds_text(p.live_time),
                                            spectra::coefficients_text(p.energy),
                                            spectra::points_text(p.points),
                                            p.spectra_in_file > 0 ? std::to_string(p.spectra_in_file) : ""};
    // A value longer than its field (calibration points, a long instrument
    // name) shows whole in the field's tool tip.
    const QString formula = tr("Energy = e0 + e1*chn + e2*chn^2 ..., channels counted from 0");
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const QString text = shown(texts[i]);
        fields_[i]->setText(text);
        fields_[i]->setCursorPosition(0);
        const QString tip = text.trimmed();
        fields_[i]->setToolTip(i == 7 ? (tip.isEmpty() ? formula : tip + QLatin1Char('\n') + formula) : tip);
    }
}

}  // namespace vorelbox::platform
