#pragma once
// A part of the status bar. A text wider than the part is shown shortened in
// the middle ("Canberra CNF file [0112…W.cnf] loaded"), and whole in its tool
// tip; a long file name neither widens the window nor is cut off at the end.

#include <QLabel>

namespace vorelbox::platform {

class StatusPart : public QLabel {
  public:
    explicit StatusPart(QWidget* parent = nullptr);

    // The text as drawn in `width` pixels of the part's font.
    QString shown_text(int width) const;
    // Whether the text is shown shortened now.
    bool is_shortened() const;

    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

}  // namespace vorelbox::platform
