// Every reader closes its file when it is done: Windows neither replaces nor
// removes a file that the program itself still holds open. On POSIX systems
// these always pass; under Wine they catch a handle left open.

#include <gtest/gtest.h>

#include <filesystem>

#include "check_spectrum_file.h"
#include "fakes/scripted_ui.h"
#include "os_path.h"
#include "safe_file.h"
#include "spectrum_list.h"
#include "support/temp_folder.h"
#include "text_viewer.h"

using namespace vorelbox;
namespace fs = std::filesystem;

TEST(FilesClosed, FilesReadByTheReadersTheListAndTheViewerCanBeReplacedAndRemoved) {
    const support::TempFolder dir("vorelbox_closed_");
    const std::string chn = (dir / "run.chn").string();
    const std::string spe = (dir / "run.spe").string();
    fs::copy_file(fs::path(VORELBOX_REAL_DATA) / "Cs137SMALL.Chn", chn);
    fs::copy_file(fs::path(VORELBOX_REAL_DATA) / "Cs137SMALL.spe", spe);
    for (const std::string& name : {chn, spe}) {
        fs::permissions(name, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
    }
    std::string counts;
    for (int i = 0; i < 12; ++i) {
        counts += "      " + std::to_string(10 + i) + (i % 8 == 7 ? "\n" : "");
    }
    const std::string dat = dir.write("run.dat", "first\n" + counts + "\n");
    const std::string list_file = dir.write("runs.vsl", "VORELIX SPECTRUM LIST 12, channels\na|1|" + dat + "\n");

    spectra::SpectrumStore store;
    spectra::RawFileTable files;
    fakes::ScriptedUi ui;
    for (const std::string& name : {chn, spe, dat}) {
        EXPECT_GT(spectra::CHECK_SPECTRUM_FILE(store, files, ui, name).channels, 0) << name;
    }
    adder::SpectrumList list;
    adder::RecentFiles recent;
    ASSERT_TRUE(adder::LOAD_SPECTLIST(list, store, files, recent, ui, list_file));
    EXPECT_EQ(list.row_count(), 1);
    display::TextViewer viewer;
    ASSERT_TRUE(display::SHOW_RESULT(ui, viewer, dat, "Spectrum", "run.dat"));
    EXPECT_TRUE(display::open_shown_file(viewer).has_value());

    const auto replaced = [](std::ostream& out) { return static_cast<bool>(out << "replaced\n"); };
    for (const std::string& name : {chn, spe, dat, list_file}) {
        const common::SaveResult saved = common::replace_file(name, replaced);
        EXPECT_TRUE(saved) << name << ": " << common::save_problem_text(saved);
        std::error_code ec;
        EXPECT_TRUE(fs::remove(common::os_path(name), ec)) << name << ": " << ec.message();
    }
}
