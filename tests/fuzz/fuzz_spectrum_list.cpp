// The spectrum list (.vsl) loader on any text, with the spectrum files its rows
// may name beside it: n1.dat and n2.dat (native, 12 and 20 channels), t.dat
// (Tembra, 12 channels), m.chn (Maestro, 12 channels), s.spe (12 channels).
// Loading converts m.chn and s.spe to m.dat and s.dat: so that nothing is
// written elsewhere, lists naming a file outside the targets' folder are passed over.

#include <unistd.h>

#include "auto_answer_ui.h"
#include "fuzz_support.h"
#include "spectrum_list.h"
#include "text_lines.h"
#include "text_utils.h"

using namespace vorelbox;

namespace {

std::string chn_fixture() {
    std::string b(32, '\0');
    b[0] = b[1] = '\xFF';
    b[30] = 12;
    for (int i = 0; i < 12; ++i) {
        b += std::string{static_cast<char>(i + 1), 0, 0, 0};
    }
    b += std::string{static_cast<char>(-101 & 0xFF), static_cast<char>(0xFF)};
    b += std::string(510, '\0');
    return b;
}

void make_fixtures() {
    const auto& dir = fuzz::sandbox();
    fuzz::put_file(dir / "n1.dat",
                   "first\n 1 2 3 4 5 6 7 8 9 10\n 11 12\nsecond\n 2 2 2 2 2 2 2 2 2 2\n 2 2\n");
    fuzz::put_file(dir / "n2.dat", "wide\n 1 1 1 1 1 1 1 1 1 1\n 1 1 1 1 1 1 1 1 1 1\n");
    fuzz::put_file(dir / "t.dat",
                   "1 2 12\nline two\nFILE    :t\nSAMPLE  :tembra sample\nCOMMENT :\n0 0\n"
                   "      1      2      3      4      5      6      7      8      9     10\n"
                   "     11     12\n");
    fuzz::put_file(dir / "m.chn", chn_fixture());
    fuzz::put_file(dir / "s.spe", "$SPEC_ID:\nspe sample\n$DATA:\n0 11\n1 2 3 4 5 6 7 8 9 10 11 12\n");
}

// A name the loader could reach outside the folder: a path that does not start
// in it, that climbs out of it, or that names a drive ("C:run.dat" on Windows).
bool names_outside(std::string_view text) {
    const std::string inside = fuzz::sandbox().string() + "/";
    common::Lines lines(text);
    lines.next();
    while (auto line = lines.next()) {
        const auto fields = adder::split_row_line(*line);
        if (!fields) {
            continue;
        }
        const std::string_view name = common::cut_at_nul(fields->file);
        const bool has_separator = name.find_first_of("/\\") != std::string_view::npos;
        if ((has_separator && name.substr(0, inside.size()) != inside) || name.find("..") != std::string_view::npos ||
            name.find(':') != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        make_fixtures();
        std::error_code ec;
        std::filesystem::current_path(fuzz::sandbox(), ec);
        return !ec;
    }();
    const std::string_view text = fuzz::as_text(data, size);
    if (!ready || names_outside(text)) {
        return 0;
    }
    const auto path = fuzz::sandbox() / ("list-" + std::to_string(::getpid()) + ".vsl");
    fuzz::put_file(path, text);

    adder::SpectrumList list;
    spectra::SpectrumStore store;
    spectra::RawFileTable files;
    adder::RecentFiles recent;
    common::AutoAnswerUi ui(false);
    if (adder::LOAD_SPECTLIST(list, store, files, recent, ui, path.string())) {
        fuzz::check(list.channels >= 0 && list.channels <= spectra::MAX_CHANNELS, "a channel count out of range");
        for (const adder::ListRow& row : list.rows) {
            fuzz::check(!row.file.empty(), "a row without a file");
            fuzz::check(row.counts.size() == static_cast<std::size_t>(list.channels), "a row of another length");
        }
    } else {
        fuzz::check(fuzz::said_something(ui.messages(), ui.status_texts()), "a list refused without a message");
    }
    return 0;
}
