#pragma once
// The page-setup values: the report and graphics fonts with their sizes, the four
// page margins and the page-header switch, and how the page-setup dialog's entries
// are taken over.

#include <string>
#include <string_view>

#include "ui.h"

namespace vorelbox::print {

// Longest font name and size text kept.
constexpr std::size_t FONT_NAME_LENGTH = 32;
constexpr std::size_t FONT_SIZE_LENGTH = 6;

// Page margins in cm.
struct Margins {
    double left = 2.0;
    double right = 2.0;
    double top = 2.0;
    double bottom = 2.0;
};

// A margin is taken only within ±1000 cm (far beyond any paper), so that page
// positions computed from it stay within the range of an integer.
constexpr double MARGIN_LIMIT_CM = 1000.0;
bool margin_in_range(double cm);

struct PageSetup {
    std::string report_font = "Courier New";
    std::string report_font_size = "10";
    std::string graphics_font = "Arial";
    std::string graphics_font_size = "10";
    Margins margins;
    bool print_page_header = true;  // "Print page header"
};

// A size text as the dialog accepts it: its first 6 characters read as an integer,
// and it does not start with "T" or "F" in either case.
bool font_size_accepted(std::string_view size_text);

// What the page-setup dialog holds when OK is pressed: the texts of its fields.
struct PageSetupEntry {
    std::string left;  // margins, as typed
    std::string right;
    std::string top;
    std::string bottom;
    std::string report_font;
    std::string report_font_size;
    std::string graphics_font;
    std::string graphics_font_size;
    bool print_page_header = true;
};

struct PageSetupTaken {
    PageSetup setup;    // the values now stored
    bool valid = false;  // both sizes were accepted; otherwise the dialog is shown again
};

// The fields of the dialog for the stored values; margins written "(f10.2)".
PageSetupEntry page_setup_entry(const PageSetup& setup);

// Takes over an OK of the dialog: margins (a margin that does not read keeps its old
// value, with the reading warning), font names and the header switch are stored;
// each size is stored when it is accepted. Unless both are: "Illegal fontsize".
PageSetupTaken take_page_setup(common::Ui& ui, const PageSetup& stored, const PageSetupEntry& entry);

}  // namespace vorelbox::print
