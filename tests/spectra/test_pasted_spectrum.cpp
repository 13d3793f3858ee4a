#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fakes/fake_clipboard.h"
#include "fakes/scripted_ui.h"
#include "load_spectrum_file.h"
#include "pasted_spectrum.h"
#include "spectrum_store.h"

using namespace vorelbox;
namespace fs = std::filesystem;
using Counts = std::vector<double>;
using Texts = std::vector<std::string>;

namespace {

std::string content(const fs::path& p) {
    std::ostringstream s;
    s << std::ifstream(p, std::ios::binary).rdbuf();
    return s.str();
}

class Paste : public ::testing::Test {
protected:
    std::string temp(const std::string& name, const std::string& text) {
        made_.push_back(fs::temp_directory_path() / ("vorelbox_paste_" + name));
        std::ofstream(made_.back(), std::ios::binary) << text;
        return made_.back().string();
    }
    // The one spectrum of a written file as the program reads it back: header, then counts.
    static std::pair<std::string, Counts> read_back(const std::string& file) {
        spectra::SpectrumStore store;
        fakes::ScriptedUi quiet;
        const int n = spectra::load_spectrum_text(store, quiet, content(file), file).channel_count;
        return {store.FILE_SPECTRUM_HEADERS[0], Counts(store.FILE_SPECTRA[0].begin(), store.FILE_SPECTRA[0].begin() + n)};
    }
    std::optional<spectra::PastedSpectrum> check(std::string_view text, int channels = 0) {
        return spectra::check_pasted_text(ui, text, channels);
    }
    void TearDown() override {
        for (const auto& p : made_) {
            fs::remove(p);
        }
    }

    fakes::ScriptedUi ui;

private:
    std::vector<fs::path> made_;
};

}  // namespace

TEST_F(Paste, ClipboardColumnBecomesSpectrumFile) {
    fakes::FakeClipboard clipboard(std::string("12\r\n15\r\n\t9 \r\n"));
    spectra::RawFileTable files;
    const std::string file = temp("column.dat", "old content");
    ASSERT_TRUE(spectra::CLIPBOARDTOFILE(clipboard, files, ui, file));
    EXPECT_EQ(content(file), "12\r\n15\r\n\t9 \r\n");
    const auto r = spectra::CHECK_PASTED_SPECTRA(ui, file, 0);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.channels, 3);
    EXPECT_EQ(read_back(file), std::make_pair(std::string("Spectrum pasted from clipboard"), Counts{12, 15, 9}));

    fakes::FakeClipboard locked;
    EXPECT_FALSE(spectra::CLIPBOARDTOFILE(locked, files, ui, file));
    const std::string nowhere = (fs::temp_directory_path() / "vorelbox_no_dir" / "x.dat").string();
    EXPECT_FALSE(spectra::CLIPBOARDTOFILE(clipboard, files, ui, nowhere));
    EXPECT_EQ(ui.texts(), (Texts{"Lock error", "Problem storing text in " + nowhere + "\rIts folder does not exist; the file was not changed"}));

    spectra::WRITETOCLIPBOARD(clipboard, "  12\r\n15 \t\r  ");
    EXPECT_EQ(clipboard.set_texts, Texts{"  12\r\n15"});
}

TEST_F(Paste, DecimalCommasAndRounding) {
    // "2,49," is one value: a decimal comma, then a separating one.
    const auto pasted = check("1,5\n2,49,\n1.5e1\n");
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->counts, (Counts{1.5, 2.49, 15}));
    // Written counts are rounded to the nearest integer, halves up: 1.5 -> 2, 2.49 -> 2.
    const std::string file = temp("rounded.dat", "");
    ASSERT_TRUE(spectra::write_pasted_spectrum(file, *pasted));
    EXPECT_EQ(read_back(file).second, (Counts{2, 2, 15}));
    EXPECT_TRUE(ui.texts().empty());
}

