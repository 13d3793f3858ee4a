// FIFOs, which a Windows file system does not have.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "check_spectrum_file.h"
#include "fakes/scripted_ui.h"
#include "support/temp_folder.h"

using namespace vorelbox;

namespace {

struct Checked {
    spectra::SpectrumStore store;
    spectra::RawFileTable files;
    fakes::ScriptedUi ui;
    spectra::CheckResult result;
};

std::unique_ptr<Checked> check(const std::string& path) {
    auto c = std::make_unique<Checked>();
    c->result = spectra::CHECK_SPECTRUM_FILE(c->store, c->files, c->ui, path);
    return c;
}

}  // namespace

TEST(CheckFifos, FifosAreRefusedWithAMessage) {
    // A FIFO without a writer may not block the program.
    const support::TempFolder dir("vorelbox_check_fifo_");
    for (const char* name : {"x.chn", "x.dat", "x.spe", "x.lmc"}) {
        const std::string fifo = (dir / name).string();
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        auto c = check(fifo);
        EXPECT_EQ(c->result.channels, 0) << name;
        ASSERT_EQ(c->ui.texts().size(), 1u) << name;
        EXPECT_NE(c->ui.texts()[0].find(fifo), std::string::npos) << c->ui.texts()[0];
    }
    EXPECT_EQ(check((dir / "x.chn").string())->ui.texts()[0],
              "Error opening the spectrum file: " + (dir / "x.chn").string());
    EXPECT_EQ(check((dir / "x.spe").string())->ui.texts()[0],
              "Error opening the spectrum file: " + (dir / "x.spe").string());
    // A control file that names a FIFO.
    const std::string head = "control\nFIT DATA BLOCK\nDATA: SPECTRUM\n";
    auto named = check(dir.write("ref.cvc", head + "6\nheader\nx.dat\n-\n0\n"));
    EXPECT_EQ(named->result.channels, 0);
    EXPECT_EQ(named->ui.texts().back(), "Error opening the file: " + (dir / "x.dat").string());
}
