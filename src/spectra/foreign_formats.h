#pragma once
// The kinds of other instruments' files that the program reads besides its own,
// Maestro .chn and tagged .spe files: which extension names which kind, their
// type texts and codes, and their identification and conversion, which
// CHECK_SPECTRUM_FILE and CONVERT_SPECTRUM_FILE hand them to.

#include <optional>
#include <string>
#include <string_view>

#include "convert_spectrum_file.h"
#include "foreign_spectra.h"
#include "spectrum_store.h"
#include "ui.h"

namespace vorelbox::spectra {

struct CheckResult;

enum class ForeignKind { Cnf, N42, Mca, Iec, Tka, Columns };

inline constexpr const char* TYPE_TEXT_CNF = "Canberra (cnf)";
inline constexpr const char* TYPE_TEXT_N42 = "N42 (n42)";
inline constexpr const char* TYPE_TEXT_MCA = "Amptek (mca)";
inline constexpr const char* TYPE_TEXT_IEC = "IEC 61455 (iec)";
inline constexpr const char* TYPE_TEXT_TKA = "TKA (tka)";
inline constexpr const char* TYPE_TEXT_COLUMNS = "Column text";  // followed by " (csv)", " (tsv)" or " (txt)"
inline constexpr const char* TYPE_CNF = "Cnf";
inline constexpr const char* TYPE_N42 = "N42";
inline constexpr const char* TYPE_MCA = "Mca";
inline constexpr const char* TYPE_IEC = "Iec";
inline constexpr const char* TYPE_TKA = "Tka";
inline constexpr const char* TYPE_COLUMNS = "Col";

// The kind a lower-case extension names: ".cnf", ".n42", ".xml", ".mca", ".iec",
// ".tka", ".csv", ".tsv", ".txt". A .txt file may still turn out to be a native
// spectrum file (txt_is_column_text).
std::optional<ForeignKind> foreign_kind(std::string_view extension);

// True for every name whose extension the identification knows, these kinds and
// the program's older ones (.dat, .chn, .spe, .lmc, .cvc), without regard to case.
bool is_identified_spectrum_name(std::string_view path);

// The file-dialog filter part that offers these kinds:
// "Other instruments (*.cnf;*.n42;...)|*.cnf;*.n42;...|"
std::string foreign_files_filter();

std::string foreign_type_text(ForeignKind kind, std::string_view extension);
const char* foreign_type_code(ForeignKind kind);

// The bytes layer and the path layer of the kind's reader.
ForeignRead read_foreign_bytes(ForeignKind kind, std::string_view bytes, const std::string& file_name);
ForeignRead read_foreign_file(ForeignKind kind, const std::string& path);

// Puts the spectra into the store as a file's spectra: column k holds spectrum
// k, its header the header_line the native copy gets, CURRENT_SPECTRUM spectrum
// 1. False, after a message, when the memory cannot be had.
bool store_foreign_spectra(SpectrumStore& store, common::Ui& ui, const ForeignRead& read,
                           const std::string& file_name);

// CHECK_SPECTRUM_FILE for these kinds: reads the file into the store and fills
// `r` (type, pane, description); a .txt file that is a native spectrum file is
// read as one, and one that is neither stays unidentified without a message.
// Problems and notes are shown through `ui`. False when nothing was read.
bool check_foreign_file(SpectrumStore& store, common::Ui& ui, ForeignKind kind, const std::string& file_name,
                        CheckResult& r);

// CONVERT_SPECTRUM_FILE for these kinds: writes the native copy of every
// spectrum read (see write_native_copy); a .txt file that is a native spectrum
// file is left alone and named as the target.
ConvertResult convert_foreign_file(common::Ui& ui, ForeignKind kind, const std::string& source,
                                   const std::string& output_dir, ExistingFile existing,
                                   common::FileOps& ops = common::system_file_ops());

}  // namespace vorelbox::spectra
