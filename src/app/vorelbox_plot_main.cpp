// The drawing half of vorelbox-cli: `vorelbox-cli plot ...` runs this program with
// the same arguments, so that only a plot pays for Qt.

#include <iostream>
#include <string>
#include <vector>

#include "plot_command.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args.front() == "plot") {
        args.erase(args.begin());
    }
    return vorelbox::platform::run_plot_command(args, std::cout, std::cerr);
}
