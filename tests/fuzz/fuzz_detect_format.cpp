// Line classification of the native reader: DETECT_FORMAT, count_data_values and
// reads_as_data agree, a derived format can be read, and a header line as the
// writer writes it is never taken for data.

#include "detect_format.h"
#include "edit_format.h"
#include "fuzz_support.h"
#include "write_spectrum_file.h"

using namespace vorelbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line = fuzz::as_text(data, size);
    const spectra::DetectedFormat f = spectra::DETECT_FORMAT(line);
    fuzz::check(spectra::count_data_values(line) == (f.is_data() ? f.n : 0), "count_data_values disagrees");
    fuzz::check(spectra::reads_as_data(line) == (f.n > 0), "reads_as_data disagrees");
    if (f.is_data()) {
        fuzz::check(common::parse_edit_format(f.read_format).has_value(), "unreadable format " + f.read_format);
        fuzz::check(f.integer_format.empty() || common::parse_edit_format(f.integer_format).has_value(),
                    "unreadable format " + f.integer_format);
    }
    for (const int number : {1, 2, 100}) {
        for (const std::size_t limit : {std::size_t{80}, std::size_t{200}}) {
            const std::string header = spectra::header_line(line, number, limit);
            fuzz::check(!spectra::reads_as_data(header), "the header \"" + header + "\" reads as data");
            fuzz::check(header.find('\n') == std::string::npos, "a header of two lines");
        }
    }
    return 0;
}
