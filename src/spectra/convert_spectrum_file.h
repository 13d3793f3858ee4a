#pragma once
// Native copies of foreign spectrum files: "run1.spe" or "run1.chn" gets
// "run1.dat" beside it, which the native reader reads.

#include <string>

#include "raw_file.h"
#include "ui.h"

namespace vorelbox::spectra {

struct ConvertResult {
    std::string target;      // the file to load: the native copy, or the source itself
    bool is_tembra = false;  // the source is a ".dat" file in the Tembra layout
    bool written = false;    // a native copy was written
    bool failed = false;     // a problem was reported; nothing was written
};

// The name of the native copy: the source's folder and name with ".dat", in
// `output_dir` instead when it is given.
std::string native_copy_name(const std::string& source, const std::string& output_dir = "");

// Writes the native copy of a ".spe" or ".chn" file (replacing an older copy in
// one step) and tells whether a ".dat" file is a Tembra file. Other files are
// left alone and named as the target.
ConvertResult CONVERT_SPECTRUM_FILE(RawFileTable& files, common::Ui& ui, const std::string& source,
                                    const std::string& output_dir = "");

}  // namespace vorelbox::spectra

namespace vorelbox::spectra {

// The native copy of a Tembra file, named after it with the ending "_tembra.dat".
std::string tembra_copy_name(const std::string& source, const std::string& output_dir = "");
ConvertResult convert_tembra_file(common::Ui& ui, const std::string& source, const std::string& output_dir = "");

}  // namespace vorelbox::spectra
