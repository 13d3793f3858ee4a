#pragma once
// Pasting a spectrum copied as text (a spreadsheet column, say): the clipboard
// text is stored in a file, checked value by value, and the file is rewritten as
// a native spectrum file of one spectrum.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clipboard.h"
#include "raw_file.h"
#include "safe_file.h"
#include "ui.h"

namespace vorelbox::spectra {

// The unit on which the clipboard text is written.
inline constexpr int CLIPBOARD_UNIT = 21;

// The header line of a pasted spectrum.
inline constexpr std::string_view PASTED_HEADER = "Spectrum pasted from clipboard";

// Writes the clipboard text, byte for byte, into the file. False, after a
// warning, when the clipboard cannot be read or the file cannot be written.
bool CLIPBOARDTOFILE(common::Clipboard& clipboard, RawFileTable& files, common::Ui& ui,
                     const std::string& file_name);

// Puts the text on the clipboard, trailing blanks removed.
void WRITETOCLIPBOARD(common::Clipboard& clipboard, std::string_view text);

struct PastedSpectrum {
    std::vector<double> counts;  // as pasted (and rescaled); rounded only when written
};

// Checks a pasted text and reads its values as one spectrum of `list_channels`
// channels (0: as many as were pasted), asking and telling the user on the way.
// Nothing when the paste was stopped.
std::optional<PastedSpectrum> check_pasted_text(common::Ui& ui, std::string_view text, int list_channels);

// Writes (or replaces in one step) a native spectrum file holding the pasted
// spectrum under PASTED_HEADER; the result says why it could not be written.
common::SaveResult write_pasted_spectrum(const std::string& path, const PastedSpectrum& pasted);

struct PasteResult {
    bool ok = false;
    int channels = 0;
};

// Checks the text stored in the file and, when it is accepted, replaces the file
// by the native spectrum file. On every stop the file is left as it was.
PasteResult CHECK_PASTED_SPECTRA(common::Ui& ui, const std::string& file_name, int list_channels);

// Where a paste is stored: "pasted_spectrum.tmp" in the program's folder, or in
// the user's temporary folder when the program's folder cannot be written (an
// installed program).
std::string pasted_spectrum_path(const std::string& program_folder);

// The file for a new paste, in the folder of pasted_spectrum_path():
// "pasted_spectrum.tmp", else "pasted_spectrum_2.tmp", "pasted_spectrum_3.tmp",
// ..., the first that does not exist. A paste so never replaces the spectrum of
// an earlier paste that a list or the converter still names.
std::string new_pasted_spectrum_path(const std::string& program_folder);

// True for the file of a paste: "pasted_spectrum.tmp", "pasted_spectrum_2.tmp", ...
// It holds a native spectrum file under a name the identification does not know.
bool is_pasted_spectrum_file(const std::string& path);

}  // namespace vorelbox::spectra
