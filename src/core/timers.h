#pragma once
// Deferred drawing: an event asks for a redraw by starting a short one-shot
// timer; a timer of a name is not started again while one is pending, so a burst
// of requests gives one drawing.

#include <functional>
#include <string_view>

#include "ui.h"

namespace vorelbox::core {

struct AppState;

class Timers {
public:
    virtual ~Timers() = default;
    // Starts a one-shot timer unless one of that name is pending; true when it started.
    // The pending mark is cleared before `work` runs.
    virtual bool start(std::string_view name, int milliseconds, std::function<void()> work) = 0;
    virtual bool pending(std::string_view name) const = 0;
    virtual void kill(std::string_view name) = 0;
};

// Timer names.
inline constexpr std::string_view TIMER_SPECTRUM = "TIMERPROCS";  // the selected spectrum of the active page
inline constexpr std::string_view TIMER_LIST = "TIMERPROCL";      // the adder's list
inline constexpr std::string_view TIMER_MULTI = "TIMERPROCM";     // the Multispectrum plot
inline constexpr std::string_view TIMER_FONT = "TIMERPROCF";      // the viewer's font

constexpr int REDRAW_DELAY_MS = 100;
constexpr int FOLLOW_UP_DELAY_MS = 10;

// What the timers finally do; the window supplies it.
struct Redraws {
    std::function<void()> draw_spectrum;      // the selected spectrum on the active program's page
    std::function<void()> draw_list;          // the spectrum list on the adder page
    std::function<void()> draw_multispectra;  // the Multispectrum plot
    std::function<void()> refont_viewer;      // the report font into the Text output page
};

// Asks for the redraw of the visible page (`tab` 1..3).
void REFRESH_GRAPH(const AppState& state, common::Ui& ui, Timers& timers, const Redraws& redraws, int tab);

// The single timer routines, each started only when none of its name is pending.
void start_spectrum_redraw(Timers& timers, const Redraws& redraws);
void start_list_redraw(Timers& timers, common::Ui& ui, const Redraws& redraws);
void start_multispectrum_redraw(Timers& timers, const Redraws& redraws);

}  // namespace vorelbox::core
