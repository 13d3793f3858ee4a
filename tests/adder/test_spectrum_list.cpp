#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <sstream>

#include "fakes/faulty_file_ops.h"
#include "fakes/scripted_ui.h"
#include "save_list_spectra.h"
#include "spectrum_list.h"
#include "support/files.h"

using namespace vorelbox;
using namespace vorelbox::adder;
namespace fs = std::filesystem;

namespace {

class ListFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vorelbox_list_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
    }
    void TearDown() override { support::remove_folder(dir_); }
    std::string write(const std::string& name, const std::string& text) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    // A native file of `spectra` spectra of `channels` channels; spectrum k holds k in every channel.
    std::string spectrum_file(const std::string& name, int spectra, int channels) {
        std::ostringstream out;
        for (int k = 1; k <= spectra; ++k) {
            out << "spectrum " << k << "\n";
            for (int i = 0; i < channels; ++i) {
                out << std::setw(8) << k << ((i % 10 == 9 || i + 1 == channels) ? "\n" : "");
            }
        }
        return write(name, out.str());
    }
    bool load(const std::string& list_file) {
        return LOAD_SPECTLIST(list, store, files, recent, ui, list_file);
    }

    fs::path dir_;
    SpectrumList list;
    spectra::SpectrumStore store;
    spectra::RawFileTable files;
    RecentFiles recent;
    fakes::ScriptedUi ui;
};

}  // namespace

TEST_F(ListFiles, WrittenListReadsBackWithBarsInHeaders) {
    const std::string data = spectrum_file("a.dat", 3, 12);
    SpectrumList saved;
    saved.channels = 12;
    saved.rows.push_back({"plain header", 1, data, {}, 0});
    saved.rows.push_back({"with | a bar |", 3, data, {}, 0});
    std::ostringstream out;
    write_spectrum_list(out, saved);
    EXPECT_EQ(out.str(), "VORELIX SPECTRUM LIST 12, channels\nplain header|1|" + data + "\nwith | a bar ||3|" + data + "\n");

    ASSERT_TRUE(write_spectrum_list_file((dir_ / "l.vsl").string(), saved));
    ASSERT_TRUE(load((dir_ / "l.vsl").string()));
    ASSERT_EQ(list.row_count(), 2);
    EXPECT_EQ(list.rows[1].header, "with | a bar |");
    EXPECT_EQ(list.rows[1].index, 3);
    EXPECT_EQ(list.rows[1].counts, std::vector<double>(12, 3.0));
    EXPECT_EQ(list.rows[1].maximum, 3.0);
    EXPECT_EQ(list.file_name, (dir_ / "l.vsl").string());
    EXPECT_EQ(ui.status[0], "Ready for Spectrum addition");
    EXPECT_EQ(ui.status[1], "Spectrum list [l.vsl] loaded");
    EXPECT_EQ(ui.status[2], "Spectrum list " + (dir_ / "l.vsl").string() + " OK");
}

// Names that hold a bar: test_spectrum_list_posix.cpp (Windows names hold none).
TEST(ListRows, OlderListsSplitAtTheLastTwoBarsStillRead) {
    const auto old_row = split_row_line("a | b ||3|/no/such/file.dat");
    ASSERT_TRUE(old_row);
    EXPECT_EQ(old_row->header, "a | b |");
    EXPECT_EQ(old_row->index_text, "3");
    EXPECT_EQ(old_row->file, "/no/such/file.dat");
    EXPECT_FALSE(split_row_line("no bars"));
}

TEST_F(ListFiles, ARowBecomesTheCurrentSpectrum) {
    const std::string data = spectrum_file("a.dat", 3, 12);
    ASSERT_TRUE(load(write("l.vsl", "VORELIX SPECTRUM LIST 12, channels\nx|1|" + data + "\ny|3|" + data + "\n")));
    EXPECT_FALSE(LOAD_SPECTRUM_IN_LIST(list, store, ui, 0));
    EXPECT_FALSE(LOAD_SPECTRUM_IN_LIST(list, store, ui, 3));
    ASSERT_TRUE(LOAD_SPECTRUM_IN_LIST(list, store, ui, 2));
    EXPECT_EQ(store.CHANNEL_COUNT, 12);
    EXPECT_EQ(store.CURRENT_SPECTRUM[11], 3.0);
    EXPECT_NEAR(spectra::log_spectrum(store, 1, 1)[0], std::log10(3.0), 1e-12);
    // A row whose file is gone keeps its own counts.
    fs::remove(data);
    ASSERT_TRUE(LOAD_SPECTRUM_IN_LIST(list, store, ui, 1));
    EXPECT_EQ(store.CURRENT_SPECTRUM[0], 1.0);
    EXPECT_TRUE(ui.texts().empty());
}

