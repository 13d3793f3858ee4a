#pragma once
// The help texts of vorelbox-cli: one synopsis and one option list per command,
// shown by `--help`, by `COMMAND --help` and under every usage error.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vorelbox::cli {

struct CommandHelp {
    std::string_view name;
    std::string_view synopsis;  // the arguments after "vorelbox-cli NAME"
    std::string_view summary;   // one line
    std::string_view details;   // the options, one paragraph each
};

// The commands, in the order the overview lists them.
const std::vector<CommandHelp>& command_helps();
// Nothing for a command that does not exist.
const CommandHelp* find_command_help(std::string_view name);

// "vorelbox-cli 1.50 (28-jul-2020)".
std::string version_line();

// `vorelbox-cli --help`.
void write_overview(std::ostream& out);
// `vorelbox-cli COMMAND --help`.
void write_command_help(std::ostream& out, const CommandHelp& help);

// True when the arguments of a command ask for its help ("--help" or "-h").
bool asks_for_help(const std::vector<std::string>& args);

// A usage error of a command: the message, the command's usage line and where
// to read more on the error stream, {"error": ...} on the output. Returns CLI_USAGE.
int usage_error(std::ostream& out, std::ostream& err, std::string_view command, const std::string& error);

}  // namespace vorelbox::cli
