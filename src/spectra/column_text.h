#pragma once
// Column text files (.csv, .tsv, and .txt files that are not native spectrum
// files): one column of counts, or two columns (channel or energy, then the
// count), one channel a line. Commas, semicolons, tabs or blanks separate the
// columns; where the separator is not a comma, a decimal comma may stand for the
// point ("12,5"). Header lines may come before the numbers, blank lines anywhere.
// A first column of channel numbers must count up by one; one of energies must
// rise; counts must be whole numbers.

#include <string>
#include <string_view>

#include "foreign_spectra.h"

namespace vorelbox::spectra {

ForeignRead read_column_text_bytes(std::string_view bytes, const std::string& file_name);
ForeignRead read_column_text_file(const std::string& path);

// True when a .txt file is column text rather than a native spectrum file: it
// reads as column text and either starts with numbers (a native file starts with
// a header line), or has two columns, semicolons or decimal commas. A header and
// one column of counts read the same either way and stay a native file.
bool txt_is_column_text(std::string_view bytes);

}  // namespace vorelbox::spectra