TEST_F(ListFiles, AListThatCannotBeSavedKeepsTheOldList) {
    SpectrumList saved;
    saved.channels = 12;
    saved.rows.push_back({"header", 1, spectrum_file("a.dat", 1, 12), {}, 0});
    const std::string target = write("l.vsl", "older list\n");
    for (const fakes::SaveFault& fault : fakes::save_faults()) {
        fakes::FaultyFileOps ops;
        fault.arrange(ops);
        EXPECT_FALSE(write_spectrum_list_file(target, saved, ops)) << fault.name;
        std::ifstream in(target);
        std::string line;
        std::getline(in, line);
        EXPECT_EQ(line, "older list") << fault.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2) << fault.name;
    }
}

// A row naming "c.chn", a NUL and "/x.chn" used to send the list load round
// for ever once c.chn existed: the NUL cut the name to c.chn, and the native
// copy then looked in vain for a free temporary name.
TEST_F(ListFiles, ARowWhoseNameHoldsANulIsRejectedBeforeAnyFileIsTouched) {
    const fs::path chn = dir_ / "c.chn";
    support::copy_writable(fs::path(VORELBOX_REAL_DATA) / "Cs137SMALL.Chn", chn);
    const std::string name = chn.string() + std::string(1, '\0') + "/x.chn";
    // Not "nul.vsl": Windows takes that name for its null device.
    const std::string list_file = write("nul_in_row.vsl", "VORELBOX SPECTRUM LIST 0, channels\nh|1|" + name + "\n");
    EXPECT_FALSE(load(list_file));
    ASSERT_FALSE(ui.texts().empty()) << ui.status[2];
    EXPECT_EQ(ui.texts().back(), "The spectrum list " + list_file + "\rrow 1 names a spectrum file with a control "
                                 "character in its name:\r" + chn.string() + "\\x00/x.chn\rthe list is rejected");
    EXPECT_EQ(list.row_count(), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);

    EXPECT_FALSE(load(list_file + "\n"));
    EXPECT_EQ(ui.texts().back(), "The name of the spectrum list " + list_file + "\\x0A holds a control character");
}

TEST_F(ListFiles, HeaderLineKeywordsAndEmptyLists) {
    EXPECT_EQ(read_list_header("VORELBOX SPECTRUM LIST 512, channels", 0), 512);
    EXPECT_EQ(read_list_header("VORELIX SPECTRUM LIST 512, channels", 0), 512);
    EXPECT_EQ(read_list_header("VORELIX SPECTRUM LIST , channels", 77), 77);
    EXPECT_FALSE(read_list_header("vorelix spectrum list 512", 0));
    ASSERT_TRUE(load(write("empty.vsl", "VORELBOX SPECTRUM LIST 512, channels\n")));
    EXPECT_EQ(list.channels, 512);
    EXPECT_EQ(list.row_count(), 0);

    EXPECT_FALSE(load(write("bad.vsl", "SPECTRUM LIST 512\n")));
    EXPECT_EQ(ui.status[2], "Syntax error reading line:\rSPECTRUM LIST 512");
    EXPECT_FALSE(load(write("norow.vsl", "VORELIX SPECTRUM LIST 512, channels\nno bars here  \n")));
    EXPECT_EQ(ui.status[2], "Syntax error reading line:\rno bars here");
    EXPECT_FALSE(load((dir_ / "absent.vsl").string()));
    EXPECT_EQ(ui.status[2], "Can't open the file: " + (dir_ / "absent.vsl").string());
}

