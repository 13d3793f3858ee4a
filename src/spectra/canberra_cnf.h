#pragma once
// Canberra CNF files (Genie 2000, Falcon, InSpector): binary, little-endian,
// made of blocks that a directory at the start of the file lists. Each of its
// entries (48 bytes from byte 112 on) gives a block's kind and its byte offset;
// the block repeats its kind in its first four bytes. Read here:
//   acquisition block (0x12000): start date and time (100 ns ticks since
//     17 Nov 1858), real and live time (negative 100 ns ticks), the energy
//     calibration (four floats in the PDP-11 layout), detector and MCA names;
//   sample block (0x12001): the sample title and description;
//   channel data block (0x12005): the channel count and the counts (uint32).
// The blocks may come in any order; the acquisition block may lack its "PHA"
// keyword and its times may be zero.

#include <string>
#include <string_view>

#include "foreign_spectra.h"

namespace vorelbox::spectra {

ForeignRead read_cnf_bytes(std::string_view bytes, const std::string& file_name);
ForeignRead read_cnf_file(const std::string& path);

// "2014-01-12 15:12:28" of a CNF date (100 ns ticks since 17 Nov 1858); empty
// for 0 and for dates before 1900 or after 2199, which no measurement has.
std::string cnf_date_text(std::uint64_t ticks);

}  // namespace vorelbox::spectra
