#include "mouse_translator.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace vorelbox::platform {
namespace {

void take_modifiers(core::MouseEvent& out, Qt::KeyboardModifiers modifiers) {
    out.ctrl = modifiers.testFlag(Qt::ControlModifier);
    out.shift = modifiers.testFlag(Qt::ShiftModifier);
}

void take_position(core::MouseEvent& out, const QPointF& position, Qt::MouseButtons buttons) {
    const QPoint at = position.toPoint();
    out.x = at.x();
    out.y = at.y();
    out.left = buttons.testFlag(Qt::LeftButton);
    out.right = buttons.testFlag(Qt::RightButton);
}

}  // namespace

std::optional<core::MouseEvent> mouse_event(const QEvent& event, core::MouseArea area, int width, int height) {
    core::MouseEvent out;
    out.area = area;
    out.width = width;
    out.height = height;
    switch (event.type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            const auto& e = static_cast<const QMouseEvent&>(event);
            take_position(out, e.position(), e.buttons());
            take_modifiers(out, e.modifiers());
            if (event.type() == QEvent::MouseMove) {
                out.kind = core::MouseKind::Move;
                return out;
            }
            const bool release = event.type() == QEvent::MouseButtonRelease;
            // The second press of a double click is a press like the first.
            if (e.button() == Qt::LeftButton) {
                out.kind = release ? core::MouseKind::LeftUp : core::MouseKind::LeftDown;
            } else if (e.button() == Qt::RightButton) {
                out.kind = release ? core::MouseKind::RightUp : core::MouseKind::RightDown;
            } else {
                return std::nullopt;
            }
            return out;
        }
        case QEvent::Wheel: {
            const auto& e = static_cast<const QWheelEvent&>(event);
            if (e.angleDelta().y() == 0) {
                return std::nullopt;
            }
            take_position(out, e.position(), e.buttons());
            take_modifiers(out, e.modifiers());
            out.kind = core::MouseKind::Wheel;
            out.wheel = e.angleDelta().y();
            return out;
        }
        case QEvent::Leave:
        case QEvent::Hide:
        case QEvent::WindowDeactivate:
            out.kind = core::MouseKind::Leave;
            out.x = -1;
            out.y = -1;
            return out;
        default:
            return std::nullopt;
    }
}

MouseTranslator::MouseTranslator(QWidget* widget, core::MouseArea area, Handler handler, bool track)
    : QObject(widget), widget_(widget), area_(area), handler_(std::move(handler)) {
    if (track) {
        widget->setMouseTracking(true);
    }
    widget->installEventFilter(this);
}

bool MouseTranslator::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_ && handler_) {
        if (const std::optional<core::MouseEvent> mouse = mouse_event(*event, area_, widget_->width(), widget_->height())) {
            return handler_(*mouse);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vorelbox::platform
