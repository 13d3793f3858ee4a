#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <numeric>
#include <sstream>

#include "adder_commands.h"
#include "adder_page.h"
#include "fakes/fake_clipboard.h"
#include "fakes/file_filters.h"
#include "fakes/scripted_ui.h"
#include "load_spectrum_file.h"
#include "pasted_spectrum.h"
#include "save_list_spectra.h"
#include "support/files.h"

using namespace vorelbox;
using namespace vorelbox::adder;
namespace fs = std::filesystem;

namespace {

class AdderPage : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_adder_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
        adder.list.file_name = (dir_ / "run.vsl").string();
    }
    void TearDown() override { support::remove_folder(dir_); }

    void apply(AdderCommand command, int argument = 0) {
        SPECTADD_APPLY_SUB(store, files, adder, ui, clipboard, command, argument);
    }
    // Native file whose spectrum k holds `value(k, channel)`.
    template <typename Value>
    std::string spectrum_file(const std::string& name, int spectra, int channels, Value value) {
        std::ostringstream out;
        for (int k = 1; k <= spectra; ++k) {
            out << "spectrum " << k << "\n";
            for (int i = 1; i <= channels; ++i) {
                out << std::setw(12) << static_cast<long long>(value(k, i)) << ((i % 10 == 0 || i == channels) ? "\n" : "");
            }
        }
        const fs::path p = dir_ / name;
        std::ofstream(p) << out.str();
        return p.string();
    }
    std::string spectrum_file(const std::string& name, int spectra, int channels) {
        return spectrum_file(name, spectra, channels, [](int k, int i) { return 100 * k + i; });
    }
    void look_up(const std::string& path) {
        ui.choose(path);
        apply(AdderCommand::Lookup);
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path dir_;
    spectra::SpectrumStore store;
    spectra::RawFileTable files;
    AdderState adder;
    fakes::ScriptedUi ui;
    fakes::FakeClipboard clipboard{std::nullopt};
};

}  // namespace

TEST_F(AdderPage, LookupOffersTheSpectraOfTheFile) {
    const std::string file = spectrum_file("three.dat", 3, 24);
    look_up(file);
    const AdderPageState& page = adder.page;
    EXPECT_EQ(ui.file_requests[0].title, "Vorelix Spectrum");
    EXPECT_EQ(page.input_file_text, "three.dat");
    EXPECT_EQ(page.selection_items, (std::vector<std::string>{"spectrum 1", "spectrum 2", "spectrum 3"}));
    EXPECT_EQ(page.number_of_channels, "24");
    EXPECT_EQ(page.number_of_spectra, "3");
    EXPECT_TRUE(page.include_enabled);
    EXPECT_FALSE(page.list_commands_enabled);
    EXPECT_TRUE(page.spin_visible);
    EXPECT_EQ(page.spin_maximum, 3);

    apply(AdderCommand::SpectrumSelection, 2);
    EXPECT_EQ(page.selected_input, 2);
    EXPECT_EQ(store.CURRENT_SPECTRUM[0], 201.0);
}

