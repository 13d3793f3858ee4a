#pragma once
// One-shot timers by name on the Qt event loop.

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>
#include <string>

#include "timers.h"

namespace vorelbox::platform {

class QtTimers : public core::Timers {
public:
    bool start(std::string_view name, int milliseconds, std::function<void()> work) override;
    bool pending(std::string_view name) const override;
    void kill(std::string_view name) override;

private:
    std::map<std::string, std::unique_ptr<QTimer>, std::less<>> timers_;
};

}  // namespace vorelbox::platform
