#pragma once
// Native copies of foreign spectrum files: "run1.spe" or "run1.chn" gets
// "run1.dat" beside it, which the native reader reads.

#include <string>
#include <string_view>

#include "raw_file.h"
#include "safe_file.h"
#include "ui.h"
#include "write_spectrum_file.h"

namespace vorelbox::spectra {

// What becomes of a file that has the native copy's name but holds another
// spectrum (the user's own measurement, perhaps).
enum class ExistingFile {
    Ask,      // the user is asked whether it is replaced
    Replace,  // it is replaced
    Keep,     // it is kept, and the copy is not written
};

enum class CopyOutcome {
    Written,    // the copy was written
    Unchanged,  // a file holding the same spectrum was there already and is left alone
    Kept,       // a file holding another spectrum was kept; nothing was written
    Failed,     // the copy could not be written
};

struct ConvertResult {
    std::string target;      // the file to load: the native copy, or the source itself
    bool is_tembra = false;  // the source is a ".dat" file in the Tembra layout
    bool written = false;    // the native copy is there: written now, or found unchanged
    bool failed = false;     // a problem was reported, or the copy was refused; nothing was written
    bool kept_existing = false;  // a different file of the copy's name was kept
};

struct NativeCopy {
    CopyOutcome outcome = CopyOutcome::Failed;
    common::SaveResult saved;  // why it failed
};

// Writes the native copy `target` of `source` in one step. A file of that name
// that reads as the same spectrum is left alone; one that holds anything else
// is replaced only as `existing` says. `when_kept` ends the question, telling
// what keeping the old file means for the caller.
NativeCopy write_native_copy(common::Ui& ui, const std::string& source, const std::string& target,
                             const SpectrumToWrite& spectrum, std::string_view format, ExistingFile existing,
                             std::string_view when_kept, common::FileOps& ops = common::system_file_ops());
// The same for a copy of several spectra (a file of another instrument that
// holds more than one); a file of that name is the same when it holds the same
// spectra in the same order.
NativeCopy write_native_copy(common::Ui& ui, const std::string& source, const std::string& target,
                             const std::vector<SpectrumToWrite>& spectra, std::string_view format,
                             ExistingFile existing, std::string_view when_kept,
                             common::FileOps& ops = common::system_file_ops());

// Writes the native copy that the caller reads next and warns when it fails.
// A copy not written (the old file kept, or a failure) leaves the source as the
// file to load and the conversion failed: the source is not read.
ConvertResult write_copy_to_read(common::Ui& ui, const std::string& source, const std::string& target,
                                 const std::vector<SpectrumToWrite>& spectra, std::string_view format,
                                 ExistingFile existing, common::FileOps& ops);

// The name of the native copy: the source's folder and name with ".dat", in
// `output_dir` instead when it is given.
std::string native_copy_name(const std::string& source, const std::string& output_dir = "");

// Writes the native copy of a ".spe" or ".chn" file, or of a file of one of the
// other instruments' kinds (foreign_formats.h) (see write_native_copy: the
// caller then reads the target, so keeping a different file means the source is
// not read) and tells whether a ".dat" file is a Tembra file. Other files, and
// ".txt" files that are native spectrum files, are left alone and named as the
// target. A copy that cannot be written is warned
// of, with the reason.
ConvertResult CONVERT_SPECTRUM_FILE(RawFileTable& files, common::Ui& ui, const std::string& source,
                                    const std::string& output_dir = "", ExistingFile existing = ExistingFile::Ask,
                                    common::FileOps& ops = common::system_file_ops());

}  // namespace vorelbox::spectra

namespace vorelbox::spectra {

// The native copy of a Tembra file, named after it with the ending "_tembra.dat".
std::string tembra_copy_name(const std::string& source, const std::string& output_dir = "");
ConvertResult convert_tembra_file(common::Ui& ui, const std::string& source, const std::string& output_dir = "",
                                  ExistingFile existing = ExistingFile::Ask,
                                  common::FileOps& ops = common::system_file_ops());

}  // namespace vorelbox::spectra
