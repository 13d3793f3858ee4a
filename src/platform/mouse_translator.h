#pragma once
// Hands the mouse events of a widget to the program's mouse routine: each Qt
// event becomes a core::MouseEvent of the widget's area. Leaving the widget,
// hiding it and the window losing the focus all arrive as Leave, so that a drag
// never outlives them.

#include <QObject>

#include <functional>
#include <optional>

#include "mouse.h"

class QEvent;
class QWidget;

namespace vorelbox::platform {

// The program's event for a Qt event on a widget of `size` in `area`; nothing
// for events that are not the mouse's.
std::optional<core::MouseEvent> mouse_event(const QEvent& event, core::MouseArea area, int width, int height);

class MouseTranslator : public QObject {
  public:
    // Returns whether the event was used; a used event goes no further.
    using Handler = std::function<bool(const core::MouseEvent&)>;

    // Watches `widget` from now on; with `track` its moves arrive without a
    // button held too.
    MouseTranslator(QWidget* widget, core::MouseArea area, Handler handler, bool track = true);

    // From now on events pass by unseen: the owner of the handler is going away.
    void detach() { handler_ = nullptr; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* widget_;
    core::MouseArea area_;
    Handler handler_;
};

}  // namespace vorelbox::platform
