#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>

#include "converter_page.h"
#include "fakes/fake_clipboard.h"
#include "fakes/faulty_file_ops.h"
#include "fakes/scripted_ui.h"
#include "load_spectrum_file.h"
#include "support/files.h"

using namespace vorelbox;
using namespace vorelbox::converter;
namespace fs = std::filesystem;

namespace {

class ConverterPage : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_conv_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
    }
    void TearDown() override { support::remove_folder(dir_); }

    void apply(ConverterCommand command, int argument = 0) {
        SPECTCONV_APPLY_SUB(store, files, converter, recent, ui, clipboard, command, argument);
    }
    std::string write(const std::string& name, const std::string& text) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    void open(const std::string& path) {
        ui.choose(path);
        apply(ConverterCommand::FindFile);
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // A file of one spectrum with counts 1..n, except where `special` says.
    std::string counting_file(const std::string& name, int n, int peak_channel = 0) {
        std::ostringstream out;
        out << "counting\n";
        for (int i = 1; i <= n; ++i) {
            out << std::setw(8) << (i == peak_channel ? 100000 : i) << (i % 10 == 0 || i == n ? "\n" : "");
        }
        return write(name, out.str());
    }

    fs::path dir_;
    spectra::SpectrumStore store;
    spectra::RawFileTable files;
    Converter converter;
    adder::RecentFiles recent;
    fakes::ScriptedUi ui;
    fakes::FakeClipboard clipboard{std::nullopt};
};

}  // namespace

TEST_F(ConverterPage, ForeignFileGetsItsNativeCopyAtOnce) {
    const fs::path copy = dir_ / "Cs137SMALL.Chn";
    support::copy_writable(fs::path(VORELBOX_REAL_DATA) / "Cs137SMALL.Chn", copy);
    open(copy.string());
    const ConverterState& s = converter.state;
    EXPECT_EQ(ui.file_requests[0].title, "Vorelix Spectrum Converter");
    EXPECT_EQ(s.type_text, "Maestro (chn)");
    EXPECT_EQ(s.channels, 4096);
    EXPECT_EQ(s.last, 4096);
    ASSERT_TRUE(s.maestro);
    EXPECT_FALSE(s.unsaved_conversion);
    EXPECT_EQ(converter.page.number_of_channels, "4096");
    EXPECT_EQ(recent.entries[0], copy.string());

    spectra::SpectrumStore back;
    fakes::ScriptedUi quiet;
    const auto loaded = spectra::LOAD_SPECTRUM_FILE(back, quiet, (dir_ / "Cs137SMALL.dat").string());
    EXPECT_EQ(loaded.channel_count, 4096);
    EXPECT_EQ(loaded.format, "(8i10)");
}

TEST_F(ConverterPage, UnknownFilesLeaveAnEmptyPage) {
    open(write("notes.txt", "nothing here\n"));
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"This is not a proper spectrum file"}));
    EXPECT_TRUE(converter.state.file.empty());
    EXPECT_EQ(converter.state.spectra, 0);
    apply(ConverterCommand::SaveAs);
    EXPECT_EQ(ui.texts().back(), "There is nothing to save");
}

TEST_F(ConverterPage, AFileThatCannotBeReadLeavesTheShownSpectrum) {
    open(counting_file("peak.dat", 100, 40));
    apply(ConverterCommand::CenterPeak);
    ASSERT_EQ(converter.page.peak_channel, "39");

    open(write("notes.txt", "nothing here\n"));
    open((dir_ / "absent.dat").string());
    open(write("empty.dat", "header only\n"));
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{
                              "This is not a proper spectrum file",
                              "Error opening the file: " + (dir_ / "absent.dat").string(),
                              "The file \"" + (dir_ / "empty.dat").string() +
                                  "\" holds no spectrum: no line of counts was found"}));
    EXPECT_EQ(converter.state.file, (dir_ / "peak.dat").string());
    EXPECT_EQ(converter.state.channels, 100);
    EXPECT_EQ(converter.page.peak_channel, "39");
    EXPECT_EQ(store.CURRENT_SPECTRUM[39], 100000.0);

    // When the adder has used the store meanwhile and the file is gone, the page empties.
    store = spectra::SpectrumStore{};
    spectra::LOAD_SPECTRUM_FILE(store, ui, counting_file("adder.dat", 100));
    fs::remove(dir_ / "peak.dat");
    apply(ConverterCommand::Reload);
    EXPECT_TRUE(converter.state.file.empty());
    EXPECT_EQ(converter.state.spectra, 0);
    EXPECT_EQ(converter.page.peak_channel, "");
}

