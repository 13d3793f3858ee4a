#include "maestro_chn.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "dialog_values.h"
#include "input_file.h"
#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

constexpr std::size_t header_bytes = 32;
constexpr std::size_t detector_offset = 256;  // from the trailer code
constexpr std::size_t sample_offset = 320;
constexpr std::size_t description_max = 63;

class Bytes {
public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
    bool has(std::size_t at, std::size_t count) const { return at <= bytes_.size() && count <= bytes_.size() - at; }
    std::int16_t int16(std::size_t at) const {
        const auto lo = static_cast<std::uint16_t>(byte(at));
        const auto hi = static_cast<std::uint16_t>(byte(at + 1));
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
    }
    std::int32_t int32(std::size_t at) const {
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            v |= static_cast<std::uint32_t>(byte(at + k)) << (8 * k);
        }
        return static_cast<std::int32_t>(v);
    }
    float real32(std::size_t at) const {
        const auto bits = static_cast<std::uint32_t>(int32(at));
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::string text(std::size_t at, std::size_t count) const { return std::string(bytes_.substr(at, count)); }
    // A length byte and up to 63 characters; what lies beyond the end of the file is left out.
    std::string counted_text(std::size_t at) const {
        if (!has(at, 1)) {
            return {};
        }
        const std::size_t length = std::min<std::size_t>(byte(at), description_max);
        const std::size_t available = std::min(length, bytes_.size() - at - 1);
        return std::string(common::cut_at_nul(bytes_.substr(at + 1, available)));
    }

private:
    unsigned char byte(std::size_t at) const { return static_cast<unsigned char>(bytes_[at]); }
    std::string_view bytes_;
};

}  // namespace

ChnRead parse_chn(std::string_view bytes) {
    ChnRead r;
    const Bytes b(bytes);
    if (!b.has(0, header_bytes)) {
        r.problem = b.has(0, 2) && b.int16(0) != -1 ? ChnProblem::IllegalType : ChnProblem::ReadError;
        return r;
    }
    if (b.int16(0) != -1) {
        r.problem = ChnProblem::IllegalType;
        return r;
    }
    ChnFile& f = r.file;
    f.detector_number = b.int16(2);
    f.segment_number = b.int16(4);
    f.start_seconds = b.text(6, 2);
    f.real_ticks = b.int32(8);
    f.live_ticks = b.int32(12);
    f.start_date = b.text(16, 8);
    f.start_time = b.text(24, 4);
    f.channel_offset = b.int16(28);
    const int n = b.int16(30);
    const std::size_t trailer_at = header_bytes + 4 * static_cast<std::size_t>(std::max(n, 0));
    // The channel count must be positive and the counts and the trailer code must be there.
    if (n <= 0 || !b.has(trailer_at, 2)) {
        r.problem = ChnProblem::ReadError;
        return r;
    }
    f.counts.resize(static_cast<std::size_t>(n));
    if constexpr (std::endian::native == std::endian::little) {
        // The counts are stored as this processor holds them: one copy takes them all.
        std::memcpy(f.counts.data(), bytes.data() + header_bytes, 4 * f.counts.size());
    } else {
        for (std::size_t i = 0; i < f.counts.size(); ++i) {
            f.counts[i] = b.int32(header_bytes + 4 * i);
        }
    }
    f.trailer = b.int16(trailer_at);
    if (f.trailer != -101 && f.trailer != -102) {
        r.problem = ChnProblem::BadTail;
        return r;
    }
    // The word after the trailer code is reserved; the calibrations follow it.
    // Writers that cut the trailer short leave out what is missing.
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t at = trailer_at + 4 + 4 * k;
        f.energy[k] = b.has(at, 4) ? b.real32(at) : 0.0;
    }
    for (std::size_t k = 0; k < 2; ++k) {
        const std::size_t at = trailer_at + 16 + 4 * k;
        f.shape[k] = b.has(at, 4) ? b.real32(at) : 0.0;
    }
    f.detector = b.counted_text(trailer_at + detector_offset);
    f.sample = b.counted_text(trailer_at + sample_offset);
    return r;
}

ChnRead read_chn_file(RawFileTable& files, int unit, const std::string& file_name) {
    // The file is read whole in one go rather than through the unit, which is
    // left closed, as after any reading of a .chn file. Nothing after the
    // longest trailer is read: a longer file is read as far as that.
    CLOSE_FILE(files, unit);
    const common::InputFile file = common::read_input_start(file_name, static_cast<std::int64_t>(MAX_CHN_BYTES));
    if (!file.ok()) {
        ChnRead r;
        r.problem = file.problem == common::InputProblem::ReadError ? ChnProblem::ReadError : ChnProblem::CannotOpen;
        return r;
    }
    return parse_chn(file.text);
}

std::string chn_problem_text(ChnProblem problem, const std::string& file_name) {
    switch (problem) {
        case ChnProblem::CannotOpen:
            return "Error opening the spectrum file: " + file_name;
        case ChnProblem::IllegalType:
            return "Illegal Maestro .chn file";
        case ChnProblem::BadTail:
            return "Bad tail in Maestro .chn file";
        case ChnProblem::ReadError:
            return "Error reading file: " + file_name;
        case ChnProblem::None:
            break;
    }
    return {};
}

std::string chn_date_text(const ChnFile& chn) {
    std::string date = chn.start_date;
    date.resize(8, ' ');
    std::string day = date.substr(0, 2);
    if (day[0] == '0') {
        day[0] = ' ';
    }
    std::string text = day;
    text += date.substr(2, 3);
    text += date[7] == '1' ? " 20" : " 19";
    text += date.substr(5, 2);
    // The fields are raw bytes: a damaged file must not put a line break in a header.
    return common::blank_control_chars(text);
}

std::string chn_time_text(const ChnFile& chn) {
    std::string hhmm = chn.start_time;
    hhmm.resize(4, ' ');
    std::string text = hhmm.substr(0, 2);
    text += ':';
    text += hhmm.substr(2, 2);
    text += ':';
    text += chn.start_seconds;
    return common::blank_control_chars(text);
}

MaestroPane maestro_pane(const ChnFile& chn) {
    MaestroPane p;
    p.detector_number = chn.detector_number;
    p.segment_number = chn.segment_number;
    p.date = chn_date_text(chn);
    p.start_time = chn_time_text(chn);
    p.real_time = common::DLGSETREAL("(f10.2)", chn.real_ticks * 20.0 / 1000.0);
    p.live_time = common::DLGSETREAL("(f10.2)", chn.live_ticks * 20.0 / 1000.0);
    p.detector = one_line(chn.detector);
    for (std::size_t k = 0; k < 3; ++k) {
        p.energy[k] = common::DLGSETREAL("(f10.4)", chn.energy[k]);
    }
    for (std::size_t k = 0; k < 2; ++k) {
        p.shape[k] = common::DLGSETREAL("(f10.4)", chn.shape[k]);
    }
    return p;
}

std::string chn_header(const ChnFile& chn) {
    std::string header = one_line(chn.sample);
    header += " - ";
    header += chn_date_text(chn);
    header += ' ';
    header += chn_time_text(chn);
    return header;
}

std::string one_line(std::string_view text) {
    return std::string(common::trim(common::blank_control_chars(common::cut_at_nul(text))));
}

}  // namespace vorelbox::spectra