// A file of another instrument as the input file: its native copy beside it is
// what the page reads, offers and includes. The sums are those an independent
// reader gives for spectrum 1 of each file.
TEST_F(AdderPage, EveryOtherInstrumentsFileIsAnInputFile) {
    struct Kind {
        const char* file;
        int spectra;
        int channels;
        double sum;
    };
    const Kind kinds[] = {{"LaBr.CNF", 1, 1024, 2180755},           {"Q8910_Helicopter.N42", 81, 1024, 9828},
                          {"demoNoCal.mca", 1, 2048, 96897},         {"hpge_dummy_test_01.iec", 1, 2048, 74305419},
                          {"LaBr.TKA", 1, 1024, 2180755},           {"SGM102432.csv", 1, 4094, 166239}};
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.file);
        const fs::path copy = dir_ / k.file;
        fs::copy_file(fs::path(VORELBOX_FORMATS_DATA) / k.file, copy, fs::copy_options::overwrite_existing);
        fs::remove(fs::path(copy).replace_extension(".dat"));
        look_up(copy.string());
        EXPECT_EQ(adder.page.input_file, fs::path(copy).replace_extension(".dat").string());
        EXPECT_EQ(adder.page.input_spectra, k.spectra);
        EXPECT_EQ(adder.page.input_channels, k.channels);
        EXPECT_EQ(adder.page.selection_items.size(), static_cast<std::size_t>(k.spectra));
        ASSERT_GE(store.CURRENT_SPECTRUM.size(), static_cast<std::size_t>(k.channels));
        EXPECT_EQ(std::accumulate(store.CURRENT_SPECTRUM.begin(), store.CURRENT_SPECTRUM.begin() + k.channels, 0.0),
                  k.sum);
    }
    EXPECT_TRUE(ui.texts().empty()) << ui.texts().front();
    // The dialog that chose them offers every kind.
    const auto offered = fakes::offered_extensions(ui.file_requests.front().filters);
    for (const std::string& name : fakes::other_instrument_names()) {
        EXPECT_EQ(offered.count(common::LOWCASE(name.substr(name.find('.')))), 1u) << name;
    }

    // The last one, included, becomes a row of the list with its counts.
    apply(AdderCommand::Include);
    ASSERT_EQ(adder.list.row_count(), 1);
    EXPECT_EQ(adder.list.channels, 4094);
    EXPECT_EQ(std::accumulate(adder.list.rows[0].counts.begin(), adder.list.rows[0].counts.begin() + 4094, 0.0),
              166239.0);
}

// A list naming a CNF, spectrum 5 of an 81-spectrum N42 and a TKA file, all of
// 1024 channels, loads through the conversion of each and sums their counts.
TEST_F(AdderPage, AListOfOtherInstrumentsFilesSumsTheirCounts) {
    for (const char* name : {"LaBr.CNF", "Q8910_Helicopter.N42"}) {
        fs::copy_file(fs::path(VORELBOX_FORMATS_DATA) / name, dir_ / name);
    }
    // Its own name: LaBr.TKA would share the CNF's native copy LaBr.dat.
    fs::copy_file(fs::path(VORELBOX_FORMATS_DATA) / "LaBr.TKA", dir_ / "LaBr2.TKA");
    const fs::path list = dir_ / "instruments.vsl";
    std::ofstream(list) << "VORELIX SPECTRUM LIST 1024, channels\n"
                        << "LaBr CNF|1|" << (dir_ / "LaBr.CNF").string() << "\n"
                        << "helicopter 5|5|" << (dir_ / "Q8910_Helicopter.N42").string() << "\n"
                        << "LaBr TKA|1|" << (dir_ / "LaBr2.TKA").string() << "\n";
    ui.choose(list.string());
    apply(AdderCommand::LoadList);
    EXPECT_TRUE(ui.texts().empty()) << ui.texts().front();
    ASSERT_EQ(adder.list.row_count(), 3);
    EXPECT_EQ(adder.list.channels, 1024);
    const auto row_sum = [this](int row) {
        const auto& c = adder.list.rows[static_cast<std::size_t>(row)].counts;
        return std::accumulate(c.begin(), c.begin() + 1024, 0.0);
    };
    EXPECT_EQ(row_sum(0), 2180755.0);
    EXPECT_EQ(row_sum(1), 10250.0);
    EXPECT_EQ(row_sum(2), 2180755.0);
    const std::vector<double> sum = list_sum(adder.list);
    ASSERT_GE(sum.size(), 1024u);
    EXPECT_EQ(std::accumulate(sum.begin(), sum.begin() + 1024, 0.0), 2180755.0 + 10250.0 + 2180755.0);
    for (const char* copy : {"LaBr.dat", "Q8910_Helicopter.dat", "LaBr2.dat"}) {
        EXPECT_TRUE(fs::exists(dir_ / copy)) << copy;
    }
}

