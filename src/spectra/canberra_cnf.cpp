#include "canberra_cnf.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "maestro_chn.h"
#include "spectrum_store.h"
#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

constexpr std::size_t directory_start = 0x70;
constexpr std::size_t entry_size = 0x30;
constexpr std::size_t max_entries = 40;  // the entries that fit before the first block at byte 2048
constexpr std::uint32_t acquisition_block = 0x12000;
constexpr std::uint32_t sample_block = 0x12001;
constexpr std::uint32_t channel_block = 0x12005;
constexpr std::size_t block_header = 0x30;

class Bytes {
public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
    std::size_t size() const { return bytes_.size(); }
    bool has(std::size_t at, std::size_t count) const { return at <= bytes_.size() && count <= bytes_.size() - at; }
    std::uint8_t byte(std::size_t at) const { return static_cast<std::uint8_t>(bytes_[at]); }
    std::uint16_t u16(std::size_t at) const {
        return static_cast<std::uint16_t>(byte(at) | (byte(at + 1) << 8));
    }
    std::uint32_t u32(std::size_t at) const {
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            v |= static_cast<std::uint32_t>(byte(at + k)) << (8 * k);
        }
        return v;
    }
    std::uint64_t u64(std::size_t at) const {
        return static_cast<std::uint64_t>(u32(at)) | (static_cast<std::uint64_t>(u32(at + 4)) << 32);
    }
    // A PDP-11 float: the two 16-bit halves of an IEEE float in swapped order,
    // holding four times the value.
    double cam_float(std::size_t at) const {
        const std::uint32_t bits = static_cast<std::uint32_t>(u16(at + 2)) | (static_cast<std::uint32_t>(u16(at)) << 16);
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return std::isfinite(value) ? static_cast<double>(value) / 4.0 : 0.0;
    }
    // A duration: negative 100 ns ticks, or, with 0x80 in its last byte, years
    // (millions of years when byte 4 is 1).
    double cam_duration(std::size_t at) const {
        if (byte(at + 7) == 0x80) {
            const auto years = static_cast<double>(static_cast<std::int32_t>(u32(at)));
            return std::abs(years * (byte(at + 4) == 1 ? 1e6 : 1.0)) * 31557600.0;
        }
        const auto ticks = static_cast<std::int64_t>(u64(at));
        return std::abs(static_cast<double>(ticks)) / 1e7;
    }
    // A text field: up to its first NUL, trailing blanks removed.
    std::string text(std::size_t at, std::size_t count) const {
        if (!has(at, count)) {
            return {};
        }
        return one_line(common::cut_at_nul(bytes_.substr(at, count)));
    }

private:
    std::string_view bytes_;
};

struct Block {
    std::size_t at = 0;
    bool found = false;
};

std::string byte_text(std::size_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%zu", value);
    return buffer;
}

