#include "spectrum_store.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <type_traits>

#include "count_log.h"
#include "text_utils.h"

namespace vorelbox::spectra {

std::vector<double>& SpectrumStore::file_column(int k) {
    auto& column = FILE_SPECTRA.at(static_cast<std::size_t>(k - 1));
    if (column.size() != static_cast<std::size_t>(CHANNEL_CAPACITY)) {
        column.resize(static_cast<std::size_t>(CHANNEL_CAPACITY), 0.0);
    }
    return column;
}

std::vector<double>& SpectrumStore::list_column(int k) {
    auto& column = LIST_SPECTRA.at(static_cast<std::size_t>(k - 1));
    if (column.size() != static_cast<std::size_t>(CHANNEL_CAPACITY)) {
        column.resize(static_cast<std::size_t>(CHANNEL_CAPACITY), 0.0);
    }
    return column;
}

std::int64_t capacity_for(std::int64_t requested) {
    if (requested <= 1) {
        return 2;
    }
    // g = trunc(ln(requested) / ln 2 + 1), with ln 2 rounded to single precision;
    // the doubling below mends the cases where that rounding falls short.
    const auto g = static_cast<std::int64_t>(std::log(static_cast<double>(requested)) / 0.6931472 + 1.0);
    if (g >= 31) {
        return 0;
    }
    std::int64_t target = std::int64_t{1} << g;
    if (target < requested) {
        target *= 2;
    }
    if (target > (std::int64_t{1} << 30)) {
        return 0;  // the capacity must stay a 32-bit channel number
    }
    // For exact powers of two the formula gives twice the request; the smallest
    // power of two not below the request is wanted.
    while (target / 2 >= requested && target > 2) {
        target /= 2;
    }
    return target;
}

bool REALLOCATE_SPECTRA(SpectrumStore& store, std::int64_t requested) {
    const std::int64_t target = capacity_for(requested);
    if (target == 0) {
        return false;
    }
    if (store.CHANNEL_CAPACITY >= target) {
        return true;
    }
    const auto rows = static_cast<std::size_t>(target);
    try {
        if (store.CHANNEL_CAPACITY <= 0) {
            std::vector<double> current(rows, -1.0);
            store.CURRENT_SPECTRUM.swap(current);
            for (auto& column : store.FILE_SPECTRA) {
                column.clear();
                column.shrink_to_fit();
            }
            for (auto& column : store.LIST_SPECTRA) {
                column.clear();
                column.shrink_to_fit();
            }
        } else {
            // Grow copies first, so that a failure leaves the old arrays as they were.
            auto grown = [rows](const std::vector<double>& old) {
                std::vector<double> bigger(rows, 0.0);
                std::copy(old.begin(), old.end(), bigger.begin());
                return bigger;
            };
            std::vector<double> current = grown(store.CURRENT_SPECTRUM);
            std::vector<std::vector<double>> file(store.FILE_SPECTRA.size());
            std::vector<std::vector<double>> list(store.LIST_SPECTRA.size());
            for (std::size_t k = 0; k < file.size(); ++k) {
                if (!store.FILE_SPECTRA[k].empty()) {
                    file[k] = grown(store.FILE_SPECTRA[k]);
                }
            }
            for (std::size_t k = 0; k < list.size(); ++k) {
                if (!store.LIST_SPECTRA[k].empty()) {
                    list[k] = grown(store.LIST_SPECTRA[k]);
                }
            }
            store.CURRENT_SPECTRUM.swap(current);
            store.FILE_SPECTRA.swap(file);
            store.LIST_SPECTRA.swap(list);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    store.CHANNEL_CAPACITY = static_cast<int>(target);
    return true;
}

void reset_store(SpectrumStore& store) {
    store = SpectrumStore{};
}

namespace {

std::int32_t whole_count(double count) {
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (!(count > lowest)) {
        return std::isnan(count) ? 0 : std::numeric_limits<std::int32_t>::min();
    }
    if (!(count < highest)) {
        return std::numeric_limits<std::int32_t>::max();
    }
    // Counts are whole numbers in almost every file: those need no rounding.
    const auto whole = static_cast<std::int32_t>(count);
    return static_cast<double>(whole) == count ? whole : static_cast<std::int32_t>(std::lround(count));
}

// What both forms of store_single_spectrum share: CURRENT_SPECTRUM and column 1
// are written in one pass over the counts; RAW_COUNTS is left to the caller.
template <typename Count>
bool store_counts(SpectrumStore& store, std::span<const Count> counts, const std::string& header) {
    const auto n = static_cast<int>(counts.size());
    if (n > store.CHANNEL_CAPACITY && !REALLOCATE_SPECTRA(store, n)) {
        return false;
    }
    // The memory is taken first, so that a failure leaves the store as it was.
    const auto capacity = static_cast<std::size_t>(store.CHANNEL_CAPACITY);
    std::vector<double>& column = store.FILE_SPECTRA[0];
    try {
        if (column.size() != capacity) {
            std::vector<double> fresh(capacity);
            column.swap(fresh);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    double* const current = store.CURRENT_SPECTRUM.data();
    double* const first = column.data();
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const auto count = static_cast<double>(counts[i]);
        current[i] = count;
        first[i] = count;
    }
    store.FILE_SPECTRUM_COUNT = 1;
    store.FILE_SPECTRUM_HEADERS[0] = std::string(common::trim_right(common::cut_chars(header, HEADER_LENGTH)));
    store.CHANNEL_COUNT = n;
    return true;
}

}  // namespace

bool store_single_spectrum(SpectrumStore& store, std::span<const double> counts, const std::string& header) {
    std::vector<std::int32_t> raw;
    try {
        raw.resize(counts.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::transform(counts.begin(), counts.end(), raw.begin(), whole_count);
    if (!store_counts(store, counts, header)) {
        return false;
    }
    store.RAW_COUNTS.swap(raw);
    return true;
}

bool store_single_spectrum(SpectrumStore& store, std::vector<std::int32_t> counts, const std::string& header) {
    if (!store_counts(store, std::span<const std::int32_t>(counts), header)) {
        return false;
    }
    store.RAW_COUNTS.swap(counts);
    return true;
}

double count_log(double count) { return common::count_log10(std::max(count, 0.5)); }

std::span<const double> log_spectrum(SpectrumStore& store, int first, int last) {
    first = std::max(first, 1);
    last = std::min({last, store.CHANNEL_COUNT, static_cast<int>(store.CURRENT_SPECTRUM.size())});
    if (last < first) {
        return {};
    }
    const std::size_t rows = store.CURRENT_SPECTRUM.size();
    if (store.CURRENT_LOG_SPECTRUM.size() != rows || store.LOG_SOURCE.size() != rows) {
        try {
            std::vector<double> log(rows, 0.1);
            std::vector<double> source(rows, std::numeric_limits<double>::quiet_NaN());
            store.CURRENT_LOG_SPECTRUM.swap(log);
            store.LOG_SOURCE.swap(source);
        } catch (const std::bad_alloc&) {
            return {};
        }
    }
    const double* const counts = store.CURRENT_SPECTRUM.data();
    double* const source = store.LOG_SOURCE.data();
    double* const log = store.CURRENT_LOG_SPECTRUM.data();
    for (auto i = static_cast<std::size_t>(first - 1); i < static_cast<std::size_t>(last); ++i) {
        // NaN equals nothing: a channel never read, or a NaN count, is taken afresh.
        if (!(source[i] == counts[i])) {
            source[i] = counts[i];
            log[i] = count_log(counts[i]);
        }
    }
    return {log + (first - 1), static_cast<std::size_t>(last - first + 1)};
}

std::string too_many_channels_text(const std::string& file_name, std::int64_t channels) {
    return "The spectrum file " + std::string(common::trim(file_name)) + " holds a spectrum of " +
           (channels > MAX_CHANNELS ? std::to_string(channels) : "more than " + std::to_string(MAX_CHANNELS)) +
           " channels; at most " + std::to_string(MAX_CHANNELS) + " channels can be read";
}

}  // namespace vorelbox::spectra
