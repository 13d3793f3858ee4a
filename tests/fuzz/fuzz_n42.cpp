// The reader of N42 documents (2006 and 2012), through the XML parser on any bytes.

#include "fuzz_foreign.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vorelbox::fuzz::fuzz_foreign(vorelbox::spectra::ForeignKind::N42, data, size, "fuzz.n42");
}