TEST_F(AdderPage, IncludeSkipsSpectraAlreadyInTheList) {
    look_up(spectrum_file("three.dat", 3, 24));
    apply(AdderCommand::Include);  // spectrum 1; the selection moves on to 2
    EXPECT_EQ(adder.page.selected_input, 2);
    apply(AdderCommand::SpectrumSelection, 3);
    apply(AdderCommand::Include);
    apply(AdderCommand::IncludeAll);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Spectrum #1 is already included", "Spectrum #3 is already included"}));
    ASSERT_EQ(adder.list.row_count(), 3);
    EXPECT_EQ(adder.list.rows[2].index, 2);
    EXPECT_EQ(adder.list.rows[2].counts[23], 224.0);
    EXPECT_EQ(adder.list.channels, 24);
    EXPECT_EQ(adder.page.channels_in_spectra, "24");
    EXPECT_TRUE(adder.list.not_saved);
    EXPECT_EQ(adder.page.list_view.rows[2].number, "C");
    EXPECT_TRUE(adder.page.list_commands_enabled);
}

TEST_F(AdderPage, ATembraInputIsReadAgainByItsOwnReader) {
    const fs::path tembra = dir_ / "t.dat";
    std::ofstream(tembra) << "0 1 3\nsecond\nFILE    :x\nSAMPLE  :Cu foil\nCOMMENT :\n0\n      5      6      7\n";
    look_up(tembra.string());
    ASSERT_EQ(adder.page.input_channels, 3);
    // Loading a list (or a visit to the converter) replaces the store.
    spectra::LOAD_SPECTRUM_FILE(store, ui, spectrum_file("other.dat", 2, 3));
    apply(AdderCommand::SpectrumSelection, 1);
    EXPECT_EQ(store.CURRENT_SPECTRUM[2], 7.0);
    store = spectra::SpectrumStore{};
    apply(AdderCommand::Include);
    ASSERT_EQ(adder.list.row_count(), 1);
    EXPECT_EQ(adder.list.rows[0].counts, (std::vector<double>{5, 6, 7}));
    EXPECT_EQ(adder.list.rows[0].header, "Cu foil");
    EXPECT_TRUE(ui.texts().empty());

    // A file that cannot be read again is named.
    fs::remove(tembra);
    store = spectra::SpectrumStore{};
    apply(AdderCommand::IncludeAll);
    EXPECT_EQ(ui.texts().back(), "Unable to read the spectrum file " + tembra.string() + " again");
}

TEST_F(AdderPage, ReturningToTheAdderPutsItsSpectraBack) {
    look_up(spectrum_file("three.dat", 3, 24));
    apply(AdderCommand::IncludeAll);
    ui.choose((dir_ / "three.vsl").string());
    apply(AdderCommand::SaveAs);
    apply(AdderCommand::SpectrumSelection, 2);
    // The converter reads another file into the store.
    store = spectra::SpectrumStore{};
    spectra::LOAD_SPECTRUM_FILE(store, ui, spectrum_file("other.dat", 1, 24, [](int, int) { return 7; }));
    // Meanwhile the list file was changed on disk: it is read again.
    std::ofstream(dir_ / "three.vsl") << "VORELIX SPECTRUM LIST 24, channels\nspectrum 3|3|" << (dir_ / "three.dat").string()
                                      << "\n";
    reload_adder(store, files, adder, ui, clipboard);
    EXPECT_EQ(adder.page.selected_input, 2);
    EXPECT_EQ(store.CURRENT_SPECTRUM[0], 201.0);
    EXPECT_EQ(store.CHANNEL_COUNT, 24);
    ASSERT_EQ(adder.list.row_count(), 1);
    EXPECT_EQ(adder.page.list_view.rows.size(), 1u);
    EXPECT_TRUE(adder.page.redraw_request);

    // An unsaved list is never read over.
    apply(AdderCommand::IncludeAll);
    ASSERT_TRUE(adder.list.not_saved);
    reload_adder(store, files, adder, ui, clipboard);
    EXPECT_EQ(adder.list.row_count(), 3);
}

