// Replays inputs through a fuzz target without fuzzing, so that every target's
// corpus runs as an ordinary test in a build without libFuzzer.
//
//   fuzz_x [--base=DIR] PATH...
//
// A PATH is an input file, a folder (every file in it, sorted by name), or
// @LIST: a file naming one input a line, relative names taken from DIR (the
// real instrument files are named this way, so that they are not copied).
// A failed property aborts the program, naming the input.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool run_one(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.string().c_str());
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replay: %s (%zu bytes)\n", path.string().c_str(), bytes.size());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path base;
    std::vector<fs::path> inputs;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--base=", 0) == 0) {
            base = arg.substr(7);
        } else if (!arg.empty() && arg.front() == '@') {
            std::ifstream list(arg.substr(1));
            if (!list) {
                std::fprintf(stderr, "replay: cannot read the list %s\n", arg.c_str() + 1);
                ok = false;
            }
            std::string line;
            while (std::getline(list, line)) {
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                }
                if (!line.empty() && line.front() != '#') {
                    inputs.push_back(fs::path(line).is_absolute() ? fs::path(line) : base / line);
                }
            }
        } else if (fs::is_directory(arg)) {
            std::vector<fs::path> found;
            for (const auto& entry : fs::directory_iterator(arg)) {
                if (entry.is_regular_file()) {
                    found.push_back(entry.path());
                }
            }
            std::sort(found.begin(), found.end());
            inputs.insert(inputs.end(), found.begin(), found.end());
        } else {
            inputs.emplace_back(arg);
        }
    }
    // Targets may change the working folder: every name is made absolute first.
    for (fs::path& input : inputs) {
        input = fs::absolute(input);
    }
    std::size_t ran = 0;
    for (const fs::path& input : inputs) {
        if (run_one(input)) {
            ++ran;
        } else {
            ok = false;
        }
    }
    std::printf("replay: %zu inputs ran\n", ran);
    return ok && ran > 0 ? 0 : 1;
}
