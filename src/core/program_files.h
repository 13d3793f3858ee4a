#pragma once
// The files that come with the program (Readme.txt, the manual, the sample
// spectra): beside the program first, as in its build folder, then in the
// installed data folder, found relative to the program's folder.

#include <string>
#include <vector>

namespace vorelbox::core {

// Where `name` may be, in the order the program looks.
std::vector<std::string> shipped_file_candidates(const std::string& name, const std::string& program_folder);

// The first of those that exists (a file or a folder); empty when none does.
std::string find_shipped_file(const std::string& name, const std::string& program_folder);

// "The sample spectra are in FOLDER ...", or that they were not found.
std::string samples_message(const std::string& program_folder);

}  // namespace vorelbox::core
