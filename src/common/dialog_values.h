#pragma once
// Conversions between the texts of dialog controls and the numbers behind them.

#include <optional>
#include <string>
#include <string_view>

#include "ui.h"

namespace vorelbox::common {

// The text an integer control shows for a value.
std::string DLGSETIVALUE(int value);

struct IntRead {
    int value = 0;
    std::string text;  // what the control shows after reading
    bool ok = false;   // the control could be read
};

// Reads an integer from a control text (its first 20 characters). A text that is
// not an integer reads as 0, and the control is then to show "0".
IntRead DLGGETIVALUE(std::string_view text);

// The text a real control shows for a value, written with the edit format
// (e.g. "(f10.2)"), left-adjusted.
std::string DLGSETREAL(std::string_view format, double value);

// Reads a real from a control text (its first 220 characters). On a syntax error
// the user is warned and nothing is returned, so the caller keeps its old value.
std::optional<double> DLGGETREAL(Ui& ui, std::string_view text);

}  // namespace vorelbox::common