TEST_F(ConverterPage, APasteSurvivesReloadAndTheNextStart) {
    converter.program_folder = dir_.string();
    clipboard.content = "12\n15\n9\n";
    apply(ConverterCommand::Paste);
    const std::string pasted = (dir_ / "pasted_spectrum.tmp").string();
    ASSERT_EQ(converter.state.file, pasted);
    EXPECT_EQ(converter.state.channels, 3);
    apply(ConverterCommand::Reload);
    EXPECT_TRUE(ui.texts().empty());
    EXPECT_EQ(converter.state.file, pasted);
    EXPECT_EQ(converter.state.type_text, "Vorelix (dat)");
    EXPECT_EQ(store.CURRENT_SPECTRUM[1], 15.0);

    // A second paste does not replace the first one's file.
    clipboard.content = "1\n2\n";
    apply(ConverterCommand::Paste);
    EXPECT_EQ(converter.state.file, (dir_ / "pasted_spectrum_2.tmp").string());
    EXPECT_EQ(read(pasted).substr(0, 30), "Spectrum pasted from clipboard");

    // The next start reloads the remembered file.
    Converter next;
    next.state.file = pasted;
    SPECTCONV_APPLY_SUB(store, files, next, recent, ui, clipboard, ConverterCommand::Reload);
    EXPECT_EQ(next.state.channels, 3);
    EXPECT_TRUE(ui.texts().empty());
}

TEST_F(ConverterPage, TheLengthMaximumFollowsEveryLoadAndTrimChange) {
    apply(ConverterCommand::Trim, 1);  // ticked before anything is loaded
    open(counting_file("short.dat", 4096));
    EXPECT_EQ(converter.page.channels_in_spectrum_maximum, 4096);
    EXPECT_EQ(converter.page.channels_in_spectrum, 4096);
    apply(ConverterCommand::FirstChannel, 1450);
    EXPECT_EQ(converter.page.channels_in_spectrum_maximum, 2647);

    open(counting_file("long.dat", 8192));
    EXPECT_EQ(converter.page.channels_in_spectrum_maximum, 8192);
    EXPECT_EQ(converter.page.channels_in_spectrum, 8192);
    apply(ConverterCommand::FirstChannel, 8000);
    apply(ConverterCommand::Trim, 0);
    EXPECT_EQ(converter.page.channels_in_spectrum_maximum, 8192);
    apply(ConverterCommand::Trim, 1);
    EXPECT_EQ(converter.page.channels_in_spectrum_maximum, 193);
    EXPECT_EQ(converter.page.channels_in_spectrum, 193);
}

TEST_F(ConverterPage, TheNativeCopyReplacesAnotherFileOnlyWhenAsked) {
    const fs::path chn = dir_ / "Cs137SMALL.Chn";
    support::copy_writable(fs::path(VORELBOX_REAL_DATA) / "Cs137SMALL.Chn", chn);
    const std::string own = write("Cs137SMALL.dat", "my own measurement\n       1       2       3\n");
    ui.answer_no();
    open(chn.string());
    EXPECT_EQ(ui.texts().back(), "The file " + own + " already exists\rand holds other data than the spectrum of " +
                                     chn.string() + "\rReplace it? (No keeps it; the converted spectrum stays unsaved)");
    EXPECT_EQ(read(own), "my own measurement\n       1       2       3\n");
    EXPECT_EQ(converter.state.channels, 4096);
    EXPECT_TRUE(converter.state.unsaved_conversion);

    ui.answer_yes();
    apply(ConverterCommand::Reload);
    EXPECT_FALSE(converter.state.unsaved_conversion);
    spectra::SpectrumStore back;
    fakes::ScriptedUi quiet;
    EXPECT_EQ(spectra::LOAD_SPECTRUM_FILE(back, quiet, own).channel_count, 4096);

    // The same copy again is left alone, without a question.
    const std::size_t asked = ui.texts().size();
    apply(ConverterCommand::Reload);
    EXPECT_EQ(ui.texts().size(), asked);
    EXPECT_FALSE(converter.state.unsaved_conversion);
}