TEST_F(AdderPage, AFileChosenForAMissingOneLeavesTheLoadedListUnsaved) {
    const std::string data = spectrum_file("new.dat", 1, 12);
    const std::string gone = (dir_ / "gone.dat").string();
    std::ofstream(dir_ / "m.vsl") << "VORELIX SPECTRUM LIST 12, channels\na|1|" << gone << "\n";
    ui.choose((dir_ / "m.vsl").string());
    ui.answer_yes();
    ui.choose(data);
    apply(AdderCommand::LoadList);
    ASSERT_EQ(adder.list.row_count(), 1);
    EXPECT_EQ(adder.list.rows[0].file, data);
    EXPECT_TRUE(adder.list.not_saved);

    // Without a replacement the loaded list is saved as it is.
    ui.answer_no();  // the unsaved list is not saved first
    ui.choose((dir_ / "m.vsl").string());
    std::ofstream(dir_ / "m.vsl") << "VORELIX SPECTRUM LIST 12, channels\na|1|" << data << "\n";
    apply(AdderCommand::LoadList);
    EXPECT_FALSE(adder.list.not_saved);
}

TEST_F(AdderPage, DifferentChannelCountReplacesTheListOnlyWhenAsked) {
    look_up(spectrum_file("a.dat", 2, 24));
    apply(AdderCommand::IncludeAll);
    look_up(spectrum_file("b.dat", 1, 30));
    ui.answer_no();
    apply(AdderCommand::IncludeAll);
    EXPECT_EQ(adder.list.row_count(), 2);
    EXPECT_EQ(ui.texts().back(), "The number of channels in the file: 30 - differs from the number in the list\rReplace all?");
    ui.answer_yes();
    apply(AdderCommand::IncludeAll);
    ASSERT_EQ(adder.list.row_count(), 1);
    EXPECT_EQ(adder.list.channels, 30);
}

TEST_F(AdderPage, RemoveAndMoveRows) {
    look_up(spectrum_file("a.dat", 3, 12));
    apply(AdderCommand::IncludeAll);
    adder.list.selected_row = 1;
    apply(AdderCommand::MoveUp);
    EXPECT_EQ(adder.list.rows[0].index, 1);
    apply(AdderCommand::MoveDown);
    EXPECT_EQ(adder.list.rows[1].index, 1);
    EXPECT_EQ(adder.list.selected_row, 2);
    adder.list.selected_row = 3;
    apply(AdderCommand::MoveDown);
    EXPECT_EQ(adder.list.rows[2].index, 3);

    apply(AdderCommand::Remove);
    EXPECT_EQ(adder.list.row_count(), 2);
    EXPECT_EQ(adder.list.selected_row, 0);
    apply(AdderCommand::RemoveAll);
    EXPECT_EQ(adder.list.row_count(), 0);
    EXPECT_EQ(adder.list.channels, 0);
    EXPECT_EQ(adder.list.file_name, "Untitled.vsl");
    EXPECT_EQ(adder.page.channels_in_spectra, "");
    EXPECT_TRUE(adder.list.not_saved);
}

TEST_F(AdderPage, TheSelectedRowStaysSelectedAndEnablesTheRowCommands) {
    look_up(spectrum_file("a.dat", 3, 12));
    apply(AdderCommand::IncludeAll);
    EXPECT_TRUE(adder.page.list_commands_enabled);
    EXPECT_FALSE(adder.page.row_commands_enabled);  // "&Remove", "Move &up", "Move &down"

    // Selecting row 2 enables them and asks for the list to be redrawn.
    adder.list.selected_row = 2;
    adder.page.redraw_request = false;
    apply(AdderCommand::ListSelection);
    EXPECT_TRUE(adder.page.row_commands_enabled);
    EXPECT_TRUE(adder.page.redraw_request);

    // Ticking a check box keeps row 2 selected in the view.
    adder.page.enhance_selected = true;
    apply(AdderCommand::EnhanceSelected);
    ASSERT_EQ(adder.page.list_view.rows.size(), 3u);
    EXPECT_FALSE(adder.page.list_view.rows[0].selected);
    EXPECT_TRUE(adder.page.list_view.rows[1].selected);
    EXPECT_FALSE(adder.page.list_view.rows[2].selected);
    adder.page.show_sum = true;
    apply(AdderCommand::ShowSum);
    EXPECT_TRUE(adder.page.list_view.rows[1].selected);

    // The selection follows a moved row.
    apply(AdderCommand::MoveDown);
    EXPECT_TRUE(adder.page.list_view.rows[2].selected);
    EXPECT_FALSE(adder.page.list_view.rows[1].selected);

    adder.list.selected_row = 0;
    apply(AdderCommand::ListSelection);
    EXPECT_FALSE(adder.page.row_commands_enabled);
    EXPECT_FALSE(adder.page.list_view.rows[2].selected);
}

