#pragma once
// The acquisition pane of the files of other instruments (Canberra CNF, N42,
// Amptek MCA, IEC 61455, TKA, column text): one read-only field a fact, blank
// where the file does not hold it.

#include <QFrame>

#include <array>

#include "foreign_spectra.h"

class QLineEdit;

namespace vorelbox::platform {

class AcquisitionPaneWidget : public QFrame {
public:
    explicit AcquisitionPaneWidget(QWidget* parent = nullptr);
    void show_pane(const spectra::AcquisitionPane& pane);

private:
    // Format, instrument, detector, sample, start, real time, live time, energy
    // calibration, calibration points, spectra in the file.
    std::array<QLineEdit*, 10> fields_{};
};

}  // namespace vorelbox::platform
