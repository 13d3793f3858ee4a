// Text files are written with this system's line ends (CRLF on Windows) and
// read alike with either.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "check_spectrum_file.h"
#include "fakes/scripted_ui.h"
#include "settings_file.h"
#include "spectrum_list.h"
#include "support/temp_folder.h"
#include "write_spectrum_file.h"

using namespace vorelbox;

namespace {

std::string bytes_of(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// True when every line of `text` ends as `crlf` says, and no CR stands alone.
bool lines_end_in(const std::string& text, bool crlf) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool cr_before = i > 0 && text[i - 1] == '\r';
        if (text[i] == '\n' && cr_before != crlf) {
            return false;
        }
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) {
            return false;
        }
    }
    return text.find('\n') != std::string::npos;
}

// The same text with the other line ends.
std::string other_line_ends(const std::string& text, bool crlf) {
    std::string out;
    for (const char c : text) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n' && !crlf) {
            out += '\r';
        }
        out += c;
    }
    return out;
}

void rewrite(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(LineEnds, SpectrumFilesListsAndSettingsUseTheSystemsLineEndsAndAreReadWithEither) {
    const bool crlf = common::system_line_ends() == common::LineEnds::Crlf;
    const support::TempFolder dir("vorelbox_line_ends_");

    const std::vector<double> counts{1, 22, 333, 4444, 55, 6, 7, 8, 9, 10, 11, 12};
    const std::string dat = (dir / "s.dat").string();
    const std::vector<spectra::SpectrumToWrite> written{{"first run", counts}, {"second run", counts}};
    ASSERT_TRUE(spectra::write_spectrum_file(dat, written, spectra::count_format_for(written)));
    const std::string dat_bytes = bytes_of(dat);
    EXPECT_TRUE(lines_end_in(dat_bytes, crlf)) << dat_bytes;

    adder::SpectrumList list;
    list.channels = 12;
    list.rows.push_back({"first run", 1, dat, {}, 0.0});
    list.rows.push_back({"second run", 2, dat, {}, 0.0});
    const std::string vsl = (dir / "l.vsl").string();
    ASSERT_TRUE(adder::write_spectrum_list_file(vsl, list));
    const std::string vsl_bytes = bytes_of(vsl);
    EXPECT_TRUE(lines_end_in(vsl_bytes, crlf)) << vsl_bytes;

    core::Settings settings;
    settings.program = 2;
    settings.converter_file = dat;
    const std::string ini = (dir / "Vorelbox.ini").string();
    ASSERT_TRUE(core::write_settings_file(ini, settings, false));
    const std::string ini_bytes = bytes_of(ini);
    EXPECT_TRUE(lines_end_in(ini_bytes, crlf)) << ini_bytes;

    for (const bool flip : {false, true}) {
        if (flip) {
            rewrite(dat, other_line_ends(dat_bytes, crlf));
            rewrite(vsl, other_line_ends(vsl_bytes, crlf));
            rewrite(ini, other_line_ends(ini_bytes, crlf));
            ASSERT_TRUE(lines_end_in(bytes_of(dat), !crlf));
        }
        spectra::SpectrumStore store;
        spectra::RawFileTable files;
        fakes::ScriptedUi ui;
        const spectra::CheckResult r = spectra::CHECK_SPECTRUM_FILE(store, files, ui, dat);
        ASSERT_EQ(r.channels, 12) << flip;
        EXPECT_EQ(std::vector<double>(store.FILE_SPECTRA[1].begin(), store.FILE_SPECTRA[1].begin() + 12), counts);
        EXPECT_EQ(store.FILE_SPECTRUM_HEADERS[1], "second run");

        adder::SpectrumList loaded;
        adder::RecentFiles recent;
        ASSERT_TRUE(adder::LOAD_SPECTLIST(loaded, store, files, recent, ui, vsl)) << flip;
        ASSERT_EQ(loaded.row_count(), 2);
        EXPECT_EQ(loaded.rows[1].header, "second run");
        EXPECT_EQ(loaded.rows[1].file, dat);

        const core::Settings read = core::read_settings_file(ini, ui);
        EXPECT_EQ(read.program, 2) << flip;
        EXPECT_EQ(read.converter_file, dat);
        EXPECT_TRUE(ui.texts().empty()) << ui.texts().front();
    }
}