TEST_F(ListFiles, LongHeadersAndChannelMismatch) {
    const std::string data = spectrum_file("a.dat", 1, 12);
    ASSERT_TRUE(load(write("long.vsl", "VORELIX SPECTRUM LIST 12, channels\n" + std::string(90, 'h') + "|1|" + data + "\n")));
    EXPECT_EQ(list.rows[0].header, std::string(80, 'h'));

    const std::string other = spectrum_file("b.dat", 1, 20);
    EXPECT_FALSE(load(write("mix.vsl", "VORELIX SPECTRUM LIST 12, channels\nx|1|" + data + "\ny|1|" + other + "\n")));
    EXPECT_EQ(list.row_count(), 1);
    EXPECT_EQ(ui.texts().back(),
              "The number of channels in the list (12) differs from\rthe number of channels in the file (20)\r"
              "the file is rejected");
}

TEST_F(ListFiles, RowsWithoutAFileAreRejectedWithOrWithoutAChannelCount) {
    // Such a row once took spectrum 1 of the file loaded before it (with a count
    // in the header) or zeros (without one).
    const std::string data = spectrum_file("a.dat", 2, 12);
    for (const char* head : {"VORELIX SPECTRUM LIST 12, channels\n", "VORELIX SPECTRUM LIST\n"}) {
        const std::string name = write("rows.vsl", std::string(head) + "a|2|" + data + "\npasted|1|\n");
        EXPECT_FALSE(load(name)) << head;
        EXPECT_EQ(ui.texts().back(), "The spectrum list " + name +
                                         "\rhas a row without a spectrum file: pasted|1|\rthe list is rejected")
            << head;
    }
}

TEST_F(ListFiles, AListWithoutAChannelCountTakesThatOfItsFirstFile) {
    const std::string twelve = spectrum_file("a.dat", 1, 12);
    const std::string twenty = spectrum_file("b.dat", 1, 20);
    ASSERT_TRUE(load(write("one.vsl", "VORELIX SPECTRUM LIST\nx|1|" + twelve + "\n")));
    EXPECT_EQ(list.channels, 12);
    EXPECT_EQ(list.rows[0].maximum, 1.0);
    EXPECT_FALSE(load(write("mix.vsl", "VORELIX SPECTRUM LIST\nx|1|" + twelve + "\ny|1|" + twenty + "\n")));
    EXPECT_EQ(ui.texts().back(),
              "The number of channels in the list (12) differs from\rthe number of channels in the file (20)\r"
              "the file is rejected");
}

TEST_F(ListFiles, ChannelCountsAndIndexesBeyondAnyFileAreRefused) {
    const std::string data = spectrum_file("a.dat", 1, 12);
    const std::string big = write("big.vsl", "VORELIX SPECTRUM LIST 2000000000, channels\n");
    EXPECT_FALSE(load(big));
    EXPECT_EQ(ui.texts().back(), "The spectrum list " + big +
                                     " is for spectra of 2000000000 channels; at most 262144 channels can be read");
    // 4294967297 would wrap to 1 as an int.
    EXPECT_FALSE(load(write("index.vsl", "VORELIX SPECTRUM LIST 12, channels\nx|4294967297|" + data + "\n")));
    EXPECT_EQ(ui.texts().back(), "The spectrum file " + data + " holds no spectrum #101");
}

// A list file that is a FIFO: test_spectrum_list_posix.cpp.

TEST_F(ListFiles, MissingFileIsAskedForOnce) {
    const std::string data = spectrum_file("new.dat", 2, 12);
    const std::string gone = (dir_ / "gone.dat").string();
    const std::string name = write("m.vsl", "VORELIX SPECTRUM LIST 12, channels\na|1|" + gone + "\nb|2|" + gone + "\n");
    ui.answer_yes();
    ui.choose(data);
    ASSERT_TRUE(load(name));
    EXPECT_EQ(ui.texts()[0], "The spectrum list " + name + "\rrefers to a non existing spectrum file: " + gone +
                                 "\rLookup the spectrum file (Yes)\rDrop the list (No) og just abort (Cancel)");
    EXPECT_EQ(ui.file_requests[0].title, "Vorelix Spectrum");
    EXPECT_EQ(ui.file_requests[0].file_name, "gone.dat");
    ASSERT_EQ(list.row_count(), 2);
    EXPECT_EQ(list.rows[1].file, data);
    EXPECT_EQ(list.rows[1].counts[0], 2.0);
    EXPECT_TRUE(list.not_saved);
}

