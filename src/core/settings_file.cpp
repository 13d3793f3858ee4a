#include "settings_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "free_format.h"
#include "input_file.h"
#include "os_path.h"
#include "safe_file.h"
#include "text_utils.h"

namespace vorelbox::core {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t line_columns = 300;
constexpr std::size_t font_name_columns = 32;
constexpr std::size_t font_size_columns = 6;
constexpr std::size_t path_columns = 260;
constexpr long long window_limit = 1000000;

bool exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(common::os_path(path), ec);
}

bool logical(std::string_view value) {
    value = common::trim(value);
    // FORTRAN logicals: ".TRUE.", "T", "t"...
    if (!value.empty() && value.front() == '.') {
        value.remove_prefix(1);
    }
    return !value.empty() && (value.front() == 'T' || value.front() == 't');
}

// A margin that does not read, or lies beyond any paper, is 2.0.
double margin(std::string_view value) {
    const std::string_view text = common::trim(value);
    const std::size_t end = text.find_first_of(" ,\t");
    const auto cm = common::parse_free_real(text.substr(0, end));
    return cm && print::margin_in_range(*cm) ? *cm : 2.0;
}

std::string limited(std::string_view value, std::size_t columns) {
    return std::string(common::trim_right(value.substr(0, columns)));
}

// "SpectrumList[3]=" gives 3; indexes outside 1..8 give nothing.
std::optional<std::size_t> bracket_index(std::string_view key_with_index) {
    const char c = key_with_index.back();
    if (c < '1' || c > '8') {
        return std::nullopt;
    }
    return static_cast<std::size_t>(c - '1');
}

std::optional<WindowPlacement> window_line(std::string_view value) {
    std::vector<long long> numbers;
    std::string text(value);
    std::replace(text.begin(), text.end(), ',', ' ');
    std::istringstream in(text);
    std::string token;
    while (numbers.size() < 6 && in >> token) {
        // Window positions beyond a million pixels are no positions: they are
        // refused, so that sizes computed from them cannot overflow.
        const auto v = common::parse_free_integer(token);
        if (!v || *v < -window_limit || *v > window_limit) {
            return std::nullopt;
        }
        numbers.push_back(*v);
    }
    if (numbers.size() < 6) {
        return std::nullopt;
    }
    WindowPlacement w;
    w.left = static_cast<int>(numbers[0]);
    w.right = static_cast<int>(numbers[1]);
    w.top = static_cast<int>(numbers[2]);
    w.bottom = static_cast<int>(numbers[3]);
    w.flags = static_cast<int>(numbers[4]);
    w.show = static_cast<int>(numbers[5]);
    return w;
}

std::string margin_text(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%6.2f", value);
    return text;
}

}  // namespace

WindowRect window_rect(const WindowPlacement& p) {
    return {std::max(p.left, 0), std::max(p.top, 0), std::max(p.right - p.left, 680), std::max(p.bottom - p.top, 380),
            p.show == 3};
}

Settings read_settings(std::istream& in, common::Ui& ui) {
    Settings s;
    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') {
            raw.pop_back();
        }
        const std::string line(common::cut_at_nul(std::string_view(raw).substr(0, line_columns)));
        if (!line.empty() && line.front() == '[') {
            continue;
        }
        if (common::is_blank(line)) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            common::WARN(ui, "Wrong ini-line: " + std::string(common::trim_right(line)));
            continue;
        }
        const std::string key = line.substr(0, equals + 1);
        const std::string_view value = std::string_view(line).substr(equals + 1);
        // Bracketed keys: the one character before "]=" is the index.
        const std::string stem = equals >= 2 ? line.substr(0, equals - 1) : std::string();
        const bool bracketed = equals >= 3 && line[equals - 1] == ']';
        const auto index = bracketed ? bracket_index(line.substr(0, equals - 1)) : std::nullopt;
        bool known = true;
        if (bracketed && stem.size() >= 2 && index && stem.substr(0, stem.size() - 1) == "Project[") {
            // Accepted and not used.
        } else if (bracketed && index && stem.substr(0, stem.size() - 1) == "SpectrumList[") {
            s.recent_lists.entries[*index] = limited(value, path_columns);
        } else if (bracketed && index && stem.substr(0, stem.size() - 1) == "ConverterFile[") {
            const std::string name = limited(value, path_columns);
            s.recent_converter_files.entries[*index] = exists(name) ? name : std::string();
        } else if (key == "Program=") {
            const auto program = common::parse_free_integer(value);
            s.program = program && (*program == 1 || *program == 2) ? static_cast<int>(*program) : 0;
        } else if (key == "Start_empty=") {
            s.start_empty = logical(value);
        } else if (key == "Font=" || key == "GraphicsFont=") {
            std::string name = limited(value, font_name_columns);
            if (common::is_blank(name)) {
                name = "Courier New";
            }
            (key == "Font=" ? s.page_setup.report_font : s.page_setup.graphics_font) = name;
        } else if (key == "Fontsize=" || key == "GraphicsFontsize=") {
            std::string size = std::string(common::trim(value.substr(0, font_size_columns)));
            if (size.empty()) {
                size = "10";
            }
            (key == "Fontsize=" ? s.page_setup.report_font_size : s.page_setup.graphics_font_size) = size;
        } else if (key == "Left margin=") {
            s.page_setup.margins.left = margin(value);
        } else if (key == "Right margin=") {
            s.page_setup.margins.right = margin(value);
        } else if (key == "Top margin=") {
            s.page_setup.margins.top = margin(value);
        } else if (key == "Bottom margin=") {
            s.page_setup.margins.bottom = margin(value);
        } else if (key == "ConverterFile=") {
            const std::string name = limited(value, path_columns);
            s.converter_file = exists(name) ? name : std::string();
        } else if (key == "SpectrumList=") {
            std::string name = limited(value, path_columns);
            if (name.empty()) {
                name = s.recent_lists.entries[0];
            }
            if (exists(name)) {
                s.spectrum_list = name;
            } else {
                s.spectrum_list.clear();
                s.recent_lists.entries[0].clear();
            }
        } else if (key == "SpectrumFile=") {
            s.spectrum_file = std::string(common::cut_at_nul(limited(value, path_columns)));
        } else if (key == "Show_selected=") {
            s.show_selected = logical(value);
        } else if (key == "Show_sum=") {
            s.show_sum = logical(value);
        } else if (key == "Window=") {
            if (auto w = window_line(value)) {
                s.window = w;
            }
        } else {
            known = false;
        }
        if (!known) {
            common::WARN(ui, "Wrong ini-parameter: " + std::string(common::trim_right(line)));
        }
    }
    return s;
}

