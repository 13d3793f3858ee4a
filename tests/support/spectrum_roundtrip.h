#pragma once
// The write-then-read property of native spectrum files, shared by the property
// test and the round-trip fuzz target: spectra written by write_spectra read back
// through the native reader as the same spectra (counts rounded to integers,
// headers as header_line gives them), without a message.
//
// Spectra are built from a stream of bytes, so that a fuzzer's input and a seeded
// random generator drive the same builder.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "auto_answer_ui.h"
#include "edit_format.h"
#include "load_spectrum_file.h"
#include "text_utils.h"
#include "write_spectrum_file.h"

namespace vorelbox::test_support {

// Takes bytes from the front of an input; 0 once it is used up.
class ByteSource {
public:
    explicit ByteSource(std::string_view bytes) : bytes_(bytes) {}
    std::uint8_t byte() {
        if (pos_ >= bytes_.size()) {
            return 0;
        }
        return static_cast<std::uint8_t>(bytes_[pos_++]);
    }
    std::uint32_t number(int bytes) {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            v = (v << 8) | byte();
        }
        return v;
    }
    std::string_view take(std::size_t count) {
        const std::size_t n = std::min(count, bytes_.size() - std::min(pos_, bytes_.size()));
        const std::string_view part = bytes_.substr(std::min(pos_, bytes_.size()), n);
        pos_ += n;
        return part;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

struct RoundTripCase {
    std::vector<std::string> headers;
    std::vector<std::vector<double>> counts;  // one vector a spectrum, all of one length
    std::string format;
    std::size_t header_limit = 80;
};

// A header of one of the kinds that have gone wrong or could: digits and
// separators only ("2024 05 01"), blank, long, Latin-1 and other raw bytes, a
// byte-order mark in front, or plain text.
inline std::string make_header(ByteSource& in) {
    const std::uint8_t kind = in.byte() % 8;
    const std::size_t length = in.byte() % 120;
    std::string h;
    switch (kind) {
        case 0: {  // reads as data: digits, points, minus signs, blanks, tabs, commas
            constexpr std::string_view chars = "0123456789.- \t,";
            for (std::size_t i = 0; i < length % 40 + 1; ++i) {
                h += chars[in.byte() % chars.size()];
            }
            break;
        }
        case 1:  // blank: nothing, blanks, tabs, control characters
            for (std::size_t i = 0; i < length % 6; ++i) {
                h += " \t\r\n\v\x01"[in.byte() % 6];
            }
            break;
        case 2:  // longer than a header line
            for (std::size_t i = 0; i < 80 + length; ++i) {
                h += static_cast<char>('A' + in.byte() % 26);
            }
            break;
        case 3:  // Latin-1 letters between plain ones
            for (std::size_t i = 0; i < length % 50 + 1; ++i) {
                const std::uint8_t b = in.byte();
                h += static_cast<char>(b % 3 == 0 ? 0xC0 + b % 64 : 'a' + b % 26);
            }
            break;
        case 4:  // a byte-order mark in front of a header of any other kind
            h = "\xEF\xBB\xBF";
            h += make_header(in);
            break;
        case 5:  // any bytes at all
            h = std::string(in.take(length));
            break;
        case 6:  // a header that starts like data and goes on as text
            h = std::to_string(in.number(2)) + " keV run " + std::to_string(in.byte());
            break;
        default:
            h = "Sample " + std::to_string(in.number(2));
            break;
    }
    return h;
}

// A count of one of the kinds a file can hold: small, zero, negative, large (up to
// 2^53, the largest integer a count keeps exactly) or with a fraction.
inline double make_count(ByteSource& in) {
    const std::uint8_t kind = in.byte() % 8;
    switch (kind) {
        case 0:
            return 0.0;
        case 1:
            return -static_cast<double>(in.number(3));
        case 2: {
            const std::uint64_t high = in.number(3) & 0x1FFFFF;  // 21 bits
            return static_cast<double>((high << 32) | in.number(4));
        }
        case 3:
            return -static_cast<double>(in.number(4)) * 1000.0;
        case 4:
            return static_cast<double>(in.number(2)) + in.byte() / 256.0;
        default:
            return static_cast<double>(in.number(kind - 4));
    }
}

inline RoundTripCase make_case(ByteSource& in) {
    RoundTripCase c;
    const int spectra = 1 + in.byte() % 100;
    const std::uint8_t length_kind = in.byte() % 4;
    // Many short spectra, some of whole lines, a few long ones.
    const int channels = length_kind == 0   ? 1 + in.byte() % 12
                         : length_kind == 1 ? 10 * (1 + in.byte() % 8)
                         : length_kind == 2 ? 1 + static_cast<int>(in.number(1)) * 3
                                            : 1 + static_cast<int>(in.number(2) % 4096);
    const std::uint8_t repeat_kind = in.byte();
    // At most about 20,000 counts a case, so that a fuzzer tries many cases.
    const int spectra_kept = std::max(1, std::min(spectra, 20000 / channels));
    for (int k = 0; k < spectra_kept; ++k) {
        c.headers.push_back(make_header(in));
        std::vector<double> counts;
        counts.reserve(static_cast<std::size_t>(channels));
        for (int i = 0; i < channels; ++i) {
            // Long spectra of many equal counts keep a case cheap.
            counts.push_back(i > 16 && repeat_kind % 2 == 0 ? counts[static_cast<std::size_t>(i % 16)]
                                                            : make_count(in));
        }
        c.counts.push_back(std::move(counts));
    }
    std::vector<spectra::SpectrumToWrite> to_write;
    for (std::size_t k = 0; k < c.counts.size(); ++k) {
        to_write.push_back({c.headers[k], c.counts[k]});
    }
    switch (in.byte() % 4) {
        case 0:
            c.format = spectra::count_format_for(to_write);
            break;
        case 1:
            c.format = spectra::eight_per_line_format(c.counts.front());
            break;
        case 2:
            c.format = "(10i8)";  // too narrow for large counts: they are written in full
            break;
        default:
            c.format = common::integer_format(1 + in.byte() % 12, 2 + in.byte() % 20);
            break;
    }
    c.header_limit = in.byte() % 2 == 0 ? 80 : 200;
    return c;
}

// Nothing when the case reads back as written; otherwise what differed.
inline std::optional<std::string> round_trip_mismatch(const RoundTripCase& c) {
    std::vector<spectra::SpectrumToWrite> to_write;
    for (std::size_t k = 0; k < c.counts.size(); ++k) {
        to_write.push_back({c.headers[k], c.counts[k], c.header_limit});
    }
    std::ostringstream out;
    if (!spectra::write_spectra(out, to_write, c.format)) {
        return "the spectra were not written in " + c.format;
    }
    const std::string text = out.str();
    spectra::SpectrumStore store;
    common::AutoAnswerUi ui(false);
    const spectra::LoadResult read = spectra::load_spectrum_text(store, ui, text, "roundtrip.dat");
    const auto channels = static_cast<int>(c.counts.front().size());
    const auto spectra_count = static_cast<int>(c.counts.size());
    if (!ui.messages().empty()) {
        return "the reader said: " + ui.messages().front() + "\nfile:\n" + text;
    }
    if (read.channel_count != channels || store.FILE_SPECTRUM_COUNT != spectra_count) {
        return std::to_string(spectra_count) + " spectra of " + std::to_string(channels) + " channels read back as " +
               std::to_string(store.FILE_SPECTRUM_COUNT) + " of " + std::to_string(read.channel_count) +
               "\nfile:\n" + text;
    }
    for (int k = 1; k <= spectra_count; ++k) {
        const auto index = static_cast<std::size_t>(k - 1);
        const std::string expected(common::trim_right(
            common::cut_chars(spectra::header_line(c.headers[index], k, c.header_limit), spectra::HEADER_LENGTH)));
        if (store.FILE_SPECTRUM_HEADERS[index] != expected) {
            return "header " + std::to_string(k) + " read back as \"" + store.FILE_SPECTRUM_HEADERS[index] +
                   "\", written as \"" + expected + "\"";
        }
        const std::vector<double>& column = store.FILE_SPECTRA[index];
        for (int i = 0; i < channels; ++i) {
            const double written = std::round(c.counts[index][static_cast<std::size_t>(i)]);
            const double back = column[static_cast<std::size_t>(i)];
            if (back != written) {
                return "spectrum " + std::to_string(k) + " channel " + std::to_string(i + 1) + ": " +
                       std::to_string(written) + " read back as " + std::to_string(back) + " in " + c.format;
            }
        }
    }
    return std::nullopt;
}

}  // namespace vorelbox::test_support