TEST_F(Paste, SmallValuesRescaledBySmallestStepOnRequest) {
    const std::string question =
        "All values are small (< 2.0) shall I rescale using then smallest step 0.1 as a single count?";
    ui.answer_yes();
    ui.answer_no();
    const auto yes = check("0.1\n0.2\n0\n0.3\n");
    const auto no = check("0.1\n0.2\n0.3\n");
    ASSERT_TRUE(yes && no);
    const Counts expected{1, 2, 0, 3};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_DOUBLE_EQ(yes->counts.at(i), expected[i]);
    }
    EXPECT_EQ(no->counts, (Counts{0.1, 0.2, 0.3}));
    EXPECT_TRUE(check("0.5\n2.5\n") && check("1\n2\n"));  // not asked
    EXPECT_EQ(ui.texts(), (Texts{question, question}));
}

TEST_F(Paste, FittedToTheChannelsOfTheListWithNotice) {
    std::string text;
    for (int i = 1; i <= 1100; ++i) {
        text += std::to_string(i) + "\n";
    }
    const auto cut = check(text, 1024);
    const auto padded = check(std::string_view(text).substr(0, text.find("\n901\n") + 1), 1024);
    ASSERT_TRUE(cut && padded);
    EXPECT_EQ(cut->counts.size(), 1024u);
    EXPECT_EQ(cut->counts.back(), 1024);
    ASSERT_EQ(padded->counts.size(), 1024u);
    EXPECT_EQ(padded->counts[899], 900);
    EXPECT_EQ(Counts(padded->counts.begin() + 900, padded->counts.end()), Counts(124, 0.0));
    EXPECT_EQ(ui.texts(), (Texts{"Reduce number of pasted channels",
                                 "The pasted spectrum is padded with 0-es to fit the number of channels in the list"}));
}

TEST_F(Paste, WarningsAndStops) {
    EXPECT_TRUE(check("0\n0\n0\n"));  // warned, not stopped
    EXPECT_FALSE(check(""));
    EXPECT_FALSE(check("Counts\r\nper channel\r\n"));
    const std::string semicolon = "12\n15;3\n9\n";
    const std::string letters = "12\n15\n9 a12x\n";
    const std::string one = temp("semicolon.dat", semicolon);
    const std::string two = temp("letters.dat", letters);
    EXPECT_FALSE(spectra::CHECK_PASTED_SPECTRA(ui, one, 0).ok);
    EXPECT_FALSE(spectra::CHECK_PASTED_SPECTRA(ui, two, 0).ok);
    EXPECT_EQ(content(one), semicolon);
    EXPECT_EQ(content(two), letters);
    EXPECT_EQ(ui.texts(), (Texts{"The spectrum contains all zeroes", "The Clipboard contains no spectrum",
                                 "The Clipboard contains no spectrum",
                                 "You seem to be pasting more than one coloumn - retry with a single",
                                 "The pasted data contains non-numbers: \"a12x\""}));
}

TEST_F(Paste, MoreValuesThanChannelsThatCanBeReadAreRefused) {
    std::string column;
    for (int i = 0; i <= spectra::MAX_CHANNELS; ++i) {
        column += "1\n";
    }
    EXPECT_FALSE(check(column));
    EXPECT_EQ(ui.texts(), (Texts{"The pasted data holds more than 262144 values; at most 262144 channels can be read"}));
    column.resize(column.size() - 2);
    const auto at_limit = check(column);
    ASSERT_TRUE(at_limit);
    EXPECT_EQ(at_limit->counts.size(), static_cast<std::size_t>(spectra::MAX_CHANNELS));
}

TEST_F(Paste, SeveralColumnsOnlyWhenAccepted) {
    ui.answer_no();
    ui.answer_yes();
    EXPECT_FALSE(check("1\t2\n3\t4\n"));
    const auto all = check("1\t2\r\n3\t4\r\n5\r\n");
    ASSERT_TRUE(all);
    EXPECT_EQ(all->counts, (Counts{1, 2, 3, 4, 5}));
    const std::string question = "You seem to be pasting more than one coloumn\r"
                                 "Accept as a multicoloumn spectrum (Yes) or Retry with a single (No)";
    EXPECT_EQ(ui.texts(), (Texts{question, question}));
}