TEST_F(AdderPage, SaveBothWritesExactSumsWithTheLabel) {
    // 99 rows of 200,000 counts: the sum needs eight digits and stays exact.
    look_up(spectrum_file("big.dat", 99, 16, [](int, int) { return 200000; }));
    apply(AdderCommand::IncludeAll);
    ui.answer(common::answer::all);
    ui.choose((dir_ / "both.dat").string());
    ui.label(std::string("   "));
    ui.label(std::string("my sum"));
    apply(AdderCommand::SaveSpectra);
    EXPECT_EQ(ui.requests()[0].buttons[0].caption, "Spectrum file");
    EXPECT_EQ(ui.file_requests.back().title, "Save the list in a spectrum file");
    EXPECT_EQ(ui.file_requests.back().file_name, (dir_ / "run_with_sum.dat").string());
    EXPECT_EQ(ui.label_requests[0].text, "Include sum in " + (dir_ / "both.dat").string());
    EXPECT_EQ(ui.label_requests[0].label.rfind("VORELIX SUM SPECTRUM: 16, channels ", 0), 0u);
    EXPECT_EQ(ui.texts().back(), "You must specify a label");

    spectra::SpectrumStore back;
    fakes::ScriptedUi quiet;
    const auto loaded = spectra::LOAD_SPECTRUM_FILE(back, quiet, (dir_ / "both.dat").string());
    EXPECT_EQ(loaded.format, "(8i9)");
    ASSERT_EQ(back.FILE_SPECTRUM_COUNT, 100);
    EXPECT_EQ(back.FILE_SPECTRUM_HEADERS[99], "my sum");
    EXPECT_EQ(back.FILE_SPECTRA[99][0], 19800000.0);
    EXPECT_EQ(back.FILE_SPECTRA[99][15], 19800000.0);
    // The saved file becomes the input file.
    EXPECT_EQ(adder.page.input_file, (dir_ / "both.dat").string());
    EXPECT_EQ(adder.page.input_spectra, 100);
}

TEST_F(AdderPage, CountFormatAndTruncation) {
    const std::pair<double, const char*> cases[] = {{9999999, "(10i8)"}, {12345678, "(8i9)"}, {0, "(10i8)"},
                                                    {3000000000.0, "(7i11)"}};
    for (const auto& [largest, format] : cases) {
        look_up(spectrum_file("f.dat", 1, 30, [l = largest](int, int i) { return i == 2 ? l : 1.0; }));
        apply(AdderCommand::RemoveAll);
        apply(AdderCommand::IncludeAll);
        ui.answer(common::answer::yes_button);
        ui.choose((dir_ / "rows.dat").string());
        apply(AdderCommand::SaveSpectra);
        spectra::SpectrumStore back;
        fakes::ScriptedUi quiet;
        EXPECT_EQ(spectra::LOAD_SPECTRUM_FILE(back, quiet, (dir_ / "rows.dat").string()).format, format) << largest;
        EXPECT_EQ(back.FILE_SPECTRA[0][1], largest);
    }
    std::ofstream(dir_ / "frac.dat") << "fractions\n12.9 -3.7 0.5\n";
    look_up((dir_ / "frac.dat").string());
    apply(AdderCommand::RemoveAll);
    apply(AdderCommand::IncludeAll);
    ui.answer(common::answer::yes_button);
    ui.choose((dir_ / "trunc.dat").string());
    apply(AdderCommand::SaveSpectra);
    EXPECT_EQ(read((dir_ / "trunc.dat").string()), "fractions\n      12      -3       0\n");
}

