// The reader of column text files (.csv; .txt files that are no native file are read the same way) on any bytes.

#include "fuzz_foreign.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vorelbox::fuzz::fuzz_foreign(vorelbox::spectra::ForeignKind::Columns, data, size, "fuzz.csv");
}
