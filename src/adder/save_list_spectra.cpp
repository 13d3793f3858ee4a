#include "save_list_spectra.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "load_spectrum_file.h"
#include "write_spectrum_file.h"

namespace vorelbox::adder {
namespace {

std::vector<double> truncated(const std::vector<double>& counts, int channels) {
    std::vector<double> out(static_cast<std::size_t>(std::max(channels, 0)), 0.0);
    for (std::size_t i = 0; i < out.size() && i < counts.size(); ++i) {
        out[i] = std::trunc(counts[i]);
    }
    return out;
}

}  // namespace

std::vector<double> list_sum(const SpectrumList& list) {
    std::vector<double> sum(static_cast<std::size_t>(std::max(list.channels, 0)), 0.0);
    for (const ListRow& row : list.rows) {
        for (std::size_t j = 0; j < sum.size() && j < row.counts.size(); ++j) {
            sum[j] += row.counts[j];
        }
    }
    return sum;
}

std::tm local_time_now() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

std::string default_sum_label(int channels, const std::tm& when) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d-%02d-%04d %02d:%02d", when.tm_mday, when.tm_mon + 1,
                  when.tm_year + 1900, when.tm_hour, when.tm_min);
    return "VORELIX SUM SPECTRUM: " + std::to_string(channels) + ", channels " + stamp;
}

std::string list_count_format(const SpectrumList& list, SaveMode mode, const std::vector<double>& sum) {
    // The widest count written decides, so that every field keeps a blank before
    // its count: a row of large negative counts can be wider than the sum.
    std::vector<std::vector<double>> values;
    if (mode != SaveMode::Sum) {
        for (const ListRow& row : list.rows) {
            values.push_back(truncated(row.counts, list.channels));
        }
    }
    if (mode != SaveMode::Spectra) {
        values.push_back(truncated(sum, list.channels));
    }
    std::vector<spectra::SpectrumToWrite> written;
    for (const auto& v : values) {
        written.push_back({std::string(), v});
    }
    return spectra::count_format_for(written);
}

int spectra_to_write(const SpectrumList& list, SaveMode mode) {
    return (mode == SaveMode::Sum ? 0 : list.row_count()) + (mode == SaveMode::Spectra ? 0 : 1);
}

std::optional<std::string> too_many_spectra(const SpectrumList& list, SaveMode mode) {
    const int count = spectra_to_write(list, mode);
    if (count <= spectra::MAX_FILE_SPECTRA) {
        return std::nullopt;
    }
    const std::string what = mode == SaveMode::Both ? "the list and its sum make " : "the list has ";
    return "A spectrum file holds at most " + std::to_string(spectra::MAX_FILE_SPECTRA) + " spectra - " + what +
           std::to_string(count) + "\rNothing is saved: remove rows from the list, or save the sum on its own";
}

common::SaveResult write_list_spectra(const std::string& path, const SpectrumList& list, SaveMode mode,
                                      const std::optional<std::string>& sum_label, common::FileOps& ops) {
    if (too_many_spectra(list, mode)) {
        return {common::SaveProblem::Content, {}};
    }
    const std::vector<double> sum = list_sum(list);
    const std::string format = list_count_format(list, mode, sum);
    std::vector<std::vector<double>> values;
    values.reserve(list.rows.size() + 1);
    std::vector<spectra::SpectrumToWrite> spectra;
    if (mode != SaveMode::Sum) {
        for (const ListRow& row : list.rows) {
            values.push_back(truncated(row.counts, list.channels));
            spectra.push_back({row.header, values.back()});
        }
    }
    if (mode != SaveMode::Spectra && sum_label) {
        values.push_back(truncated(sum, list.channels));
        spectra.push_back({*sum_label, values.back()});
    }
    if (spectra.empty()) {
        return {common::SaveProblem::Content, {}};
    }
    return spectra::write_spectrum_file(path, spectra, format, ops);
}

}  // namespace vorelbox::adder