TEST_F(ListFiles, MissingFileDropsOrAbortsTheList) {
    const std::string gone = (dir_ / "gone.dat").string();
    const std::string name = write("m.vsl", "VORELIX SPECTRUM LIST 12, channels\na|1|" + gone + "\n");
    list.file_name = name;
    recent.entries[0] = name;
    ui.answer(common::answer::cancel);
    EXPECT_FALSE(load(name));
    EXPECT_EQ(list.file_name, name);
    EXPECT_EQ(recent.entries[0], name);

    ui.answer_no();
    EXPECT_FALSE(load(name));
    EXPECT_EQ(list.row_count(), 0);
    EXPECT_TRUE(list.file_name.empty());
    EXPECT_TRUE(recent.entries[0].empty());
}

TEST(SpectrumList, RowLabelsAndRoom) {
    EXPECT_EQ(ABC_NUMBER(1), "A");
    EXPECT_EQ(ABC_NUMBER(26), "Z");
    EXPECT_EQ(ABC_NUMBER(27), "AA");
    EXPECT_EQ(ABC_NUMBER(52), "AZ");
    EXPECT_EQ(ABC_NUMBER(53), "BA");
    EXPECT_EQ(ABC_NUMBER(702), "ZZ");

    SpectrumList list;
    spectra::SpectrumStore store;
    fakes::ScriptedUi ui;
    store.CHANNEL_COUNT = 5;
    list.capacity = 10;
    CHECK_LIST_ALLOCATION(list, store, ui, 10);
    EXPECT_EQ(list.capacity, 10);
    CHECK_LIST_ALLOCATION(list, store, ui, 11);
    EXPECT_EQ(list.capacity, 21);
    EXPECT_TRUE(ui.shown().empty());
    store.CHANNEL_COUNT = 0;
    CHECK_LIST_ALLOCATION(list, store, ui, 1);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"The actual spectrum is empty"}));
}

TEST(SpectrumList, ListViewRows) {
    SpectrumList list;
    list.rows.push_back({"first  ", 2, "/x/a.dat", {}, 0});
    list.rows.push_back({"second", 1, "", {}, 0});
    list.selected_row = 2;
    const ListView view = FILL_SPECT_LIST(list);
    EXPECT_EQ(view.columns, (std::array<std::string, 4>{"#", "Spectrum ID", "Index", "Spectrum file"}));
    EXPECT_EQ(view.widths, (std::array<int, 4>{24, 400, 50, 600}));
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0].number, "1");
    EXPECT_EQ(view.rows[0].header, "first");
    EXPECT_EQ(view.rows[0].index, "2");
    EXPECT_FALSE(view.rows[0].selected);
    EXPECT_TRUE(view.rows[1].selected);
}

TEST_F(ListFiles, RecentListsKeepTheirOrder) {
    std::vector<std::string> names;
    for (int i = 1; i <= 9; ++i) {
        std::string name = "l";
        name += std::to_string(i);
        name += ".vsl";
        names.push_back(write(name, "x"));
    }
    for (int i = 0; i < 8; ++i) {
        recent.entries[static_cast<std::size_t>(i)] = names[static_cast<std::size_t>(i)];
    }
    SORT_VSL(recent, names[4]);
    EXPECT_EQ(recent.entries[0], names[4]);
    EXPECT_EQ(recent.entries[1], names[0]);
    EXPECT_EQ(recent.entries[4], names[3]);
    EXPECT_EQ(recent.entries[5], names[5]);
    EXPECT_EQ(recent.entries[7], names[7]);

    SORT_VSL(recent, names[8]);  // a ninth list pushes the last one out
    EXPECT_EQ(recent.entries[0], names[8]);
    EXPECT_EQ(recent.entries[7], names[6]);

    fs::remove(names[0]);
    SORT_VSL(recent, "Untitled.vsl");
    EXPECT_EQ(recent.entries[1], names[4]);
    EXPECT_EQ(recent.entries[2], names[1]);
    EXPECT_TRUE(recent.entries[7].empty());
    EXPECT_EQ(std::count(recent.entries.begin(), recent.entries.end(), "Untitled.vsl"), 0);
}

