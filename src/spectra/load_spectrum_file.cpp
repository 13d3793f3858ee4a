#include "load_spectrum_file.h"

#include <algorithm>
#include <array>

#include "count_line.h"
#include "detect_format.h"
#include "free_format.h"
#include "input_file.h"
#include "text_lines.h"
#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

using common::Lines;
using common::without_bom;

// Nothing but line ends, blanks and tabs: a file with any other byte (a NUL too)
// is not empty, whatever else it is.
bool is_empty_text(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::string join_lines(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const auto part : parts) {
        if (!text.empty()) {
            text += '\r';
        }
        text += part;
    }
    return text;
}

}  // namespace

LoadResult load_spectrum_text(SpectrumStore& store, common::Ui& ui, std::string_view text,
                              const std::string& file_name, bool quiet) {
    LoadResult result;
    store.FILE_SPECTRUM_COUNT = 0;
    text = without_bom(text);
    Lines lines(text);
    const std::string shown_name(common::trim(file_name));

    // The first header, and whether any data line follows it at all.
    const auto first_header = lines.next_non_blank();
    bool data_found = false;
    if (first_header) {
        Lines probe = lines;
        while (auto line = probe.next()) {
            if (count_data_values(*line) > 0) {
                data_found = true;
                break;
            }
        }
    }
    if (!data_found) {
        if (is_empty_text(text)) {
            common::WARN(ui, "The spectrum file \"" + shown_name + "\" is empty");
        } else {
            common::WARN(ui, "The file \"" + shown_name + "\" holds no spectrum: no line of counts was found");
        }
        return result;
    }

    // The layout: from the first two lines of data; blank lines between the
    // header and its data are passed over.
    Lines after_header = lines;
    while (auto line = lines.next()) {
        if (!common::is_blank(*line)) {
            break;
        }
        after_header = lines;
    }
    lines = after_header;
    const std::string_view line_a = lines.next().value_or(std::string_view{});
    const std::optional<std::string_view> line_b = lines.next();
    const DetectedFormat format_a = DETECT_FORMAT(line_a);
    // A line B that is not data (a blank line, the end of the file, or the header
    // of the next spectrum) leaves line A as the spectrum's only data line.
    const DetectedFormat format_b = line_b ? DETECT_FORMAT(*line_b) : DetectedFormat{};
    const int n_a = format_a.n;
    const int n_b = format_b.n;
    // Channels are counted up to one more than can be read: enough to refuse the file.
    std::int64_t channels = 0;
    const DetectedFormat* layout = nullptr;
    if (n_b < n_a) {
        // Line A is the only full line: line B, when it holds values, is the
        // short last line of the spectrum, and then its values count too.
        layout = &format_a;
        channels = std::int64_t{n_a} + n_b;
    } else {
        layout = &format_b;
        channels = 2 * std::int64_t{n_b};
        while (channels <= MAX_CHANNELS) {
            const auto line = lines.next();
            const int n = line ? count_data_values(*line) : 0;
            if (n == 0) {
                break;
            }
            if (n < n_b) {
                channels += n;
                break;
            }
            channels += n_b;
        }
    }
    if (channels <= 0 || layout->read_format == "?") {
        // No layout: the line after the header is not data, or its values are too wide.
        std::string_view offending = layout == &format_a ? line_a : line_b.value_or(std::string_view{});
        if (channels <= 0) {
            offending = common::is_blank(line_a) && line_b ? *line_b : line_a;
        }
        common::WARN(ui, join_lines({"Error reading spectrum file: " + file_name,
                                     "Expecting spectrum data reading the line:",
                                     std::string(common::trim_right(offending)), "No spectrum was read"}));
        return result;
    }
    if (channels > MAX_CHANNELS) {
        common::WARN(ui, too_many_channels_text(file_name, 0));
        return result;
    }
    const bool free_layout = layout->read_format == "*";
    const std::size_t per_line = free_layout ? static_cast<std::size_t>(channels)
                                             : static_cast<std::size_t>(layout->n);
    const std::string detected =
        (layout->integer_format.empty() || layout->integer_format == "?") ? layout->read_format
                                                                          : layout->integer_format;

    if (channels > store.CHANNEL_CAPACITY && !REALLOCATE_SPECTRA(store, channels)) {
        common::WARN(ui, "Not enough memory to read the " + std::to_string(channels) +
                             " channels of the spectrum file \"" + shown_name + "\"");
        return result;
    }

    const auto n_channels = static_cast<std::size_t>(channels);
    std::optional<std::string_view> pending_header;
    std::size_t got = 0;  // channels read of the spectrum being read
    int last_read = 0;    // column of the last spectrum read, complete or not
    lines.rewind();

    bool stop = false;
    while (!stop && store.FILE_SPECTRUM_COUNT < MAX_FILE_SPECTRA) {
        std::optional<std::string_view> header = pending_header ? pending_header : lines.next_non_blank();
        pending_header.reset();
        if (!header) {
            break;
        }
        // The spectrum is read straight into the next free column; it becomes
        // one of the file's spectra only when it is complete or repaired.
        const int k = store.FILE_SPECTRUM_COUNT + 1;
        double* const counts = store.file_column(k).data();
        got = 0;
        bool keep = true;
        while (got < n_channels) {
            const auto line = lines.next();
            if (!line) {
                common::WARN(ui, "The last spectrum in the file is shorter (" + std::to_string(got) +
                                     " channels)\rthan the first (" + std::to_string(channels) +
                                     " channels) - it will be padded by 0'es)");
                stop = true;
                break;
            }
            if (common::is_blank(*line)) {
                // In a fixed layout an empty line reads as a line of zeros; free
                // reading passes over it, and so do both a blank line directly
                // after the header.
                if (!free_layout && got > 0) {
                    const std::size_t zeros = std::min(per_line, n_channels - got);
                    std::fill_n(counts + got, zeros, 0.0);
                    got += zeros;
                }
                continue;
            }
            // The line is read with the rest of the text behind it, so that its
            // last value can be read eight bytes at a time too.
            const std::string_view from_line = text.substr(static_cast<std::size_t>(line->data() - text.data()));
            if (const auto read = read_line_counts(from_line, line->size(), counts + got,
                                                   std::min(per_line, n_channels - got))) {
                got += *read;
                continue;
            }
            if (quiet) {
                return LoadResult{};
            }
            const std::string offending(common::trim_right(*line));
            const std::string lead = join_lines({"Error reading spectrum file: " + file_name,
                                                 "Expecting spectrum data reading the line:", offending});
            if (offending.find("***") != std::string::npos) {
                common::WARN(ui, join_lines({lead, "The rest of the spectrum file is skipped"}));
                keep = false;
                stop = true;
                break;
            }
            if (common::ASK_YN(ui, join_lines({lead, "Shall I repair the spectrum?"}))) {
                // The spectrum ends here. The line that stopped it is most often
                // the header of the next spectrum, so it is read as one.
                pending_header = line;
                break;
            }
            store.FILE_SPECTRUM_COUNT = 0;
            keep = false;
            stop = true;
            break;
        }
        // Channels not read stay 0.
        std::fill(counts + got, counts + n_channels, 0.0);
        last_read = k;
        if (keep) {
            store.FILE_SPECTRUM_COUNT = k;
            store.FILE_SPECTRUM_HEADERS[static_cast<std::size_t>(k - 1)] =
                std::string(common::trim_right(common::cut_chars(*header, HEADER_LENGTH)));
        }
    }

    // At most 100 spectra are read from a file; the user hears how many were not.
    if (!stop && store.FILE_SPECTRUM_COUNT == MAX_FILE_SPECTRA) {
        int more = pending_header ? 1 : 0;
        while (auto line = lines.next()) {
            if (!common::is_blank(*line) && count_data_values(*line) == 0) {
                ++more;
            }
        }
        if (more > 0) {
            common::WARN(ui, "The spectrum file \"" + std::string(common::trim(file_name)) + "\" holds " +
                                 std::to_string(MAX_FILE_SPECTRA + more) + " spectra\rThe first " +
                                 std::to_string(MAX_FILE_SPECTRA) + " are read, " + std::to_string(more) +
                                 (more == 1 ? " is" : " are") + " not");
        }
    }

    // The current spectrum is the last one read.
    if (last_read > 0) {
        std::copy_n(store.file_column(last_read).begin(), n_channels, store.CURRENT_SPECTRUM.begin());
    }
    if (store.FILE_SPECTRUM_COUNT > 0) {
        store.LOADED_SPECTRUM_FILE = file_name;
        store.CHANNEL_COUNT = static_cast<int>(channels);
        result.channel_count = static_cast<int>(channels);
        result.format = detected;
    }
    return result;
}

