// The reader of IEC 61455 files on any bytes.

#include "fuzz_foreign.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vorelbox::fuzz::fuzz_foreign(vorelbox::spectra::ForeignKind::Iec, data, size, "fuzz.iec");
}
