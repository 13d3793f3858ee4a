#pragma once
// Fixed texts of the program: its version, the main-window caption, the page names.

#include <array>
#include <string>
#include <string_view>

namespace vorelbox::core {

inline constexpr std::string_view VERSION_TEXT = "1.50";
inline constexpr std::string_view DATE_TEXT = "28-jul-2020";

// What part 1 of the status bar shows once the program has started.
inline constexpr std::string_view STATUS_READY_TEXT = "Ready";

// "Vorelbox - Version 1.50 - 28-jul-2020".
std::string main_window_caption();

// Captions of the three pages. Page 1 belongs to the active program:
// "Spectrum adder" for program 1, "Spectrum converter" for program 2, empty
// while no program is set.
std::array<std::string, 3> SET_VORELBOXTABNAMES(int program);

}  // namespace vorelbox::core
