#include "cli_help.h"

#include "cli.h"
#include "json_writer.h"
#include "version.h"

namespace vorelbox::cli {

const std::vector<CommandHelp>& command_helps() {
    static const std::vector<CommandHelp> helps{
        {"info", "[--counts] [--answer yes|no] FILE", "what a spectrum file holds, as one JSON object",
         "  FILE            a native spectrum file (.dat), a Maestro .chn, a tagged .spe,\n"
         "                  a Tembra file, a control file (.lmc, .cvc), or a file of another\n"
         "                  instrument: Canberra .cnf, N42 (.n42, .xml), Amptek .mca, IEC 61455\n"
         "                  .iec, .tka, column text (.csv, .tsv, .txt); its \"acquisition\" says\n"
         "                  the format, times, start, calibration and names the file holds\n"
         "  --counts        also list every channel's count of every spectrum\n"
         "  --answer yes|no the answer to the questions the program would ask, such as\n"
         "                  whether to repair a spectrum file (default: no)\n"
         "Channels in \"peaks\" are counted from 1; the window's \"Peak channel\" counts from 0.\n"
         "Exit status: 0 when the file holds spectra, 1 when it holds none.\n"},
        {"convert", "[--output-dir DIR] [--force] FILE...", "native copies (.dat) of .spe, .chn, Tembra and other instruments' files",
         "  FILE...         the foreign spectrum files; each gets a native copy named after it\n"
         "  --output-dir DIR\n"
         "                  write the copies into DIR instead of beside each file\n"
         "  --force         replace a file of the copy's name that holds another spectrum\n"
         "                  (without it such a file is left as it is, and the copy not written)\n"
         "The paths written are printed one a line; messages go to the error stream. On a\n"
         "terminal the error stream also shows the progress (\"converted 120/3000\").\n"
         "Exit status: 0 when every file was converted, 1 otherwise.\n"},
        {"column", "[--channels N] [--answer yes|no] TEXTFILE -o OUT.dat",
         "a column of numbers (a pasted spectrum) as a native spectrum file",
         "  TEXTFILE        the numbers, as they would be pasted from the clipboard\n"
         "  -o OUT.dat      the spectrum file to write\n"
         "  --channels N    read N channels (0 or none: as many as there are numbers)\n"
         "  --answer yes|no the answer to the questions about the numbers (default: no)\n"
         "Exit status: 0 when written, 1 when the numbers were refused or not written.\n"},
        {"sum", "LIST.vsl --mode spectra|sum|both -o OUT.dat [--label TEXT]",
         "the spectra of a spectrum list and/or their channel-by-channel sum",
         "  LIST.vsl        the spectrum list\n"
         "  --mode spectra  write every spectrum of the list\n"
         "  --mode sum      write their channel-by-channel sum\n"
         "  --mode both     write the spectra, then their sum\n"
         "  -o OUT.dat      the spectrum file to write (replaced in one step)\n"
         "  --label TEXT    the header of the sum (default: \"VORELIX SUM SPECTRUM: \" with the\n"
         "                  channel count, date and time)\n"
         "Exit status: 0 when written, 1 otherwise.\n"},
        {"extract", "FILE [--spectrum K] [--first F] [--last L] [--append [--force]] -o OUT.dat",
         "one spectrum of a file, trimmed to a channel window, saved or appended",
         "  FILE            any spectrum file the program reads\n"
         "  -o OUT.dat      the spectrum file to write\n"
         "  --spectrum K    the spectrum to take, counted from 1 (default: 1)\n"
         "  --first F       the first channel kept, counted from 1 (default: 1)\n"
         "  --last L        the last channel kept (default: the last channel)\n"
         "  --append        add the spectrum to the end of OUT.dat instead of replacing it;\n"
         "                  refused when the spectra in OUT.dat have another channel count\n"
         "  --force         with --append: append even then\n"
         "Exit status: 0 when written, 1 otherwise.\n"},
        {"plot", "FILE [--spectra 1,2,3] [--first N] [--last N] [--log] -o OUT.(emf|png|svg|pdf)",
         "the Multispectrum plot of a spectrum file as a picture",
         "  FILE            a spectrum file\n"
         "  -o OUT          the picture; its extension chooses EMF, PNG, SVG or PDF\n"
         "  --spectra LIST  the spectra to draw, counted from 1 and separated by commas\n"
         "                  (default: the first six)\n"
         "  --first N       the first channel drawn (default: 1)\n"
         "  --last N        the last channel drawn (default: the last channel)\n"
         "  --log           a logarithmic count axis\n"
         "Exit status: 0 when the picture was written, 1 otherwise.\n"},
        {"samples", "[--output-dir DIR] [--list-folder DIR]",
         "writes a set of made-up positron-lifetime spectra to try the program on",
         "  --output-dir DIR  where to write the files (default: the current folder)\n"
         "  --list-folder DIR the folder the spectrum list names for its files (default: none,\n"
         "                  so that the list finds them in its own folder)\n"
         "The spectra are the same on every run: a Gaussian prompt peak convolved with two or\n"
         "three exponential lifetimes on a flat background, with Poisson noise. Written:\n"
         "pals-1024.dat, pals-4096.dat, pals-8192.dat (several spectra each), pals-maestro.chn\n"
         "and pals-tagged.spe (the first spectrum of pals-4096.dat) and pals-4096.vsl (a\n"
         "spectrum list over pals-4096.dat). The paths written are printed one a line.\n"
         "Exit status: 0 when every file was written, 1 otherwise.\n"},
    };
    return helps;
}

const CommandHelp* find_command_help(std::string_view name) {
    for (const CommandHelp& h : command_helps()) {
        if (h.name == name) {
            return &h;
        }
    }
    return nullptr;
}

std::string version_line() {
    std::string line = "vorelbox-cli ";
    line += core::VERSION_TEXT;
    line += " (";
    line += core::DATE_TEXT;
    line += ')';
    return line;
}

void write_overview(std::ostream& out) {
    out << "usage: vorelbox-cli COMMAND [OPTIONS] [FILE...]\n"
           "       vorelbox-cli COMMAND --help\n"
           "       vorelbox-cli --version\n\n"
           "The file work of Vorelbox without a window. Commands:\n";
    for (const CommandHelp& h : command_helps()) {
        std::string name(h.name);
        name.resize(10, ' ');
        out << "  " << name << h.summary << "\n";
    }
    out << "\nEvery command prints one JSON object (convert and samples: the paths written).\n"
           "Exit status: 0 done, 1 failed, 2 usage error.\n";
}

void write_command_help(std::ostream& out, const CommandHelp& help) {
    out << "usage: vorelbox-cli " << help.name << ' ' << help.synopsis << "\n\n"
        << help.summary << ".\n\n"
        << help.details;
}

bool asks_for_help(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            return true;
        }
    }
    return false;
}

int usage_error(std::ostream& out, std::ostream& err, std::string_view command, const std::string& error) {
    const CommandHelp* help = find_command_help(command);
    err << "vorelbox-cli " << command << ": " << error << "\n";
    if (help != nullptr) {
        err << "usage: vorelbox-cli " << help->name << ' ' << help->synopsis << "\n"
            << "Try 'vorelbox-cli " << help->name << " --help' for more.\n";
    }
    out << "{\"error\":" << common::json_string(error) << "}\n";
    return CLI_USAGE;
}

}  // namespace vorelbox::cli