TEST_F(AdderPage, SaveBothChoosesTheFieldWidthFromRowsAndSum) {
    // The sum is small, but the rows' counts need ten columns each.
    look_up(spectrum_file("wide.dat", 2, 12, [](int k, int) { return k == 1 ? 35000010 : -35000000; }));
    apply(AdderCommand::IncludeAll);
    ui.answer(common::answer::all);
    ui.choose((dir_ / "both.dat").string());
    ui.label(std::string("sum"));
    apply(AdderCommand::SaveSpectra);
    spectra::SpectrumStore back;
    fakes::ScriptedUi quiet;
    EXPECT_EQ(spectra::LOAD_SPECTRUM_FILE(back, quiet, (dir_ / "both.dat").string()).format, "(8i10)");
    ASSERT_EQ(back.FILE_SPECTRUM_COUNT, 3);
    EXPECT_EQ(back.FILE_SPECTRA[0][11], 35000010.0);
    EXPECT_EQ(back.FILE_SPECTRA[1][0], -35000000.0);
    EXPECT_EQ(back.FILE_SPECTRA[2][5], 10.0);
}

TEST_F(AdderPage, AFileThatWouldHoldMoreThan100SpectraIsNotWritten) {
    look_up(spectrum_file("hundred.dat", 100, 8));
    apply(AdderCommand::IncludeAll);
    ASSERT_EQ(adder.list.row_count(), 100);
    ui.answer(common::answer::all);
    apply(AdderCommand::SaveSpectra);
    EXPECT_EQ(ui.texts().back(),
              "A spectrum file holds at most 100 spectra - the list and its sum make 101\r"
              "Nothing is saved: remove rows from the list, or save the sum on its own");
    EXPECT_TRUE(ui.file_requests.size() == 1);  // only the Lookup: no file was chosen
    EXPECT_FALSE(write_list_spectra((dir_ / "both.dat").string(), adder.list, SaveMode::Both, "sum"));
    EXPECT_FALSE(fs::exists(dir_ / "both.dat"));

    // The rows alone fit.
    ui.answer(common::answer::yes_button);
    ui.choose((dir_ / "rows.dat").string());
    apply(AdderCommand::SaveSpectra);
    spectra::SpectrumStore back;
    fakes::ScriptedUi quiet;
    spectra::LOAD_SPECTRUM_FILE(back, quiet, (dir_ / "rows.dat").string());
    EXPECT_EQ(back.FILE_SPECTRUM_COUNT, 100);
}

TEST_F(AdderPage, DroppedSumLeavesAnOlderFile) {
    look_up(spectrum_file("a.dat", 1, 12));
    apply(AdderCommand::IncludeAll);
    std::ofstream(dir_ / "sum.dat") << "older\n";
    ui.answer(common::answer::no_button);
    ui.choose((dir_ / "sum.dat").string());
    ui.label(std::nullopt);
    apply(AdderCommand::SaveSpectra);
    EXPECT_EQ(ui.texts().back(), "The sum spectrum is dropped");
    EXPECT_EQ(read((dir_ / "sum.dat").string()), "older\n");

    apply(AdderCommand::RemoveAll);
    apply(AdderCommand::SaveSpectra);
    EXPECT_EQ(ui.texts().back(), "There is nothing to save");
}

TEST_F(AdderPage, SaveAsLoadAndNewList) {
    look_up(spectrum_file("a.dat", 2, 12));
    apply(AdderCommand::IncludeAll);
    const std::string saved = (dir_ / "saved.vsl").string();
    ui.choose(saved);
    apply(AdderCommand::SaveAs);
    EXPECT_EQ(ui.file_requests.back().default_extension, ".vsl");
    EXPECT_FALSE(adder.list.not_saved);
    EXPECT_EQ(adder.recent_lists.entries[0], saved);

    apply(AdderCommand::RemoveAll);
    ui.answer(common::answer::cancel);
    apply(AdderCommand::NewList);
    EXPECT_EQ(ui.texts().back(), "The present spectrum list is not saved - save before creating the new?");
    EXPECT_TRUE(adder.list.not_saved);

    ui.answer_no();
    apply(AdderCommand::RecentList, 1);
    EXPECT_EQ(ui.texts().back(), "The present spectrum list is not saved - save before loading another?");
    ASSERT_EQ(adder.list.row_count(), 2);
    EXPECT_FALSE(adder.list.not_saved);
    EXPECT_EQ(adder.page.list_view.rows.size(), 2u);

    apply(AdderCommand::NewList);
    EXPECT_EQ(adder.list.row_count(), 0);
    EXPECT_EQ(adder.list.file_name, "Untitled.vsl");
    EXPECT_TRUE(adder.page.input_file.empty());

    fs::remove(saved);
    apply(AdderCommand::RecentList, 1);
    EXPECT_EQ(ui.texts().back(), "The spectrum list " + saved + " has been removed");
    EXPECT_TRUE(adder.recent_lists.entries[0].empty());
}

