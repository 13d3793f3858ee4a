// Line classification of the native reader: DETECT_FORMAT, count_data_values and
// reads_as_data agree, a derived fixed format holds every value of the line, and a header line as the
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
    // A fixed layout describes every value of the line. (A first field wider than
    // the edit formats allow, after hundreds of blanks, is described but not read
    // back: the reader reads the values, not the format.)
    if (f.is_data() && f.kind == "fixed") {
        const auto read = common::parse_edit_format(f.read_format);
        fuzz::check(!read || read->values_per_line() == f.n, "the format " + f.read_format + " misses values");
        const auto integer = common::parse_edit_format(f.integer_format);
        fuzz::check(!integer || integer->values_per_line() == f.n, "the format " + f.integer_format + " misses values");
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
