#include "timers.h"

#include "app_state.h"

namespace vorelbox::core {

void start_spectrum_redraw(Timers& timers, const Redraws& redraws) {
    timers.start(TIMER_SPECTRUM, REDRAW_DELAY_MS, [&redraws] {
        if (redraws.draw_spectrum) {
            redraws.draw_spectrum();
        }
    });
}

void start_list_redraw(Timers& timers, common::Ui& ui, const Redraws& redraws) {
    timers.start(TIMER_LIST, REDRAW_DELAY_MS, [&ui, &redraws] {
        // While a warning is on screen the list is not drawn.
        if (!ui.warning_open() && redraws.draw_list) {
            redraws.draw_list();
        }
    });
}

void start_multispectrum_redraw(Timers& timers, const Redraws& redraws) {
    timers.start(TIMER_MULTI, REDRAW_DELAY_MS, [&redraws] {
        if (redraws.draw_multispectra) {
            redraws.draw_multispectra();
        }
    });
}

void REFRESH_GRAPH(const AppState& state, common::Ui& ui, Timers& timers, const Redraws& redraws, int tab) {
    if (state.adder_active()) {
        if (state.adder.page.display_selection) {
            start_spectrum_redraw(timers, redraws);
        } else {
            start_list_redraw(timers, ui, redraws);
        }
        return;
    }
    if (state.converter_active()) {
        start_spectrum_redraw(timers, redraws);
        return;
    }
    if (tab == 3) {
        start_multispectrum_redraw(timers, redraws);
    } else if (tab == 2) {
        timers.start(TIMER_FONT, REDRAW_DELAY_MS, [&redraws] {
            if (redraws.refont_viewer) {
                redraws.refont_viewer();
            }
        });
    }
}

}  // namespace vorelbox::core
