#pragma once
// Timers for tests: nothing runs until the test moves the clock on.

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "timers.h"

namespace vorelbox::fakes {

class ManualClock : public core::Timers {
public:
    bool start(std::string_view name, int milliseconds, std::function<void()> work) override {
        if (pending(name)) {
            return false;
        }
        timers_.push_back({std::string(name), now_ + milliseconds, std::move(work)});
        return true;
    }
    bool pending(std::string_view name) const override {
        return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.name == name; });
    }
    void kill(std::string_view name) override {
        timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.name == name; }),
                      timers_.end());
    }
    // Moves the clock on, running every timer that falls due, in order.
    void advance(int milliseconds) {
        const long target = now_ + milliseconds;
        for (;;) {
            auto due = std::min_element(timers_.begin(), timers_.end(),
                                        [](const Timer& a, const Timer& b) { return a.at < b.at; });
            if (due == timers_.end() || due->at > target) {
                break;
            }
            now_ = due->at;
            Timer fired = std::move(*due);
            timers_.erase(due);
            fired.work();
        }
        now_ = target;
    }
    long now() const { return now_; }

private:
    struct Timer {
        std::string name;
        long at;
        std::function<void()> work;
    };
    long now_ = 0;
    std::vector<Timer> timers_;
};

}  // namespace vorelbox::fakes
