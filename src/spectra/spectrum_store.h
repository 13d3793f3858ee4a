#pragma once
// The one home of spectrum data: the spectra of the last loaded file, the spectrum
// being worked on, the spectrum-list cache and the raw counts of a foreign file.
// Channel i of a spectrum is element i-1 of its vector.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vorelbox::spectra {

constexpr int FILE_SPECTRA_COLUMNS = 100;
constexpr int LIST_SPECTRA_COLUMNS = 99;
constexpr std::size_t HEADER_LENGTH = 80;
// The most channels a spectrum may have: 262,144, four times the 65,536 of the
// largest multichannel analysers. Every reader refuses a spectrum with more,
// with a message, before memory is taken for it.
constexpr int MAX_CHANNELS = 262144;

struct SpectrumStore {
    // Allocated channel rows of every array below: 0 or a power of two of at least 2.
    int CHANNEL_CAPACITY = 0;
    // Channels of the spectrum or spectra now held.
    int CHANNEL_COUNT = 0;
    // Columns of the last loaded file, 1..100. A column is allocated (to
    // CHANNEL_CAPACITY rows) the first time it is written, so that a file of a
    // few long spectra does not cost 100 long columns.
    std::vector<std::vector<double>> FILE_SPECTRA = std::vector<std::vector<double>>(FILE_SPECTRA_COLUMNS);
    int FILE_SPECTRUM_COUNT = 0;
    // Header k of the file, at most 80 characters, trailing blanks removed.
    std::array<std::string, FILE_SPECTRA_COLUMNS> FILE_SPECTRUM_HEADERS;
    std::vector<double> CURRENT_SPECTRUM;
    // The logarithms of CURRENT_SPECTRUM, taken only when a logarithmic plot reads
    // them through log_spectrum, and only for the channels it reads: LOG_SOURCE[i]
    // is the count whose logarithm CURRENT_LOG_SPECTRUM[i] holds (NaN: none yet),
    // so a changed count is never shown with an old logarithm. Both stay empty
    // until the first read.
    std::vector<double> CURRENT_LOG_SPECTRUM;
    std::vector<double> LOG_SOURCE;
    // Spectrum-list cache, columns 1..99, allocated like FILE_SPECTRA.
    std::vector<std::vector<double>> LIST_SPECTRA = std::vector<std::vector<double>>(LIST_SPECTRA_COLUMNS);
    std::vector<std::int32_t> RAW_COUNTS;
    std::string LOADED_SPECTRUM_FILE;

    // Column k (1-based) of FILE_SPECTRA / LIST_SPECTRA, allocated on first use.
    std::vector<double>& file_column(int k);
    std::vector<double>& list_column(int k);
};

// The capacity that a request for `requested` channels leads to: the smallest power
// of two not below it, and 2 for a request of 1. 0 when no capacity can hold it.
std::int64_t capacity_for(std::int64_t requested);

// Makes CHANNEL_CAPACITY at least `requested`, keeping every value held.
// Returns false, with the store untouched, when the memory cannot be had.
bool REALLOCATE_SPECTRA(SpectrumStore& store, std::int64_t requested);

// Empties the store: no capacity, no spectra, nothing allocated.
void reset_store(SpectrumStore& store);

// Puts the one spectrum of a foreign file into the store: RAW_COUNTS, CURRENT_SPECTRUM
// and column 1 of FILE_SPECTRA, with its header. RAW_COUNTS holds the counts
// rounded to whole numbers within 32 bits. False, with the store as it was, when
// the memory cannot be had.
bool store_single_spectrum(SpectrumStore& store, std::span<const double> counts, const std::string& header);
// The same for counts that are whole 32-bit numbers already (a Maestro file's),
// which become RAW_COUNTS as they are.
bool store_single_spectrum(SpectrumStore& store, std::vector<std::int32_t> counts, const std::string& header);

// "The spectrum file NAME holds a spectrum of N channels; at most 262144 channels
// can be read". A count not above the limit (0: a spectrum not counted to its
// end) is shown as "more than 262144".
std::string too_many_channels_text(const std::string& file_name, std::int64_t channels);

// The logarithm a logarithmic plot shows for a count: log10 of the count, counts
// below 0.5 (zero and negative ones too) taken as 0.5.
double count_log(double count);

// CURRENT_LOG_SPECTRUM for channels first..last (kept within 1..CHANNEL_COUNT),
// each taken from CURRENT_SPECTRUM with count_log unless it is held already.
// Empty when no channel is left, or when the memory cannot be had.
std::span<const double> log_spectrum(SpectrumStore& store, int first, int last);

}  // namespace vorelbox::spectra
