// FIFOs, which a Windows file system does not have.

#include <gtest/gtest.h>

#include <sys/stat.h>

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
