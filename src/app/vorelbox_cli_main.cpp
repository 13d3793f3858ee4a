#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "plot_command.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Drawing a plot needs Qt's drawing; every other command is plain.
    if (!args.empty() && args.front() == "plot") {
        return vorelbox::platform::run_plot_command({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
    return vorelbox::core::run_cli(args, std::cout, std::cerr);
}
