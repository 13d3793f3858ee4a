// Write-then-read: spectra built from the input, written by the native writer,
// read back by the native reader, must be the same spectra.

#include "fuzz_support.h"
#include "support/spectrum_roundtrip.h"

using namespace vorelbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    test_support::ByteSource in(fuzz::as_text(data, size));
    const test_support::RoundTripCase c = test_support::make_case(in);
    if (const auto mismatch = test_support::round_trip_mismatch(c)) {
        fuzz::fail(*mismatch);
    }
    return 0;
}
