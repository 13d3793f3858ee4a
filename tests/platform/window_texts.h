#pragma once
// The texts a window's widgets cut: what a label, button, box, field, spin,
// tab or column header needs against what it shows. One line each, empty when
// everything fits.

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>
#include <QStyle>
#include <QTabBar>
#include <QWidget>

#include <algorithm>

namespace window_texts {

// A text as the widget shows it: a mnemonic "&" is not drawn.
inline QString shown_text(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    t.remove(QLatin1Char('&'));
    t.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return t;
}

inline int text_width(const QFontMetrics& fm, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, fm.horizontalAdvance(line));
    }
    return widest;
}

inline QString describe(const QWidget* w, const QString& text, int needed, int available) {
    return QStringLiteral("%1 \"%2\" (%3): needs %4 px, shows %5 px")
        .arg(QString::fromLatin1(w->metaObject()->className()), text, w->objectName())
        .arg(needed)
        .arg(available);
}

// The texts that the widgets of `window` cut, one line each.
inline QStringList cut_texts(const QWidget& window) {
    QStringList cut;
    const auto check = [&cut](const QWidget* w, const QString& text, int needed, int available) {
        if (!text.trimmed().isEmpty() && needed > available) {
            cut.append(describe(w, text, needed, available));
        }
    };
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->window() != &window) {
            continue;
        }
        const QFontMetrics fm = w->fontMetrics();
        const QStyle* style = w->style();
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            // A label that shortens a long text itself (the status bar's parts) shows it whole in a tool tip.
            if (label->wordWrap() || label->textFormat() == Qt::RichText || label->text().isEmpty() ||
                label->property("shortensText").toBool()) {
                continue;
            }
            const QString text = label->buddy() != nullptr ? shown_text(label->text()) : label->text();
            const int available = label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
            check(w, text, text_width(fm, text), available);
        } else if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            const QString text = shown_text(button->text());
            // The text is drawn inside the frame with a little room on each side.
            const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w) + 2;
            check(w, text, text_width(fm, text) + 2 * frame, button->width());
        } else if (qobject_cast<const QCheckBox*>(w) != nullptr || qobject_cast<const QRadioButton*>(w) != nullptr) {
            const auto* b = static_cast<const QAbstractButton*>(w);
            check(w, shown_text(b->text()), b->sizeHint().width(), b->width());
        } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
            const QString text = shown_text(group->title());
            check(w, text, text_width(fm, text) + 2 * fm.averageCharWidth(), group->width());
        } else if (const auto* field = qobject_cast<const QLineEdit*>(w)) {
            // Short values (numbers, channel counts) must show whole; paths may scroll.
            if (field->text().size() <= 12 && qobject_cast<const QSpinBox*>(w->parentWidget()) == nullptr) {
                const QMargins m = field->textMargins();
                const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
                check(w, field->text(), text_width(fm, field->text()) + m.left() + m.right() + 2 * frame + 4,
                      field->width());
            }
        } else if (const auto* spin = qobject_cast<const QSpinBox*>(w)) {
            const QString text = spin->text();
            check(w, text, text_width(fm, text), spin->findChild<QLineEdit*>()->width());
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                const QString text = shown_text(tabs->tabText(i));
                check(w, text, text_width(fm, text) + 8, tabs->tabRect(i).width());
            }
        } else if (const auto* header = qobject_cast<const QHeaderView*>(w)) {
            if (header->orientation() != Qt::Horizontal || header->model() == nullptr) {
                continue;
            }
            for (int i = 0; i < header->count(); ++i) {
                if (header->isSectionHidden(i)) {
                    continue;
                }
                const QString text = header->model()->headerData(i, Qt::Horizontal).toString();
                check(w, text, text_width(header->fontMetrics(), text) + 8, header->sectionSize(i));
            }
        }
    }
    return cut;
}

}  // namespace window_texts