TEST_F(ListFiles, AFileNamedAgainAfterOtherFilesIsReadOnce) {
    // The last spectrum of a.dat is short: each reading of the file says so.
    const std::string a = write("a.dat", "first\n 1 1 1 1\nsecond\n 2 2\n");
    const std::string b = spectrum_file("b.dat", 2, 4);
    ASSERT_TRUE(load(write("l.vsl", "VORELIX SPECTRUM LIST 4, channels\nx|1|" + a + "\ny|2|" + b + "\nz|2|" + a +
                                        "\nw|1|" + a + "\n")));
    ASSERT_EQ(list.row_count(), 4);
    const std::vector<std::string> texts = ui.texts();
    const auto warnings = std::count_if(texts.begin(), texts.end(), [](const std::string& t) {
        return t.find("shorter") != std::string::npos;
    });
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(list.rows[1].counts, (std::vector<double>{2, 2, 2, 2}));
    EXPECT_EQ(list.rows[2].counts, (std::vector<double>{2, 2, 0, 0}));
    EXPECT_EQ(list.rows[3].counts, (std::vector<double>{1, 1, 1, 1}));
    // The store holds the last row's file, as after reading it.
    EXPECT_EQ(store.LOADED_SPECTRUM_FILE, a);
    EXPECT_EQ(store.FILE_SPECTRUM_COUNT, 2);
    EXPECT_EQ(store.FILE_SPECTRUM_HEADERS[1], "second");
    EXPECT_EQ(store.CURRENT_SPECTRUM[1], 2.0);
}

TEST_F(ListFiles, ALoadedListSavedWithItsSumGivesTheseBytes) {
    // Counts with decimals and minus signs, a file named by two rows, and a sum
    // that needs ten columns.
    const std::string a = write("a.dat",
                                "first run   \n"
                                "         0         7        -3      12.9      -0.4   1234567\n"
                                "        99       100         5       -12       0.5        42\n");
    const std::string b = write("b.dat",
                                "b one\n"
                                "  60000000         1         2         3         4         5\n"
                                "         6         7         8         9        10        11\n"
                                "b two\n"
                                "  50000000        -1        -2        -3        -4        -5\n"
                                "        -6        -7        -8        -9       -10       -11\n");
    ASSERT_TRUE(load(write("l.vsl", "VORELIX SPECTRUM LIST 12, channels\nfirst run   |1|" + a + "\nb two|2|" + b +
                                        "\nb one|1|" + b + "\n")));
    // The rows hold the counts as the files give them.
    EXPECT_EQ(list.rows[0].counts, (std::vector<double>{0, 7, -3, 12.9, -0.4, 1234567, 99, 100, 5, -12, 0.5, 42}));
    EXPECT_EQ(list.rows[1].counts, (std::vector<double>{50000000, -1, -2, -3, -4, -5, -6, -7, -8, -9, -10, -11}));

    const std::string saved = (dir_ / "both.dat").string();
    ASSERT_TRUE(write_list_spectra(saved, list, SaveMode::Both, std::string("sum of 3")));
    std::ifstream in(saved, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Counts are truncated toward zero: 12.9 is 12, -0.4 and 0.5 are 0.
    EXPECT_EQ(bytes, support::system_text("first run\n"
                                          "         0         7        -3        12         0   1234567        99       100\n"
                                          "         5       -12         0        42\n"
                                          "b two\n"
                                          "  50000000        -1        -2        -3        -4        -5        -6        -7\n"
                                          "        -8        -9       -10       -11\n"
                                          "b one\n"
                                          "  60000000         1         2         3         4         5         6         7\n"
                                          "         8         9        10        11\n"
                                          "sum of 3\n"
                                          " 110000000         7        -3        12         0   1234567        99       100\n"
                                          "         5       -12         0        42\n"));
}
