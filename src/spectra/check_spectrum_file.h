#pragma once
// Identification of any file picked as a spectrum source: its kind, its spectra
// loaded into the store, and the acquisition data of the foreign kinds.

#include <optional>
#include <string>
#include <vector>

#include "foreign_spectra.h"
#include "maestro_chn.h"
#include "raw_file.h"
#include "spectrum_store.h"
#include "tagged_spe.h"
#include "tembra_file.h"
#include "ui.h"

namespace vorelbox::spectra {

// Spectrum type texts and codes.
inline constexpr const char* TYPE_TEXT_NATIVE = "Vorelix (dat)";
inline constexpr const char* TYPE_TEXT_TEMBRA = "Tembra (dat)";
inline constexpr const char* TYPE_TEXT_MAESTRO = "Maestro (chn)";
inline constexpr const char* TYPE_TEXT_SPE = "Mirdal (spe)";
inline constexpr const char* TYPE_TEXT_INTRINSIC = "Vorelix (intrinsic)";
inline constexpr const char* TYPE_TEXT_UNIDENTIFIED = "Unidentified";
inline constexpr const char* TYPE_NATIVE = "Dat";
inline constexpr const char* TYPE_TEMBRA = "Pos";
inline constexpr const char* TYPE_MAESTRO = "Che";
inline constexpr const char* TYPE_SPE = "Spe";
inline constexpr const char* TYPE_INTRINSIC = "Intrinsic";

// Unit numbers of the byte-level reads.
constexpr int CHN_UNIT = 17;

struct CheckResult {
    std::string file_name;  // the file identified: a control file may name another one
    std::string type_code;  // empty when the file was not identified
    std::string type_text = TYPE_TEXT_UNIDENTIFIED;
    int channels = 0;  // 0: not a spectrum file
    int spectra = 0;
    std::string description;  // the sample description
    std::string header;       // the header of the first spectrum
    std::vector<std::string> headers;
    std::string format;  // the count format of a native file
    std::optional<MaestroPane> maestro;
    std::optional<SpePane> spe;
    std::optional<TembraPane> tembra;
    std::optional<AcquisitionPane> foreign;  // the other instruments' kinds (foreign_formats.h)
    std::string tembra_name;  // for a Tembra file: its name ending in "_tembra.dat"
    bool converted = false;   // the spectrum came from a file of a foreign kind
};

CheckResult CHECK_SPECTRUM_FILE(SpectrumStore& store, RawFileTable& files, common::Ui& ui,
                                const std::string& file_name);

}  // namespace vorelbox::spectra
