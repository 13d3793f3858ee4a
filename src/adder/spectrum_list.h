#pragma once
// The spectrum list of the Spectrum adder: rows that each name a spectrum by its
// file and index and carry a copy of its header and counts; stored as a ".vsl" file.

#include <array>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "raw_file.h"
#include "safe_file.h"
#include "spectrum_store.h"
#include "ui.h"

namespace vorelbox::adder {

constexpr std::size_t LIST_HEADER_LENGTH = 80;
inline constexpr const char* UNTITLED_LIST = "Untitled.vsl";

struct ListRow {
    std::string header;  // at most 80 characters, trailing blanks removed
    int index = 0;       // 1-based spectrum within its file
    std::string file;    // empty: the row has no file (pasted or computed)
    std::vector<double> counts;
    double maximum = 0.0;  // largest count over channels 1..list channels
};

struct SpectrumList {
    int channels = 0;  // every row's channel count; 0 = not known yet
    std::vector<ListRow> rows;
    int capacity = 0;      // rows for which room is kept
    int selected_row = 0;  // 1-based; 0 = none
    std::string file_name;  // UNTITLED_LIST for a list never saved; empty = no list
    bool not_saved = false;
    int row_count() const { return static_cast<int>(rows.size()); }
};

// The eight most recent files, entry 0 the most recent.
struct RecentFiles {
    std::array<std::string, 8> entries;
};

// "VORELIX SPECTRUM LIST 1024, channels", then "header|index|file" a row.
void write_spectrum_list(std::ostream& out, const SpectrumList& list);
// Writes the list file, replacing an old one in one step; the result says why it could not be written.
common::SaveResult write_spectrum_list_file(const std::string& path, const SpectrumList& list,
                                            common::FileOps& ops = common::system_file_ops());

// One row line split at its last two bars, so that a header holding "|" comes back whole.
struct RowFields {
    std::string header;
    std::string index_text;
    std::string file;
};
std::optional<RowFields> split_row_line(std::string_view line);

// The list channel count from the first line; nothing when it has no keyword.
// A keyword without a number gives `unchanged`.
std::optional<int> read_list_header(std::string_view line, int unchanged);

// Loads a ".vsl" file into the list, looking up missing spectrum files with the user.
bool LOAD_SPECTLIST(SpectrumList& list, spectra::SpectrumStore& store, spectra::RawFileTable& files,
                    RecentFiles& recent_lists, common::Ui& ui, const std::string& name);

// Makes row k of the list the current spectrum: its file is read into the
// store again (the row's own counts stand when it has none or cannot be read
// now), then the row's counts become CURRENT_SPECTRUM with their logarithms.
// False, with nothing changed, for a row that does not exist or a list without
// channels.
bool LOAD_SPECTRUM_IN_LIST(const SpectrumList& list, spectra::SpectrumStore& store, common::Ui& ui, int k);

// Keeps room for at least `rows` rows (the requested count + 10 when it grows).
void CHECK_LIST_ALLOCATION(SpectrumList& list, const spectra::SpectrumStore& store, common::Ui& ui, int rows);

// "A".."Z", "AA".."ZZ" for rows 1..702.
std::string ABC_NUMBER(int n);

// The largest count over the first `channels` counts; the most negative float for none.
double row_maximum(const std::vector<double>& counts, int channels);

// The rows of the list view: "#", "Spectrum ID", "Index", "Spectrum file".
struct ListViewRow {
    std::string number;
    std::string header;
    std::string index;
    std::string file;
    bool selected = false;
    bool operator==(const ListViewRow&) const = default;
};
struct ListView {
    std::array<std::string, 4> columns{"#", "Spectrum ID", "Index", "Spectrum file"};
    std::array<int, 4> widths{24, 400, 50, 600};
    std::vector<ListViewRow> rows;
    bool operator==(const ListView&) const = default;
};
ListView FILL_SPECT_LIST(const SpectrumList& list);

// Updates the recent files from the current name: drops entries whose files are
// gone, doubles and blanks, and puts an existing current name on top.
void SORT_VSL(RecentFiles& recent, const std::string& current_list);
void SORT_CONV(RecentFiles& recent, const std::string& current_file);

}  // namespace vorelbox::adder
