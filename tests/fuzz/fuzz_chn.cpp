// The Maestro .chn reader on any bytes.

#include "fuzz_support.h"
#include "maestro_chn.h"

using namespace vorelbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const spectra::ChnRead r = spectra::parse_chn(fuzz::as_text(data, size));
    if (r.problem == spectra::ChnProblem::None) {
        fuzz::check(!r.file.counts.empty() && r.file.counts.size() <= 32767, "a channel count out of range");
        fuzz::check(4 * r.file.counts.size() + 32 <= size, "counts beyond the end of the file");
        const spectra::MaestroPane pane = spectra::maestro_pane(r.file);
        const std::string header = spectra::chn_header(r.file);
        fuzz::check(header.find('\n') == std::string::npos && pane.detector.find('\n') == std::string::npos,
                    "a description of two lines");
    } else {
        fuzz::check(!spectra::chn_problem_text(r.problem, "fuzz.chn").empty(), "a problem without a message");
    }
    return 0;
}