LoadResult load_spectrum_stream(SpectrumStore& store, common::Ui& ui, std::istream& in,
                                const std::string& file_name, bool quiet) {
    store.FILE_SPECTRUM_COUNT = 0;
    // The stream is read within the same bound as a file.
    std::string text;
    std::array<char, 64 * 1024> buffer{};
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        text.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
        if (static_cast<std::int64_t>(text.size()) > common::MAX_INPUT_FILE_BYTES) {
            common::WARN(ui, common::too_large_text(file_name, static_cast<std::int64_t>(text.size())));
            return LoadResult{};
        }
    }
    return load_spectrum_text(store, ui, text, file_name, quiet);
}

std::optional<std::string> read_whole_file(const std::string& file_name) {
    common::InputFile file = common::read_input_file(file_name);
    if (!file.ok()) {
        return std::nullopt;
    }
    return std::move(file.text);
}

LoadResult LOAD_SPECTRUM_FILE(SpectrumStore& store, common::Ui& ui, const std::string& file_name,
                              bool quiet) {
    store.FILE_SPECTRUM_COUNT = 0;
    const common::InputFile file = common::read_input_file(file_name);
    if (!file.ok()) {
        if (!quiet) {
            common::WARN(ui, common::input_problem_text(file, file_name,
                                                        "Error opening the spectrum file: " + file_name));
        }
        return LoadResult{};
    }
    return load_spectrum_text(store, ui, file.text, file_name, quiet);
}

}  // namespace vorelbox::spectra