Settings read_settings_file(const std::string& path, common::Ui& ui) {
    const common::InputFile file = common::read_input_file(path);
    if (file.problem == common::InputProblem::CannotOpen) {
        return Settings{};  // no settings yet: the first run
    }
    if (!file.ok()) {
        common::WARN(ui, common::input_problem_text(file, path, "The settings file " + path + " is not a file"));
        return Settings{};
    }
    std::istringstream in(file.text);
    return read_settings(in, ui);
}

void write_settings(std::ostream& out, const Settings& s, bool list_not_saved) {
    adder::RecentFiles lists = s.recent_lists;
    adder::SORT_VSL(lists, list_not_saved ? std::string() : s.spectrum_list);
    adder::RecentFiles converter_files = s.recent_converter_files;
    adder::SORT_CONV(converter_files, s.converter_file);
    const auto trimmed = [](const std::string& text) { return common::trim_right(common::cut_at_nul(text)); };
    const auto flag = [](bool value) { return value ? "T" : "F"; };
    const auto fonts_and_margins = [&] {
        out << "Font=" << trimmed(s.page_setup.report_font) << '\n';
        out << "Fontsize=" << trimmed(s.page_setup.report_font_size) << '\n';
        out << "GraphicsFont=" << trimmed(s.page_setup.graphics_font) << '\n';
        out << "GraphicsFontsize=" << trimmed(s.page_setup.graphics_font_size) << '\n';
        out << "Left margin=" << margin_text(s.page_setup.margins.left) << '\n';
        out << "Right margin=" << margin_text(s.page_setup.margins.right) << '\n';
        out << "Top margin=" << margin_text(s.page_setup.margins.top) << '\n';
        out << "Bottom margin=" << margin_text(s.page_setup.margins.bottom) << '\n';
    };
    out << "[Vorelbox]\n";
    out << "Program=" << s.program << '\n';
    out << "[Spectrum adder]\n";
    for (std::size_t n = 0; n < lists.entries.size(); ++n) {
        out << "SpectrumList[" << n + 1 << "]=" << trimmed(lists.entries[n]) << '\n';
    }
    out << "SpectrumList=" << (list_not_saved ? std::string_view() : trimmed(s.spectrum_list)) << '\n';
    out << "SpectrumFile=" << trimmed(s.spectrum_file) << '\n';
    out << "Show_selected=" << flag(s.show_selected) << '\n';
    out << "Show_sum=" << flag(s.show_sum) << '\n';
    out << "[Spectrum converter]\n";
    for (std::size_t n = 0; n < converter_files.entries.size(); ++n) {
        out << "ConverterFile[" << n + 1 << "]=" << trimmed(converter_files.entries[n]) << '\n';
    }
    out << "ConverterFile=" << trimmed(s.converter_file) << '\n';
    out << "Start_empty=" << flag(s.start_empty) << '\n';
    fonts_and_margins();
    out << "[Program]\n";
    const WindowPlacement w = s.window.value_or(WindowPlacement{});
    out << "Window=" << w.left << ',' << w.right << ',' << w.top << ',' << w.bottom << ',' << w.flags << ','
        << w.show << ",\n";
    fonts_and_margins();
}

common::SaveResult write_settings_file(const std::string& path, const Settings& settings, bool list_not_saved,
                                       common::FileOps& ops) {
    return common::replace_file(
        path,
        [&](std::ostream& out) {
            write_settings(out, settings, list_not_saved);
            return static_cast<bool>(out);
        },
        ops, common::system_line_ends());
}

std::string settings_path(const std::string& environment_override, const std::string& program_folder,
                          const std::string& user_config_folder) {
    if (!environment_override.empty()) {
        return environment_override;
    }
    std::error_code ec;
    const fs::path folder = common::os_path(program_folder);
    const fs::path probe = folder / ".vorelbox-write-test";
    bool writable = false;
    if (!program_folder.empty()) {
        writable = static_cast<bool>(std::ofstream(probe));
        fs::remove(probe, ec);
    }
    if (writable || user_config_folder.empty()) {
        return common::utf8_path(folder / "Vorelbox.ini");
    }
    fs::create_directories(common::os_path(user_config_folder), ec);
    return common::utf8_path(common::os_path(user_config_folder) / "Vorelbox.ini");
}

}  // namespace vorelbox::core