// The proleptic Gregorian date of a day count from 1 Jan 1970.
void civil_from_days(long long days, long long& year, unsigned& month, unsigned& day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const auto doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<long long>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

std::string cnf_date_text(std::uint64_t ticks) {
    if (ticks == 0) {
        return {};
    }
    constexpr long long seconds_before_1970 = 3506716800LL;  // from 17 Nov 1858
    const auto seconds = static_cast<long long>(ticks / 10000000ULL) - seconds_before_1970;
    const long long days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    const long long in_day = seconds - days * 86400;
    long long year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civil_from_days(days, year, month, day);
    if (year < 1900 || year > 2199) {
        return {};
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u %02lld:%02lld:%02lld", year, month, day, in_day / 3600,
                  in_day / 60 % 60, in_day % 60);
    return buffer;
}

ForeignRead read_cnf_bytes(std::string_view bytes, const std::string& file_name) {
    const Bytes b(bytes);
    if (!b.has(directory_start, entry_size)) {
        return read_error(file_name, "A Canberra CNF file starts with a directory of its blocks; this file is too short for one");
    }
    Block acquisition;
    Block sample;
    Block channels;
    bool acquisition_timed = false;
    for (std::size_t i = 0; i < max_entries; ++i) {
        const std::size_t entry = directory_start + i * entry_size;
        if (!b.has(entry, entry_size)) {
            break;
        }
        const std::uint32_t kind = b.u32(entry);
        if (kind != acquisition_block && kind != sample_block && kind != channel_block) {
            continue;
        }
        const std::size_t at = b.u32(entry + 0x0a);
        if (!b.has(at, block_header)) {
            if (kind == channel_block) {
                return read_error(file_name, "The file is cut short: its channel data block starts at byte " + byte_text(at) +
                                                 ", the file ends at byte " + byte_text(b.size()));
            }
            continue;
        }
        if (b.u32(at) != kind) {
            continue;  // the directory and the block disagree
        }
        if (kind == channel_block) {
            channels = {at, true};  // the last one, as other readers take it
        } else if (kind == sample_block && !sample.found) {
            sample = {at, true};
        } else if (kind == acquisition_block && !acquisition_timed) {
            // The first block with a live time; the first block at all otherwise.
            const std::size_t times = at + block_header + b.u16(at + 0x24) + 1;
            const bool timed = b.has(times, 24) && b.cam_duration(times + 16) > 0;
            if (!acquisition.found || timed) {
                acquisition = {at, true};
                acquisition_timed = timed;
            }
        }
    }
    if (!channels.found) {
        return read_error(file_name, "The file holds no channel data block");
    }
    const std::size_t n = b.u16(channels.at + 0x2a);
    const std::size_t data = channels.at + b.u16(channels.at + 0x10) + b.u16(channels.at + 0x28);
    if (n == 0) {
        return read_error(file_name, "The channel data block holds no channels");
    }
    if (!b.has(data, 4 * n)) {
        return read_error(file_name, "The file is cut short: the counts of its " + std::to_string(n) +
                                         " channels end at byte " + byte_text(data + 4 * n) + ", the file at byte " +
                                         byte_text(b.size()));
    }

    ForeignRead r;
    ForeignSpectrum s;
    s.counts.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        s.counts[k] = static_cast<double>(b.u32(data + 4 * k));
    }
    AcquisitionPane& p = r.pane;
    p.format = "Canberra CNF";
    p.spectra_in_file = 1;
    if (acquisition.found) {
        const std::size_t at = acquisition.at;
        const std::uint16_t flag = b.u16(at + 0x04);
        const std::size_t record = (flag == 0x700 || flag == 0x300) ? 0 : b.u16(at + 0x22);
        const std::size_t times = at + block_header + b.u16(at + 0x24) + 1;
        if (b.has(times, 24)) {
            s.start = cnf_date_text(b.u64(times));
            s.real_time = b.cam_duration(times + 8);
            s.live_time = b.cam_duration(times + 16);
        }
        const std::size_t calibration = at + block_header + record + 0x44;
        if (b.has(calibration, 16)) {
            std::vector<double> e;
            for (std::size_t k = 0; k < 4; ++k) {
                e.push_back(b.cam_float(calibration + 4 * k));
            }
            while (e.size() > 2 && e.back() == 0) {
                e.pop_back();
            }
            if (e[0] != 0 || e[1] != 0) {
                p.energy = e;
            }
        }
        const std::size_t names = at + b.u16(at + 0x10) + record;
        s.detector = foreign_header({b.text(names + 0x108, 16), b.text(names + 0x2dc, 8)});
        p.instrument = foreign_header({b.text(names + 0x9c, 8), b.text(names + 0x1cb, 8)});
    }
    if (sample.found) {
        const std::size_t at = sample.at + b.u16(sample.at + 0x10);
        p.sample = foreign_header({b.text(at, 64), b.text(at + 0x33e, 256)});
    }
    p.detector = s.detector;
    p.start = s.start;
    p.real_time = s.real_time;
    p.live_time = s.live_time;
    r.description = p.sample;
    s.header = foreign_header({p.sample.empty() ? common::name_with_extension(file_name) : p.sample, s.start});
    r.spectra.push_back(std::move(s));
    return r;
}

ForeignRead read_cnf_file(const std::string& path) { return read_foreign_bytes_of(path, read_cnf_bytes); }

}  // namespace vorelbox::spectra
