#pragma once
// What the window does with files dropped on it.

#include <string>
#include <string_view>
#include <vector>

namespace vorelbox::core {

enum class OpenAction {
    Refuse,           // not files the program opens: the drop is not accepted
    OpenList,         // a spectrum list, opened in the Spectrum adder
    OpenInConverter,  // one spectrum file, opened in the Spectrum converter
    AddToList,        // spectrum files offered to the adder's list, each as Lookup and Include all would
};

struct OpenPlan {
    OpenAction action = OpenAction::Refuse;
    std::vector<std::string> files;
};

// A name of a kind of file the program reads as spectra: .dat, .chn, .spe,
// .lmc, .cvc, in any case.
bool is_spectrum_file_name(std::string_view path);
bool is_list_file_name(std::string_view path);

// One ".vsl" alone opens as the list. Spectrum files go to the list while the
// Spectrum adder page is shown, and several of them while the adder is the
// program; a single one otherwise opens in the converter. Anything else (a
// folder, a file of another kind, a list among other files) is refused.
OpenPlan plan_drop(const std::vector<std::string>& files, bool adder_active, bool adder_page_shown);

// A file named to the program when it starts, or handed over by a second
// start: a ".vsl" opens as the list, anything else in the converter.
OpenPlan plan_named_file(const std::string& file);

}  // namespace vorelbox::core
