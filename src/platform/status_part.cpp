#include "status_part.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace vorelbox::platform {

StatusPart::StatusPart(QWidget* parent) : QLabel(parent) {
    // The cut-text checks of the window take a shortened text with its tool tip as shown.
    setProperty("shortensText", true);
}

QString StatusPart::shown_text(int width) const {
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, width);
}

bool StatusPart::is_shortened() const { return shown_text(contentsRect().width()) != text(); }

QSize StatusPart::minimumSizeHint() const {
    // Room for a few characters: a longer text is shortened, not a reason to widen the window.
    const QSize whole = QLabel::minimumSizeHint();
    const int frame = width() - contentsRect().width();
    return {std::min(whole.width(), fontMetrics().horizontalAdvance(QStringLiteral("Ready...")) + frame),
            whole.height()};
}

void StatusPart::paintEvent(QPaintEvent* event) {
    if (!is_shortened()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = contentsRect();
    style()->drawItemText(&painter, room, static_cast<int>(alignment()), palette(), isEnabled(),
                          shown_text(room.width()), foregroundRole());
}

bool StatusPart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (is_shortened()) {
            QToolTip::showText(help->globalPos(), text(), this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QLabel::event(event);
}

}  // namespace vorelbox::platform
