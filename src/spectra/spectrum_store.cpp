#include "spectrum_store.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

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
            std::vector<double> log(rows, 0.1);
            store.CURRENT_SPECTRUM.swap(current);
            store.CURRENT_LOG_SPECTRUM.swap(log);
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
            std::vector<double> log = grown(store.CURRENT_LOG_SPECTRUM);
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
            store.CURRENT_LOG_SPECTRUM.swap(log);
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

bool store_single_spectrum(SpectrumStore& store, const std::vector<double>& counts, const std::string& header) {
    const auto n = static_cast<int>(counts.size());
    if (n > store.CHANNEL_CAPACITY && !REALLOCATE_SPECTRA(store, n)) {
        return false;
    }
    store.RAW_COUNTS.resize(counts.size());
    for (std::size_t i = 0; i < counts.size(); ++i) {
        store.RAW_COUNTS[i] = static_cast<std::int32_t>(std::clamp<double>(
            std::round(counts[i]), std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    }
    std::copy(counts.begin(), counts.end(), store.CURRENT_SPECTRUM.begin());
    std::copy(counts.begin(), counts.end(), store.file_column(1).begin());
    store.FILE_SPECTRUM_COUNT = 1;
    store.FILE_SPECTRUM_HEADERS[0] = std::string(common::trim_right(common::cut_chars(header, HEADER_LENGTH)));
    store.CHANNEL_COUNT = n;
    return true;
}

void update_log_spectrum(SpectrumStore& store) {
    const auto n = static_cast<std::size_t>(std::clamp(store.CHANNEL_COUNT, 0, store.CHANNEL_CAPACITY));
    for (std::size_t i = 0; i < n; ++i) {
        store.CURRENT_LOG_SPECTRUM[i] = std::log10(std::max(store.CURRENT_SPECTRUM[i], 0.5));
    }
}

std::string too_many_channels_text(const std::string& file_name, std::int64_t channels) {
    return "The spectrum file " + std::string(common::trim(file_name)) + " holds a spectrum of " +
           (channels > MAX_CHANNELS ? std::to_string(channels) : "more than " + std::to_string(MAX_CHANNELS)) +
           " channels; at most " + std::to_string(MAX_CHANNELS) + " channels can be read";
}

}  // namespace vorelbox::spectra
