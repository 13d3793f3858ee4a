#include "spectrum_list.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <map>
#include <new>

#include "convert_spectrum_file.h"
#include "free_format.h"
#include "input_file.h"
#include "foreign_formats.h"
#include "load_spectrum_file.h"
#include "os_path.h"
#include "safe_file.h"
#include "tembra_file.h"
#include "text_lines.h"
#include "text_utils.h"

namespace vorelbox::adder {
namespace {

constexpr std::string_view keyword_new = "VORELBOX SPECTRUM LIST";
constexpr std::string_view keyword_old = "VORELIX SPECTRUM LIST";
constexpr std::size_t first_line_columns = 80;
constexpr std::size_t index_columns = 10;
std::string spectrum_filter() {
    return "Vorelix spectrum file (*.dat)|*.dat|Other spectrum file (*.spe)|*.spe|" + spectra::foreign_files_filter() +
           "all files|*.*||";
}

// Loads the spectrum file a row names, converting a foreign file first. Returns
// the channel count; the file's spectra are then in the store. -1 when the
// conversion failed or was refused, which has been reported.
int load_row_file(spectra::SpectrumStore& store, spectra::RawFileTable& files, common::Ui& ui,
                  const std::string& path) {
    if (common::LOWCASE(common::SPLITPATH(path).extension) == ".dat") {
        // A native file is read once: the same text tells a Tembra file and gives the spectra.
        const common::InputFile file = common::read_input_file(path);
        if (!file.ok()) {
            common::WARN(ui, common::input_problem_text(file, path, "Unable to open spectrum file " + path));
            return -1;
        }
        if (!spectra::is_tembra_text(file.text)) {
            store.FILE_SPECTRUM_COUNT = 0;
            return spectra::load_spectrum_text(store, ui, file.text, path).channel_count;
        }
    }
    const spectra::ConvertResult converted = spectra::CONVERT_SPECTRUM_FILE(files, ui, path);
    if (converted.failed) {
        return -1;
    }
    if (converted.is_tembra) {
        const spectra::TembraFile t = spectra::LOAD_TEMBRA_FILE(store, ui, path);
        if (!t.ok) {
            return 0;
        }
        store.LOADED_SPECTRUM_FILE = path;
        return t.channels;
    }
    return spectra::LOAD_SPECTRUM_FILE(store, ui, converted.target).channel_count;
}

// A row that names its file without a folder, or with one relative to the
// current folder where the file is not, means the folder of the list: a list
// moved or installed with its spectrum files still finds them.
std::string in_list_folder(const std::string& file, const std::string& list_name) {
    if (file.empty() || common::file_exists(file)) {
        return file;
    }
    const std::filesystem::path row = common::os_path(file);
    if (row.is_absolute()) {
        return file;
    }
    const std::string beside = common::utf8_path(common::os_path(list_name).parent_path() / row);
    return common::file_exists(beside) ? common::utf8_path(common::os_path(beside).lexically_normal()) : file;
}

// The spectra of a file that later rows of the list name again, after rows of
// other files: kept in memory, so that every file of a list is read (and any
// question about it asked) once.
struct HeldFile {
    int channels = 0;
    std::vector<std::vector<double>> columns;
    std::vector<std::string> headers;
    std::vector<double> current;
    std::vector<std::int32_t> raw;
};

// The most values held at once: 32 Mi reals, 256 MiB. A list beyond it reads its
// files again as their rows come back.
constexpr std::size_t held_values_limit = std::size_t{32} * 1024 * 1024;

std::optional<HeldFile> hold(const spectra::SpectrumStore& store, std::size_t& held_values) {
    const auto channels = static_cast<std::size_t>(std::max(store.CHANNEL_COUNT, 0));
    const auto count = static_cast<std::size_t>(std::max(store.FILE_SPECTRUM_COUNT, 0));
    const std::size_t values = (count + 1) * channels;
    if (values > held_values_limit - std::min(held_values, held_values_limit)) {
        return std::nullopt;
    }
    HeldFile h;
    try {
        h.channels = store.CHANNEL_COUNT;
        for (std::size_t k = 0; k < count; ++k) {
            const auto& column = store.FILE_SPECTRA[k];
            h.columns.emplace_back(column.begin(), column.begin() + static_cast<std::ptrdiff_t>(std::min(channels, column.size())));
            h.headers.push_back(store.FILE_SPECTRUM_HEADERS[k]);
        }
        h.current.assign(store.CURRENT_SPECTRUM.begin(),
                         store.CURRENT_SPECTRUM.begin() +
                             static_cast<std::ptrdiff_t>(std::min(channels, store.CURRENT_SPECTRUM.size())));
        h.raw = store.RAW_COUNTS;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    held_values += values;
    return h;
}

// Puts a held file back into the store as reading it again would. Returns its
// channel count, or -1 when the memory cannot be had (the file is then read).
int restore(spectra::SpectrumStore& store, const HeldFile& h, const std::string& path) {
    if (h.channels > store.CHANNEL_CAPACITY && !spectra::REALLOCATE_SPECTRA(store, h.channels)) {
        return -1;
    }
    try {
        for (std::size_t k = 0; k < h.columns.size(); ++k) {
            auto& column = store.file_column(static_cast<int>(k + 1));
            std::copy(h.columns[k].begin(), h.columns[k].end(), column.begin());
            store.FILE_SPECTRUM_HEADERS[k] = h.headers[k];
        }
        store.RAW_COUNTS = h.raw;
    } catch (const std::bad_alloc&) {
        return -1;
    }
    std::copy(h.current.begin(), h.current.end(), store.CURRENT_SPECTRUM.begin());
    store.FILE_SPECTRUM_COUNT = static_cast<int>(h.columns.size());
    store.CHANNEL_COUNT = h.channels;
    store.LOADED_SPECTRUM_FILE = path;
    return h.channels;
}

// How many runs of consecutive rows name each file, as the rows write it.
std::map<std::string, int> file_runs(common::Lines lines) {
    std::map<std::string, int> runs;
    std::optional<std::string> previous;
    while (auto line = lines.next()) {
        if (common::is_blank(*line)) {
            continue;
        }
        auto fields = split_row_line(*line);
        if (!fields) {
            break;
        }
        if (fields->file != previous) {
            ++runs[fields->file];
            previous = std::move(fields->file);
        }
    }
    return runs;
}

}  // namespace

void write_spectrum_list(std::ostream& out, const SpectrumList& list) {
    out << keyword_old << ' ' << list.channels << ", channels\n";
    for (const ListRow& row : list.rows) {
        // A header stays on its row's line.
        out << common::trim_right(common::blank_control_chars(row.header)) << '|' << row.index << '|'
            << common::trim_right(row.file) << '\n';
    }
}

common::SaveResult write_spectrum_list_file(const std::string& path, const SpectrumList& list, common::FileOps& ops) {
    return common::replace_file(
        path,
        [&list](std::ostream& out) {
            write_spectrum_list(out, list);
            return static_cast<bool>(out);
        },
        ops, common::system_line_ends());
}

std::optional<RowFields> split_row_line(std::string_view line) {
    // Both the header and (outside Windows) the path may hold bars. The index is
    // a field between two bars that reads as a number: the one after which the
    // rest names an existing file, else the last one, so that a header holding
    // bars comes back whole.
    const auto fields_at = [line](std::size_t first, std::size_t second) {
        RowFields f;
        f.header = std::string(line.substr(0, first));
        f.index_text = std::string(line.substr(first + 1, second - first - 1));
        f.file = std::string(common::trim_right(line.substr(second + 1)));
        return f;
    };
    std::optional<RowFields> last;
    for (std::size_t first = line.find('|'); first != std::string_view::npos; first = line.find('|', first + 1)) {
        const std::size_t second = line.find('|', first + 1);
        if (second == std::string_view::npos) {
            break;
        }
        RowFields f = fields_at(first, second);
        if (!common::parse_free_integer(std::string_view(f.index_text).substr(0, index_columns))) {
            continue;
        }
        if (!f.file.empty() && common::file_exists(f.file)) {
            return f;
        }
        last = std::move(f);
    }
    if (last) {
        return last;
    }
    // No field reads as a number: the last two bars, the index left unread.
    const std::size_t second = line.rfind('|');
    if (second == std::string_view::npos || second == 0) {
        return std::nullopt;
    }
    const std::size_t first = line.rfind('|', second - 1);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    return fields_at(first, second);
}

std::optional<int> read_list_header(std::string_view line, int unchanged) {
    line = line.substr(0, first_line_columns);
    std::string_view rest;
    if (line.substr(0, keyword_new.size()) == keyword_new) {
        rest = line.substr(keyword_new.size());
    } else if (line.substr(0, keyword_old.size()) == keyword_old) {
        rest = line.substr(keyword_old.size());
    } else {
        return std::nullopt;
    }
    // The number ends at a blank or at the comma before "channels".
    rest = common::trim_left(rest);
    const std::size_t end = rest.find_first_of(" \t,/");
    const auto value = common::parse_free_integer(rest.substr(0, end));
    if (!value || *value < 0 || *value > std::numeric_limits<int>::max()) {
        return unchanged;
    }
    return static_cast<int>(*value);
}

bool LOAD_SPECTRUM_IN_LIST(const SpectrumList& list, spectra::SpectrumStore& store, common::Ui& ui, int k) {
    if (k < 1 || k > list.row_count() || list.channels < 1) {
        return false;
    }
    const ListRow& row = list.rows[static_cast<std::size_t>(k - 1)];
    if (!row.file.empty()) {
        spectra::LOAD_SPECTRUM_FILE(store, ui, row.file, true);
    }
    if (list.channels > store.CHANNEL_CAPACITY && !spectra::REALLOCATE_SPECTRA(store, list.channels)) {
        return false;
    }
    const auto n = std::min(row.counts.size(), static_cast<std::size_t>(list.channels));
    std::fill_n(store.CURRENT_SPECTRUM.begin(), list.channels, 0.0);
    std::copy_n(row.counts.begin(), n, store.CURRENT_SPECTRUM.begin());
    store.CHANNEL_COUNT = list.channels;
    return true;
}

void CHECK_LIST_ALLOCATION(SpectrumList& list, const spectra::SpectrumStore& store, common::Ui& ui, int rows) {
    if (store.CHANNEL_COUNT < 1) {
        common::WARN(ui, "The actual spectrum is empty");
    }
    if (rows <= list.capacity) {
        return;
    }
    list.capacity = rows + 10;
    list.rows.reserve(static_cast<std::size_t>(list.capacity));
}

std::string ABC_NUMBER(int n) {
    if (n < 1 || n > 702) {
        return {};
    }
    const int q = (n - 1) / 26;
    const int r = (n - 1) - 26 * q;
    std::string label;
    if (q > 0) {
        label += static_cast<char>(64 + q);
    }
    label += static_cast<char>(65 + r);
    return label;
}

double row_maximum(const std::vector<double>& counts, int channels) {
    const auto n = std::min(counts.size(), static_cast<std::size_t>(std::max(channels, 0)));
    if (n == 0) {
        return -static_cast<double>(std::numeric_limits<float>::max());
    }
    return *std::max_element(counts.begin(), counts.begin() + static_cast<std::ptrdiff_t>(n));
}

ListView FILL_SPECT_LIST(const SpectrumList& list) {
    ListView view;
    for (int i = 1; i <= list.row_count(); ++i) {
        const ListRow& row = list.rows[static_cast<std::size_t>(i - 1)];
        view.rows.push_back({std::to_string(i), std::string(common::trim_right(row.header)), std::to_string(row.index),
                             std::string(common::trim_right(row.file)), i == list.selected_row});
    }
    return view;
}

bool LOAD_SPECTLIST(SpectrumList& list, spectra::SpectrumStore& store, spectra::RawFileTable& files,
                    RecentFiles& recent_lists, common::Ui& ui, const std::string& name) {
    if (common::is_blank(name)) {
        return false;
    }
    if (common::has_control_char(name)) {
        common::WARN(ui, "The name of the spectrum list " + common::shown_name(name) + " holds a control character");
        return false;
    }
    std::string missing_name;  // one answer serves every row that names the same missing file
    std::string replacement;
    const common::InputFile text = common::read_input_file(name);
    if (!text.ok()) {
        common::STATUS(ui, common::input_problem_text(text, name, "Can't open the file: " + name));
        return false;
    }
    const auto syntax_error = [&ui](std::string_view line) {
        common::STATUS(ui, "Syntax error reading line:\r" + std::string(common::trim_right(line)));
        return false;
    };

    common::Lines lines(common::without_bom(text.text));
    const auto first = lines.next();
    const auto header_channels = first ? read_list_header(*first, list.channels) : std::nullopt;
    if (!header_channels) {
        return syntax_error(first.value_or(std::string_view{}));
    }
    if (*header_channels > spectra::MAX_CHANNELS) {
        common::WARN(ui, "The spectrum list " + name + " is for spectra of " + std::to_string(*header_channels) +
                             " channels; at most " + std::to_string(spectra::MAX_CHANNELS) + " channels can be read");
        return false;
    }
    list.channels = *header_channels;
    list.rows.clear();
    list.selected_row = 0;

    int index = 0;  // an index that cannot be read keeps the value it had
    std::string loaded_file;  // the file whose spectra the store holds now
    std::string loaded_as;    // that file as its rows write it
    std::map<std::string, int> runs_left = file_runs(lines);
    std::map<std::string, HeldFile> held;
    std::size_t held_values = 0;
    std::optional<std::string> previous_file;
    while (auto line = lines.next()) {
        if (common::is_blank(*line)) {
            continue;
        }
        const auto fields = split_row_line(*line);
        if (!fields) {
            return syntax_error(*line);
        }
        if (const auto read = common::parse_free_integer(std::string_view(fields->index_text).substr(0, index_columns))) {
            // An index beyond any file's spectra stays beyond them.
            index = static_cast<int>(std::clamp<long long>(*read, -1, spectra::MAX_FILE_SPECTRA + 1));
        }
        // No file name holds one: such a row is refused before any file is touched.
        if (common::has_control_char(fields->file)) {
            common::WARN(ui, "The spectrum list " + name + "\rrow " + std::to_string(list.row_count() + 1) +
                                 " names a spectrum file with a control character in its name:\r" +
                                 common::shown_name(fields->file) + "\rthe list is rejected");
            list.rows.clear();
            return false;
        }
        std::string path = in_list_folder(fields->file, name);
        if (!path.empty() && !common::file_exists(path)) {
            if (path == missing_name) {
                path = replacement;
            } else {
                missing_name = path;
                const char answer = common::ASK_YNC(
                    ui, "The spectrum list " + name + "\rrefers to a non existing spectrum file: " + path +
                            "\rLookup the spectrum file (Yes)\rDrop the list (No) og just abort (Cancel)");
                if (answer == 'Y') {
                    const std::string chosen = common::FIND_FILEW(ui, path, "Vorelix Spectrum", spectrum_filter());
                    if (chosen.empty()) {
                        return false;
                    }
                    path = replacement = chosen;
                    list.not_saved = true;
                } else {
                    list.rows.clear();
                    if (answer == 'N') {
                        for (auto& entry : recent_lists.entries) {
                            if (entry == name) {
                                entry.clear();
                            }
                        }
                        SORT_VSL(recent_lists, "");
                        list.file_name.clear();
                    }
                    return false;
                }
            }
        }

        // Every row's counts come from its file: a row that names none has no
        // source to read them from (whether or not the list gives the channel count).
        if (path.empty()) {
            common::WARN(ui, "The spectrum list " + name + "\rhas a row without a spectrum file: " +
                                 std::string(common::trim_right(*line)) + "\rthe list is rejected");
            return false;
        }
        if (fields->file != previous_file) {
            --runs_left[fields->file];
            previous_file = fields->file;
        }
        int file_channels = 0;
        if (path != loaded_file || store.FILE_SPECTRUM_COUNT == 0) {
            // The file the store holds is kept when later rows name it again.
            if (!loaded_file.empty() && runs_left[loaded_as] > 0 && held.count(loaded_file) == 0) {
                if (auto h = hold(store, held_values)) {
                    held.emplace(loaded_file, std::move(*h));
                }
            }
            const auto kept = held.find(path);
            file_channels = kept == held.end() ? -1 : restore(store, kept->second, path);
            if (file_channels < 0) {
                file_channels = load_row_file(store, files, ui, path);
            }
            loaded_file = file_channels > 0 ? path : std::string();
            loaded_as = fields->file;
        } else {
            file_channels = store.CHANNEL_COUNT;
        }
        // A list that does not give its channel count takes that of its first file.
        if (list.channels == 0 && file_channels > 0) {
            list.channels = file_channels;
        }
        if (file_channels < 0) {
            return false;
        }
        if (list.channels > 0 && file_channels != list.channels) {
            common::WARN(ui, "The number of channels in the list (" + std::to_string(list.channels) +
                                 ") differs from\rthe number of channels in the file (" +
                                 std::to_string(file_channels) + ")\rthe file is rejected");
            return false;
        }
        if (index < 1 || index > store.FILE_SPECTRUM_COUNT) {
            common::WARN(ui, "The spectrum file " + path + " holds no spectrum #" + std::to_string(index));
            return false;
        }
        CHECK_LIST_ALLOCATION(list, store, ui, list.row_count() + 1);
        ListRow row;
        row.header = std::string(common::trim_right(common::cut_chars(fields->header, LIST_HEADER_LENGTH)));
        row.index = index;
        row.file = path;
        const auto& column = store.FILE_SPECTRA[static_cast<std::size_t>(index - 1)];
        const auto n = static_cast<std::size_t>(std::max(file_channels, 0));
        row.counts.assign(column.begin(), column.begin() + static_cast<std::ptrdiff_t>(std::min(n, column.size())));
        row.maximum = row_maximum(row.counts, list.channels);
        list.rows.push_back(std::move(row));
    }

    list.file_name = name;
    ui.set_status_text(1, "Ready for Spectrum addition");
    ui.set_status_text(2, "Spectrum list [" + common::name_with_extension(name) + "] loaded");
    common::STATUS(ui, "Spectrum list " + name + " OK");
    return true;
}

void SORT_VSL(RecentFiles& recent, const std::string& current_list) {
    std::vector<std::string> kept;
    for (const std::string& entry : recent.entries) {
        const std::string name(common::trim_right(common::cut_at_nul(entry)));
        if (!name.empty() && common::file_exists(name) && std::find(kept.begin(), kept.end(), name) == kept.end()) {
            kept.push_back(name);
        }
    }
    kept.resize(recent.entries.size());
    std::copy(kept.begin(), kept.end(), recent.entries.begin());

    const std::string current(common::trim_right(common::cut_at_nul(current_list)));
    if (current.empty() || current.rfind("Untitled.", 0) == 0 || !common::file_exists(current)) {
        return;
    }
    const auto found = std::find(recent.entries.begin(), recent.entries.end() - 1, current);
    // Entries above the current name's place move down one; the current name goes on top.
    std::move_backward(recent.entries.begin(), found, found + 1);
    recent.entries.front() = current;
}

void SORT_CONV(RecentFiles& recent, const std::string& current_file) { SORT_VSL(recent, current_file); }

}  // namespace vorelbox::adder
