#pragma once
// Maestro ".chn" files: binary, little-endian, one spectrum with its acquisition data.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "raw_file.h"

namespace vorelbox::spectra {

struct ChnFile {
    int detector_number = 0;
    int segment_number = 0;
    std::string start_seconds;  // "SS"
    std::int32_t real_ticks = 0;  // units of 20 ms
    std::int32_t live_ticks = 0;
    std::string start_date;  // "DDMMMYY" and a century flag: "1" for 2000-2099
    std::string start_time;  // "HHMM"
    int channel_offset = 0;
    std::vector<std::int32_t> counts;
    int trailer = 0;                 // -101 or -102
    std::array<double, 3> energy{};  // zero intercept, slope, quadratic term
    std::array<double, 2> shape{};   // peak shape: zero intercept, slope
    std::string detector;            // detector description
    std::string sample;              // sample description
};

enum class ChnProblem { None, CannotOpen, IllegalType, BadTail, ReadError };

struct ChnRead {
    ChnFile file;
    ChnProblem problem = ChnProblem::None;
};

// The largest .chn file that can be: 32767 channels and a full trailer.
constexpr std::size_t MAX_CHN_BYTES = 32 + 4 * 32767 + 512;

// Reads the bytes of a .chn file. A file that claims more than it holds is a read error.
ChnRead parse_chn(std::string_view bytes);
// Reads a .chn file, a regular file of which at most MAX_CHN_BYTES are read;
// `unit` is closed.
ChnRead read_chn_file(RawFileTable& files, int unit, const std::string& file_name);

// The message for a problem, with the file's name where it has one.
std::string chn_problem_text(ChnProblem problem, const std::string& file_name);

// "31Jan 2019": the day (a leading 0 shown as a blank), the month, and the year
// with its century (" 20" when the century flag is "1", else " 19").
std::string chn_date_text(const ChnFile& chn);
// "15:17:20". Control characters in the raw fields of both texts become blanks.
std::string chn_time_text(const ChnFile& chn);

// The acquisition data as the Maestro pane shows them.
struct MaestroPane {
    int detector_number = 0;
    int segment_number = 0;
    std::string date;
    std::string start_time;
    std::string real_time;  // seconds, "(f10.2)"
    std::string live_time;
    std::string detector;
    std::array<std::string, 3> energy;  // "(f10.4)": zero intercept, slope, quadratic term
    std::array<std::string, 2> shape;   // "(f10.4)": zero intercept, slope
};
MaestroPane maestro_pane(const ChnFile& chn);

// The header line of a converted .chn file: sample description, " - ", date and time.
std::string chn_header(const ChnFile& chn);

// A description text made fit for one line: control characters become blanks,
// surrounding blanks are removed.
std::string one_line(std::string_view text);

}  // namespace vorelbox::spectra
