#pragma once
// The one writer of native spectrum files: per spectrum a header line of at most
// 80 characters, then the counts as integers in right-justified fields of one width.

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "safe_file.h"

namespace vorelbox::spectra {

// Eight counts a line, ten columns each.
inline constexpr std::string_view EIGHT_BY_TEN_FORMAT = "(8i10)";

struct SpectrumToWrite {
    std::string header;
    std::span<const double> counts;
    // Header lines are cut to this many characters. Converted foreign files keep
    // longer headers; the reader keeps the first 80 of them.
    std::size_t header_limit = 80;
};

// Columns a count needs when written as an integer with a blank before it.
int columns_needed(double count);

// "(10i8)", or, when the widest count needs 9 or more columns, as many fields of
// that width as fit into 80 columns: 99,999,999 gives "(8i9)", 100,000,000 "(8i10)".
std::string count_format_for(std::span<const double> counts);
std::string count_format_for(const std::vector<SpectrumToWrite>& spectra);

// Eight counts a line in 10 columns, "(8i10)", or in wider fields when a count
// needs more than 10 columns.
std::string eight_per_line_format(std::span<const double> counts);

// The header line written for spectrum `number` (1-based): the header cut to
// `limit` characters, without byte-order marks at its start, control characters
// made blanks (so that it stays one line), trailing blanks removed. A blank
// header becomes "Spectrum 2", because a blank line is not read back as a header;
// a header that the reader could take for counts (reads_as_data: "2024 05 01")
// keeps its text behind the same words, "Spectrum 2: 2024 05 01", so that the
// file reads back as the same spectra.
std::string header_line(std::string_view header, int number, std::size_t limit = 80);

// Writes the spectra in the format text, each under its header_line; false when
// the format cannot be read or the stream fails.
bool write_spectra(std::ostream& out, const std::vector<SpectrumToWrite>& spectra,
                   std::string_view format_text);

// Writes (or replaces in one step) a spectrum file. On failure, said in the
// result, an existing file is left as it was.
common::SaveResult write_spectrum_file(const std::string& path, const std::vector<SpectrumToWrite>& spectra,
                                       std::string_view format_text,
                                       common::FileOps& ops = common::system_file_ops());

// A title line of at most 80 characters that names a file: the title followed by
// the path, with the middle of a long path replaced by "..." so that the file
// name stays whole. When title and file name cannot both be whole, the title is
// shortened; a file name of more than 77 characters keeps its end. "/" and "\"
// both separate folders.
std::string LONG_TITLE(std::string_view title, std::string_view path);

}  // namespace vorelbox::spectra
