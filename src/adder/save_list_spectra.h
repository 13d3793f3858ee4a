#pragma once
// "Save spectra": the rows of a spectrum list, their channel-by-channel sum, or
// both, as one native spectrum file.

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "spectrum_list.h"

namespace vorelbox::adder {

enum class SaveMode { Spectra, Sum, Both };

// The sum of every channel over the rows, added exactly in row order.
std::vector<double> list_sum(const SpectrumList& list);

// The local date and time now.
std::tm local_time_now();

// "VORELIX SUM SPECTRUM: 1024, channels 08-12-2026 14:05"
std::string default_sum_label(int channels, const std::tm& when);

// The count format for what is written: "(10i8)", or wider fields when the
// widest count written (a row's or the sum's) needs them.
std::string list_count_format(const SpectrumList& list, SaveMode mode, const std::vector<double>& sum);

// How many spectra the file would hold: the rows, the sum, or both.
int spectra_to_write(const SpectrumList& list, SaveMode mode);

// The warning when the file would hold more spectra than the reader reads back
// from one file; nothing when they fit.
std::optional<std::string> too_many_spectra(const SpectrumList& list, SaveMode mode);

// Writes the file in one step (the old file stays when writing fails): the rows
// (Spectra, Both) and then, when `sum_label` is given, the sum (Sum, Both), every
// count truncated toward zero. Nothing is written when the file would hold more
// spectra than can be read back from one file. The result says why it could not
// be written.
common::SaveResult write_list_spectra(const std::string& path, const SpectrumList& list, SaveMode mode,
                                      const std::optional<std::string>& sum_label,
                                      common::FileOps& ops = common::system_file_ops());

}  // namespace vorelbox::adder
