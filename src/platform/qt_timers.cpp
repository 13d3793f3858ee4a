#include "qt_timers.h"

namespace vorelbox::platform {

bool QtTimers::start(std::string_view name, int milliseconds, std::function<void()> work) {
    if (pending(name)) {
        return false;
    }
    auto found = timers_.find(name);
    if (found == timers_.end()) {
        auto timer = std::make_unique<QTimer>();
        timer->setSingleShot(true);
        found = timers_.emplace(std::string(name), std::move(timer)).first;
    }
    QTimer* timer = found->second.get();
    // The timer object stays for the whole run; only its work is replaced, so
    // that a work may start its own timer again.
    QObject::disconnect(timer, &QTimer::timeout, nullptr, nullptr);
    QObject::connect(timer, &QTimer::timeout, timer, [work = std::move(work)] { work(); });
    timer->start(milliseconds);
    return true;
}

bool QtTimers::pending(std::string_view name) const {
    const auto found = timers_.find(name);
    return found != timers_.end() && found->second->isActive();
}

void QtTimers::kill(std::string_view name) {
    const auto found = timers_.find(name);
    if (found != timers_.end()) {
        found->second->stop();
    }
}

}  // namespace vorelbox::platform
