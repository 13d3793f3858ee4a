// The reader of Canberra CNF files on any bytes.

#include "fuzz_foreign.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vorelbox::fuzz::fuzz_foreign(vorelbox::spectra::ForeignKind::Cnf, data, size, "fuzz.cnf");
}