TEST_F(ConverterPage, EditedHeaderStaysWithItsSpectrum) {
    open(write("two.dat", "first\n1 2 3\n4 5 6\nsecond\n7 8 9\n1 2 3\n"));
    apply(ConverterCommand::Reload);
    EXPECT_EQ(converter.state.spectra, 2);
    EXPECT_TRUE(ui.shown().empty());
    ui.label(std::string("renamed first"));
    apply(ConverterCommand::EditHeader);
    const auto& request = ui.label_requests[0];
    EXPECT_EQ(request.title, "Vorelbox Edit Header");
    EXPECT_EQ(request.text_caption, "Old header");
    EXPECT_EQ(request.field_caption, "New header");
    EXPECT_EQ(request.label, "first");
    EXPECT_TRUE(request.caret_at_start);
    apply(ConverterCommand::SpinSelection, 2);
    EXPECT_EQ(store.CURRENT_SPECTRUM[0], 7.0);
    apply(ConverterCommand::HeaderSelection, 1);
    EXPECT_EQ(converter.state.headers[0], "renamed first");
    ui.label(std::nullopt);
    apply(ConverterCommand::EditHeader);
    EXPECT_EQ(converter.state.headers[0], "renamed first");

    ui.choose((dir_ / "out.dat").string());
    apply(ConverterCommand::SaveAs);
    EXPECT_EQ(read((dir_ / "out.dat").string()).substr(0, 14), "renamed first\n");
}

TEST_F(ConverterPage, TrimmingWindowStaysInsideTheSpectrum) {
    open(counting_file("five.dat", 5));
    apply(ConverterCommand::Trim, 1);
    apply(ConverterCommand::FirstChannel, 2);
    apply(ConverterCommand::ChannelsInSpectrum, 10);
    EXPECT_EQ(converter.page.channels_in_spectrum, 4);
    EXPECT_EQ(converter.state.last, 5);
    EXPECT_EQ(ui.status[2], "Trimming  ends at 5 - length: 4 - lim: 4");

    open(counting_file("long.dat", 1024));
    apply(ConverterCommand::Trim, 1);
    apply(ConverterCommand::FirstChannel, 100);
    EXPECT_EQ(ui.status[2], "Trimming starts at 100 - length: 925 - lim: 925");
    apply(ConverterCommand::ChannelsInSpectrum, 500);
    EXPECT_EQ(converter.state.last, 599);
    EXPECT_EQ(ui.status[2], "Trimming  ends at 599 - length: 500 - lim: 925");
    apply(ConverterCommand::FirstChannel, 5000);
    EXPECT_EQ(converter.state.first, 1024);
    apply(ConverterCommand::FirstChannel, -3);
    EXPECT_EQ(converter.state.first, 1);

    // Off and on again restores the window.
    apply(ConverterCommand::FirstChannel, 100);
    apply(ConverterCommand::ChannelsInSpectrum, 500);
    apply(ConverterCommand::Trim, 0);
    EXPECT_EQ(converter.page.channels_in_spectrum, 1024);
    apply(ConverterCommand::Trim, 1);
    EXPECT_EQ(converter.state.first, 100);
    EXPECT_EQ(converter.state.last, 599);
}

TEST_F(ConverterPage, CenterPeakClampsToTheStart) {
    open(counting_file("peak.dat", 1000, 10));
    converter.page.zoom_index = 9;  // sixteen times: 62.5 channels visible
    apply(ConverterCommand::CenterPeak);
    EXPECT_EQ(converter.page.peak_channel, "9");  // counted from 0, as the plot labels it
    EXPECT_EQ(converter.page.first_displayed, 1);
    EXPECT_EQ(converter.page.last_displayed, 62);
}

TEST_F(ConverterPage, SaveAsWritesTheWindowTruncated) {
    open(write("frac.dat", "fractions\n7.9 0.4 3 4 5 6 7 8 9 10 11 12\n"));
    apply(ConverterCommand::Trim, 1);
    apply(ConverterCommand::FirstChannel, 1);
    apply(ConverterCommand::ChannelsInSpectrum, 8);
    ui.choose((dir_ / "window.dat").string());
    apply(ConverterCommand::SaveAs);
    EXPECT_EQ(ui.file_requests.back().file_name, (dir_ / "frac_trim.dat").string());
    EXPECT_EQ(read((dir_ / "window.dat").string()),
              "fractions\n         7         0         3         4         5         6         7         8\n");

    // The File-menu save of a single spectrum rounds, halves away from zero.
    ui.answer_no();
    ui.choose((dir_ / "rounded.dat").string());
    apply(ConverterCommand::MenuSaveAs);
    EXPECT_EQ(ui.file_requests.back().title, "Save trimmed spectrum in a spectrum file");
    EXPECT_EQ(read((dir_ / "rounded.dat").string()).substr(10, 20), "         8         0");
}

