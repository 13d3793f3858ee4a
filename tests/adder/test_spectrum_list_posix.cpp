// FIFOs, and names that hold a bar, neither of which a Windows file system has.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "fakes/scripted_ui.h"
#include "spectrum_list.h"
#include "support/temp_folder.h"

using namespace vorelbox;
using namespace vorelbox::adder;

TEST(ListFifos, AListFileThatIsAFifoIsTold) {
    const support::TempFolder dir("vorelbox_list_fifo_");
    const std::string fifo = (dir / "fifo.vsl").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    SpectrumList list;
    spectra::SpectrumStore store;
    spectra::RawFileTable files;
    RecentFiles recent;
    fakes::ScriptedUi ui;
    EXPECT_FALSE(LOAD_SPECTLIST(list, store, files, recent, ui, fifo));
    EXPECT_EQ(ui.status.at(2), "Can't open the file: " + fifo);
}

TEST(ListNames, PathsHoldingBarsReadBack) {
    const support::TempFolder dir("vorelbox_list_bars_");
    std::filesystem::create_directories(dir / "x|2|y");
    const std::string data = (dir / "x|2|y/a|1|b.dat").string();
    std::ofstream(data, std::ios::binary) << "one\n       1       1       1\ntwo\n       2       2       2\n";
    SpectrumList saved;
    saved.channels = 3;
    saved.rows.push_back({"run |5| header", 2, data, {}, 0});
    saved.rows.push_back({"plain", 1, data, {}, 0});
    ASSERT_TRUE(write_spectrum_list_file((dir / "bars.vsl").string(), saved));

    SpectrumList list;
    spectra::SpectrumStore store;
    spectra::RawFileTable files;
    RecentFiles recent;
    fakes::ScriptedUi ui;
    ASSERT_TRUE(LOAD_SPECTLIST(list, store, files, recent, ui, (dir / "bars.vsl").string()));
    ASSERT_EQ(list.row_count(), 2);
    EXPECT_EQ(list.rows[0].header, "run |5| header");
    EXPECT_EQ(list.rows[0].index, 2);
    EXPECT_EQ(list.rows[0].file, data);
    EXPECT_EQ(list.rows[0].counts, std::vector<double>(3, 2.0));
    EXPECT_EQ(list.rows[1].file, data);
    EXPECT_EQ(list.rows[1].counts, std::vector<double>(3, 1.0));
    EXPECT_TRUE(ui.texts().empty());
}