TEST_F(AdderPage, PasteGoesToTheTemporaryFolderWhenTheProgramFolderIsReadOnly) {
    adder.program_folder = "/nonexistent/program/folder";
    clipboard.content = "12\n15\n9\n";
    apply(AdderCommand::Paste);
    EXPECT_EQ(adder.page.input_channels, 3);
    // The temporary folder, with or without its closing separator (Windows gives it with one).
    EXPECT_EQ((fs::path(adder.page.input_file).parent_path() / "").lexically_normal(),
              (fs::temp_directory_path() / "").lexically_normal());
    EXPECT_TRUE(spectra::is_pasted_spectrum_file(adder.page.input_file));
    EXPECT_EQ(store.CURRENT_SPECTRUM[1], 15.0);
    fs::remove(adder.page.input_file);
}

TEST_F(AdderPage, EveryPastedSpectrumKeepsItsOwnFile) {
    adder.program_folder = dir_.string();
    clipboard.content = "12\n15\n9\n";
    apply(AdderCommand::Paste);
    apply(AdderCommand::Include);
    clipboard.content = "1\n2\n3\n";
    apply(AdderCommand::Paste);
    apply(AdderCommand::Include);
    clipboard.content = "not a number\n";
    apply(AdderCommand::Paste);  // refused: no file is left behind
    ASSERT_EQ(adder.list.row_count(), 2);
    EXPECT_EQ(adder.list.rows[0].file, (dir_ / "pasted_spectrum.tmp").string());
    EXPECT_EQ(adder.list.rows[1].file, (dir_ / "pasted_spectrum_2.tmp").string());
    EXPECT_FALSE(fs::exists(dir_ / "pasted_spectrum_3.tmp"));

    // The saved list reads back both pasted spectra.
    ui.choose((dir_ / "pasted.vsl").string());
    apply(AdderCommand::SaveAs);
    apply(AdderCommand::RemoveAll);
    ui.answer_no();
    ui.choose((dir_ / "pasted.vsl").string());
    apply(AdderCommand::LoadList);
    ASSERT_EQ(adder.list.row_count(), 2);
    EXPECT_EQ(adder.list.rows[0].counts, (std::vector<double>{12, 15, 9}));
    EXPECT_EQ(adder.list.rows[1].counts, (std::vector<double>{1, 2, 3}));
}

TEST_F(AdderPage, CenterPeakMovesTheWindow) {
    look_up(spectrum_file("peak.dat", 1, 400, [](int, int i) { return i == 300 ? 999 : 1; }));
    apply(AdderCommand::DisplaySelection);
    adder.page.zoom_index = 5;  // four times: 100 channels visible
    apply(AdderCommand::CenterPeak);
    EXPECT_EQ(adder.page.first_displayed, 250);
    EXPECT_EQ(adder.page.last_displayed, 349);
    adder.page.scroll_position = 390;
    apply(AdderCommand::Scroll);
    EXPECT_EQ(adder.page.last_displayed, 400);
    apply(AdderCommand::Other);
    EXPECT_EQ(ui.texts().back(), "Spectrum Adder action - not yet programmed");
}

TEST_F(AdderPage, AListSavedOverAReadOnlyFileIsRefusedWithTheReason) {
    look_up(spectrum_file("a.dat", 2, 12));
    apply(AdderCommand::IncludeAll);
    const std::string locked = (dir_ / "locked.vsl").string();
    std::ofstream(locked) << "older list\n";
    fs::permissions(locked, fs::perms::owner_read);
    ui.choose(locked);
    apply(AdderCommand::SaveAs);
    EXPECT_EQ(ui.texts().back(),
              "Unable to save the spectrum list " + locked + "\rThe file is read-only; the file was not changed");
    EXPECT_TRUE(adder.list.not_saved);
    EXPECT_EQ(read(locked), "older list\n");
}