TEST_F(ConverterPage, AppendTwiceGivesAMultiSpectrumFile) {
    open(counting_file("a.dat", 20));
    const std::string target = (dir_ / "collected.dat").string();
    ui.choose(target);
    apply(ConverterCommand::AppendTo);
    EXPECT_FALSE(ui.file_requests.back().confirm_overwrite);
    EXPECT_EQ(ui.file_requests.back().title, "Append new spectrum to a spectrum file");
    ui.answer_yes();
    ui.choose(target);
    apply(ConverterCommand::MenuSaveAs);
    spectra::SpectrumStore back;
    fakes::ScriptedUi quiet;
    EXPECT_EQ(spectra::LOAD_SPECTRUM_FILE(back, quiet, target).channel_count, 20);
    EXPECT_EQ(back.FILE_SPECTRUM_COUNT, 2);

    const std::string before = read(target);
    ui.choose((dir_ / "missing" / "x.dat").string());
    apply(ConverterCommand::AppendTo);
    EXPECT_EQ(ui.texts().back(), "Error writing the new spectrum file " + (dir_ / "missing" / "x.dat").string() +
                                     "\rIts folder does not exist; the file was not changed");
    EXPECT_EQ(read(target), before);
    // A read-only file is not appended to.
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    ui.choose(target);
    apply(ConverterCommand::AppendTo);
    EXPECT_EQ(ui.texts().back(),
              "Error writing the new spectrum file " + target + "\rThe file is read-only; the file was not changed");
    EXPECT_EQ(read(target), before);
}

TEST_F(ConverterPage, AppendRefusesAFileOfAnotherChannelCount) {
    open(counting_file("a.dat", 20));
    const std::string other = counting_file("thirty.dat", 30);
    const std::string before = read(other);
    ui.choose(other);
    apply(ConverterCommand::AppendTo);
    // The dialog proposes no name: never the file being read.
    EXPECT_TRUE(ui.file_requests.back().file_name.empty());
    EXPECT_EQ(ui.file_requests.back().directory, (dir_ / "").string());
    EXPECT_EQ(ui.texts().back(), "The spectra in " + other + " have 30 channels,\rthe spectrum to append has 20 channels"
                                 "\rNothing is appended: a file of spectra of different lengths does not read back whole");
    EXPECT_EQ(read(other), before);

    // A trimmed window of the right length goes in.
    open(counting_file("b.dat", 40));
    apply(ConverterCommand::Trim, 1);
    apply(ConverterCommand::FirstChannel, 11);
    ui.choose(other);
    apply(ConverterCommand::AppendTo);
    spectra::SpectrumStore back;
    fakes::ScriptedUi quiet;
    EXPECT_EQ(spectra::LOAD_SPECTRUM_FILE(back, quiet, other).channel_count, 30);
    EXPECT_EQ(back.FILE_SPECTRUM_COUNT, 2);
    EXPECT_EQ(back.FILE_SPECTRA[1][0], 11.0);
}

TEST_F(ConverterPage, RecentFilesAndUnhandledControls) {
    recent.entries[0] = (dir_ / "gone.dat").string();
    apply(ConverterCommand::RecentFile, 1);
    EXPECT_EQ(ui.texts().back(), "The spectrum file " + (dir_ / "gone.dat").string() + " has been removed");
    EXPECT_TRUE(recent.entries[0].empty());
    apply(ConverterCommand::NewList);
    apply(ConverterCommand::OtherClicked);
    apply(ConverterCommand::OtherSelection);
    apply(ConverterCommand::OtherValue);
    const auto texts = ui.texts();
    EXPECT_EQ(std::vector<std::string>(texts.end() - 4, texts.end()),
              (std::vector<std::string>{"Can't create a new list (yet)", "Converter clicked - not yet programmed",
                                        "Converter dlg_selchange - not yet programmed",
                                        "Converter dlg_change - not yet programmed"}));
}

TEST_F(ConverterPage, ASaveOrAppendThatFailsKeepsTheOldFile) {
    const std::vector<double> counts{1, 2, 3};
    for (const bool append : {false, true}) {
        for (const fakes::SaveFault& fault : fakes::save_faults()) {
            SCOPED_TRACE(std::string(fault.name) + (append ? ", appending" : ", saving"));
            const std::string target = write("old.dat", "old\n       7\n");
            fakes::FaultyFileOps ops;
            fault.arrange(ops);
            EXPECT_FALSE(write_converted_spectrum(target, "new", counts, append, ops));
            EXPECT_EQ(read(target), "old\n       7\n");
            EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
        }
    }
}
