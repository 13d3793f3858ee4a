#include "save_list_spectra.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <span>

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

// What writing counts truncated needs to know of them, found in one pass.
struct CountsSurvey {
    // The counts truncated that decide the field width: the smallest and the
    // largest (truncation keeps counts in order, so they are the smallest and
    // largest counts truncated; a count missing counts as 0), and a NaN when
    // there is one.
    std::vector<double> extremes;
    // Every one of the first `channels` counts is there and a whole number
    // already, so that truncating them changes none.
    bool whole = false;
};

// Surveys the first `channels` counts; with `sum`, then adds each of them to
// its channel's sum, while they are still in the cache.
CountsSurvey survey(const std::vector<double>& counts, int channels, std::span<double> sum = {}) {
    const auto n = static_cast<std::size_t>(std::max(channels, 0));
    const std::size_t there = std::min(n, counts.size());
    // Four lanes of each, so that the comparisons of one count need not wait for
    // those of the count before; plain selections and sums, so that the
    // compiler can make them vector operations.
    constexpr std::size_t lanes = 4;
    // Adding and taking away 2^52 rounds a size up to 2^52 to a whole number,
    // and every larger size is whole already. A NaN stays a NaN, which is no
    // whole number either.
    constexpr double whole_from = 4503599627370496.0;  // 2^52
    const double start = there < n ? 0.0 : std::numeric_limits<double>::infinity();
    std::array<double, lanes> low{start, start, start, start};
    std::array<double, lanes> high{-start, -start, -start, -start};
    std::array<std::int64_t, lanes> nans{};
    std::array<std::int64_t, lanes> fractions{};
    const auto take = [&](std::size_t lane, double c) {
        low[lane] = c < low[lane] ? c : low[lane];
        high[lane] = high[lane] < c ? c : high[lane];
        nans[lane] += c != c ? 1 : 0;
        const double size = std::min(std::abs(c), whole_from);
        fractions[lane] += (size + whole_from) - whole_from != size ? 1 : 0;
    };
    std::size_t i = 0;
    for (; i + lanes <= there; i += lanes) {
        for (std::size_t lane = 0; lane < lanes; ++lane) {
            take(lane, counts[i + lane]);
        }
    }
    for (; i < there; ++i) {
        take(0, counts[i]);
    }
    const std::size_t summed = std::min(there, sum.size());
    for (std::size_t j = 0; j < summed; ++j) {
        sum[j] += counts[j];
    }
    for (std::size_t lane = 1; lane < lanes; ++lane) {
        low[0] = std::min(low[0], low[lane]);
        high[0] = std::max(high[0], high[lane]);
        nans[0] += nans[lane];
        fractions[0] += fractions[lane];
    }
    CountsSurvey result;
    result.whole = there == n && fractions[0] == 0;
    if (low[0] <= high[0]) {
        result.extremes = {std::trunc(low[0]), std::trunc(high[0])};
    }
    if (nans[0] > 0) {
        result.extremes.push_back(std::numeric_limits<double>::quiet_NaN());
    }
    return result;
}

// The count format for the extremes of every spectrum written.
std::string format_for(const std::vector<CountsSurvey>& surveys) {
    std::vector<double> extremes;
    for (const CountsSurvey& s : surveys) {
        extremes.insert(extremes.end(), s.extremes.begin(), s.extremes.end());
    }
    return spectra::count_format_for(extremes);
}

// The surveys of the counts written: the rows' (Spectra, Both), then the sum's (Sum, Both).
std::vector<CountsSurvey> surveys_of(const SpectrumList& list, SaveMode mode, const std::vector<double>& sum) {
    std::vector<CountsSurvey> surveys;
    if (mode != SaveMode::Sum) {
        for (const ListRow& row : list.rows) {
            surveys.push_back(survey(row.counts, list.channels));
        }
    }
    if (mode != SaveMode::Spectra) {
        surveys.push_back(survey(sum, list.channels));
    }
    return surveys;
}

}  // namespace

std::vector<double> list_sum(const SpectrumList& list) {
    std::vector<double> sum(static_cast<std::size_t>(std::max(list.channels, 0)), 0.0);
    for (const ListRow& row : list.rows) {
        const std::size_t n = std::min(sum.size(), row.counts.size());
        for (std::size_t j = 0; j < n; ++j) {
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
    return format_for(surveys_of(list, mode, sum));
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
    // The rows are surveyed as they are summed: the sum is list_sum's.
    std::vector<double> sum(static_cast<std::size_t>(std::max(list.channels, 0)), 0.0);
    std::vector<CountsSurvey> surveys;
    for (const ListRow& row : list.rows) {
        CountsSurvey row_survey = survey(row.counts, list.channels, sum);
        if (mode != SaveMode::Sum) {
            surveys.push_back(std::move(row_survey));
        }
    }
    if (mode != SaveMode::Spectra) {
        surveys.push_back(survey(sum, list.channels));
    }
    const std::string format = format_for(surveys);
    // Counts that are whole already are written as they are; others are
    // written from a truncated copy.
    std::vector<std::vector<double>> copies;
    copies.reserve(surveys.size());
    std::size_t surveyed = 0;  // the survey of the next counts written
    const auto written = [&](const std::vector<double>& counts) -> std::span<const double> {
        if (surveys[surveyed++].whole) {
            return std::span<const double>(counts).first(static_cast<std::size_t>(std::max(list.channels, 0)));
        }
        copies.push_back(truncated(counts, list.channels));
        return copies.back();
    };
    std::vector<spectra::SpectrumToWrite> spectra;
    if (mode != SaveMode::Sum) {
        for (const ListRow& row : list.rows) {
            spectra.push_back({row.header, written(row.counts)});
        }
    }
    if (mode != SaveMode::Spectra && sum_label) {
        spectra.push_back({*sum_label, written(sum)});
    }
    if (spectra.empty()) {
        return {common::SaveProblem::Content, {}};
    }
    return spectra::write_spectrum_file(path, spectra, format, ops);
}

}  // namespace vorelbox::adder
