// The bytes layers of the other instruments' readers on crafted files: cut-off
// and lying files, and the variants each format allows.

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <random>

#include "amptek_mca.h"
#include "canberra_cnf.h"
#include "column_text.h"
#include "foreign_formats.h"
#include "iec_61455.h"
#include "n42_file.h"
#include "tka_file.h"
#include "xml_document.h"

using namespace vorelbox;
using namespace vorelbox::spectra;

namespace {

std::string bytes_of(const std::string& name) {
    std::ifstream in(std::filesystem::path(VORELBOX_FORMATS_DATA) / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<double> counts(const ForeignRead& r, std::size_t k = 0) { return r.spectra.at(k).counts; }

}  // namespace

namespace {

bool separates(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\0' || c == '\n' || c == ',' || c == ';'; }
bool digit(std::string_view t, std::size_t i) { return i < t.size() && t[i] >= '0' && t[i] <= '9'; }

// The numbers of a text read one number at a time with from_chars: a sign, digits
// with at most one point, an exponent when digits follow its e or E and sign.
std::optional<std::vector<double>> numbers_one_at_a_time(std::string_view t) {
    std::vector<double> out;
    std::size_t i = 0;
    while (i < t.size()) {
        if (separates(t[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        if (t[i] == '+' || t[i] == '-') {
            ++i;
        }
        std::size_t digits = 0;
        for (; digit(t, i); ++i) {
            ++digits;
        }
        if (i < t.size() && t[i] == '.') {
            for (++i; digit(t, i); ++i) {
                ++digits;
            }
        }
        if (digits == 0) {
            return std::nullopt;
        }
        if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
            std::size_t j = i + 1;
            if (j < t.size() && (t[j] == '+' || t[j] == '-')) {
                ++j;
            }
            if (digit(t, j)) {
                for (i = j; digit(t, i); ++i) {
                }
            }
        }
        std::string_view number = t.substr(start, i - start);
        if (number.front() == '+') {
            number.remove_prefix(1);
        }
        double v = 0;
        const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), v);
        if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(v)) {
            return std::nullopt;
        }
        out.push_back(v);
    }
    return out;
}

}  // namespace

TEST(CanberraCnf, FilesCutShortAreRefusedWithWhereTheyEnd) {
    const std::string labr = bytes_of("LaBr.CNF");
    ASSERT_EQ(labr.size(), 85504u);
    ASSERT_TRUE(read_cnf_bytes(labr, "LaBr.CNF").ok());

    const ForeignRead directory = read_cnf_bytes(labr.substr(0, 0x80), "LaBr.CNF");
    EXPECT_FALSE(directory.ok());
    EXPECT_TRUE(mentions(directory.problem, "Error reading file: LaBr.CNF"));
    EXPECT_TRUE(mentions(directory.problem, "too short"));

    // The channel block starts at byte 34304: a file ending before it, or inside
    // its counts, names the byte where the counts would end.
    const ForeignRead block = read_cnf_bytes(labr.substr(0, 34000), "LaBr.CNF");
    EXPECT_FALSE(block.ok());
    EXPECT_TRUE(mentions(block.problem, "starts at byte 34304, the file ends at byte 34000"));
    const ForeignRead data = read_cnf_bytes(labr.substr(0, 34304 + 512 + 100), "LaBr.CNF");
    EXPECT_FALSE(data.ok());
    EXPECT_TRUE(mentions(data.problem, "1024 channels end at byte 38912"));
    EXPECT_FALSE(read_cnf_bytes("", "x.cnf").ok());
}

TEST(CanberraCnf, DatesAreShownOnlyWhenTheyArePlausible) {
    EXPECT_EQ(cnf_date_text(0), "");
    // 2019-02-07 11:48:18 as 100 ns ticks since 17 Nov 1858.
    const std::uint64_t ticks = (3506716800ULL + 1549540098ULL) * 10000000ULL;
    EXPECT_EQ(cnf_date_text(ticks), "2019-02-07 11:48:18");
    EXPECT_EQ(cnf_date_text(~0ULL), "");
}

TEST(N42, CountedZeroesEntitiesCdataAndCommentsOf2012) {
    const std::string text =
        "<?xml version=\"1.0\"?>\n<n:RadInstrumentData xmlns:n=\"http://physics.nist.gov/N42/2011/N42\">"
        "<n:EnergyCalibration id=\"e1\"><n:CoefficientValues>0.5 2.0 0</n:CoefficientValues></n:EnergyCalibration>"
        "<n:RadMeasurement><n:StartDateTime>2020-01-02T03:04:05Z</n:StartDateTime>"
        "<n:RealTimeDuration>PT1M0.5S</n:RealTimeDuration>"
        "<n:Spectrum radDetectorInformationReference=\"Ge1\" energyCalibrationReference=\"e1\">"
        "<n:LiveTimeDuration>PT60S</n:LiveTimeDuration>"
        "<n:ChannelData compressionCode=\"CountedZeroes\">0 3 5 &#x31;7 <![CDATA[ 300 ]]> 0 2<!-- x --> 9"
        "</n:ChannelData></n:Spectrum></n:RadMeasurement></n:RadInstrumentData>";
    const ForeignRead r = read_n42_bytes(text, "a.n42");
    ASSERT_TRUE(r.ok()) << r.problem;
    EXPECT_EQ(counts(r), (std::vector<double>{0, 0, 0, 5, 17, 300, 0, 0, 9}));
    EXPECT_EQ(r.pane.format, "ANSI N42.42-2012");
    EXPECT_EQ(r.pane.live_time, 60.0);
    EXPECT_EQ(r.pane.real_time, 60.5);
    EXPECT_EQ(r.pane.energy, (std::vector<double>{0.5, 2.0, 0}));
    EXPECT_EQ(r.spectra[0].header, "Ge1 - 2020-01-02T03:04:05Z");
}

TEST(N42, The2006AttributeSpellingAndSpectraOfOtherLengths) {
    const std::string text =
        "<N42InstrumentData><Measurement><Spectrum Detector=\"A1\"><RealTime>PT2S</RealTime>"
        "<ChannelData Compression=\"CountedZeroes\">1 0 2 4</ChannelData></Spectrum>"
        "<Spectrum Detector=\"A2\"><ChannelData>4 3 2 1</ChannelData></Spectrum>"
        "<Spectrum Detector=\"A3\"><ChannelData>4 3</ChannelData></Spectrum>"
        "<Spectrum Detector=\"N\"/></Measurement></N42InstrumentData>";
    const ForeignRead r = read_n42_bytes(text, "b.n42");
    ASSERT_TRUE(r.ok()) << r.problem;
    ASSERT_EQ(r.spectra.size(), 2u);
    EXPECT_EQ(counts(r, 0), (std::vector<double>{1, 0, 0, 4}));
    EXPECT_EQ(counts(r, 1), (std::vector<double>{4, 3, 2, 1}));
    EXPECT_EQ(r.pane.spectra_in_file, 4);
    ASSERT_EQ(r.notes.size(), 2u);
    EXPECT_TRUE(mentions(r.notes[0], "1 spectrum of b.n42 with another number of channels than the first (4) is left out"));
    EXPECT_TRUE(mentions(r.notes[1], "without channel data"));
}

TEST(N42, ADeclaredChannelCountThatDisagreesWithTheDataIsTold) {
    const ForeignRead r = read_n42_bytes(
        "<RadInstrumentData><RadMeasurement><Spectrum numberOfChannels=\"8\"><ChannelData>1 2 3 4</ChannelData>"
        "</Spectrum></RadMeasurement></RadInstrumentData>",
        "c.n42");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(counts(r).size(), 4u);
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_TRUE(mentions(r.notes[0], "declares 8 channels and holds 4"));
}

namespace {

// What the channel data of an N42 spectrum come to, read as a list of numbers
// first and then counted: the counts, or the problem the user is told of.
struct ChannelOutcome {
    std::vector<double> counts;
    std::string problem;
};

ChannelOutcome channels_from_the_list(std::string_view text, bool counted_zeroes);

std::string n42_of(const std::string& data, bool counted_zeroes) {
    return std::string("<RadInstrumentData><Spectrum><ChannelData") +
           (counted_zeroes ? " compressionCode=\"CountedZeroes\">" : ">") + data +
           "</ChannelData></Spectrum></RadInstrumentData>";
}

}  // namespace

TEST(N42, ChannelDataReadAsTheirListOfNumbersSaysOnRandomData) {
    // Whole counts, zero runs, fractions, signs, runs past the channel limit and
    // stray letters in any order: the counts and the message that comes first
    // must be those of reading the whole list of numbers before counting.
    std::mt19937 random(3);
    const std::vector<std::string> tokens = {"0", "0", "7", "12345678", "250000", "2", "1.5", "-4", "-0",
                                             "x",  "1e2", "0 262144", "3,", ";", "\n", "123456789012345678"};
    std::uniform_int_distribution<std::size_t> pick(0, tokens.size() - 1);
    std::uniform_int_distribution<int> length(0, 12);
    for (int trial = 0; trial < 4000; ++trial) {
        std::string data;
        for (int k = length(random); k > 0; --k) {
            data += tokens[pick(random)] + " ";
        }
        const bool counted = trial % 2 == 0;
        const ForeignRead r = read_n42_bytes(n42_of(data, counted), "r.n42");
        const ChannelOutcome expected = channels_from_the_list(data, counted);
        if (!expected.problem.empty()) {
            EXPECT_TRUE(mentions(r.problem, expected.problem)) << data << "\n" << r.problem;
        } else if (expected.counts.empty()) {
            EXPECT_TRUE(mentions(r.problem, "hold no channel data")) << data << "\n" << r.problem;
        } else {
            ASSERT_TRUE(r.ok()) << data << "\n" << r.problem;
            EXPECT_EQ(counts(r), expected.counts) << data;
        }
    }
}

namespace {

ChannelOutcome channels_from_the_list(std::string_view text, bool counted_zeroes) {
    ChannelOutcome out;
    const auto values = numbers_one_at_a_time(text);
    if (!values) {
        out.problem = "something other than numbers";
        return out;
    }
    for (std::size_t k = 0; k < values->size(); ++k) {
        const double v = (*values)[k];
        if (!is_whole_count(v)) {
            out.problem = "a count that is not a whole number";
            return out;
        }
        double run = 1;
        if (counted_zeroes && v == 0) {
            if (k + 1 >= values->size() || !is_whole_count((*values)[k + 1]) || (*values)[k + 1] < 0) {
                out.problem = "without the number of zero channels";
                return out;
            }
            run = (*values)[++k];
        }
        if (static_cast<double>(out.counts.size()) + run > MAX_CHANNELS) {
            out.problem = "channels can be read";
            return out;
        }
        out.counts.insert(out.counts.end(), static_cast<std::size_t>(run), counted_zeroes && v == 0 ? 0.0 : v);
    }
    return out;
}

}  // namespace

TEST(N42, DocumentsThatAreNoSpectraAreRefusedWithTheReason) {
    EXPECT_TRUE(mentions(read_n42_bytes("<html><body/></html>", "d.xml").problem, "its root element is html"));
    EXPECT_TRUE(mentions(read_n42_bytes("<RadInstrumentData><Spectrum>", "d.n42").problem, "XML error at line 1"));
    EXPECT_TRUE(mentions(read_n42_bytes("<RadInstrumentData/>", "d.n42").problem, "no Spectrum element"));
    EXPECT_TRUE(mentions(read_n42_bytes("<RadInstrumentData><Spectrum><ChannelData compressionCode=\"Zip\">1"
                                        "</ChannelData></Spectrum></RadInstrumentData>",
                                        "d.n42")
                             .problem,
                         "compressed as \"Zip\""));
    EXPECT_TRUE(mentions(read_n42_bytes("<RadInstrumentData><Spectrum><ChannelData compressionCode=\"CountedZeroes\">"
                                        "1 0</ChannelData></Spectrum></RadInstrumentData>",
                                        "d.n42")
                             .problem,
                         "without the number of zero channels"));
    // Entities of the document's own: the classic way to make a parser take all memory.
    const std::string bomb =
        "<!DOCTYPE a [<!ENTITY x \"xxxxxxxx\"><!ENTITY y \"&x;&x;&x;\">]><RadInstrumentData>&y;</RadInstrumentData>";
    EXPECT_TRUE(mentions(read_n42_bytes(bomb, "e.n42").problem, "declares entities"));
    // A zero run beyond the channel limit is refused before memory is taken.
    EXPECT_TRUE(mentions(read_n42_bytes("<RadInstrumentData><Spectrum><ChannelData compressionCode=\"CountedZeroes\">"
                                        "0 1e12</ChannelData></Spectrum></RadInstrumentData>",
                                        "f.n42")
                             .problem,
                         "at most 262144 channels"));
}

TEST(N42, DurationsInIsoFormAndPlainSeconds) {
    EXPECT_EQ(iso_duration_seconds("PT849.51S"), 849.51);
    EXPECT_EQ(iso_duration_seconds("P1DT2H3M4.5S"), 93784.5);
    EXPECT_EQ(iso_duration_seconds(" 12.5 "), 12.5);
    EXPECT_FALSE(iso_duration_seconds("P1Y"));
    EXPECT_FALSE(iso_duration_seconds("PT"));
    EXPECT_FALSE(iso_duration_seconds("-3"));
}

TEST(AmptekMca, CalibrationPointsWhenPresentLineEndsAndLatin1Headers) {
    const std::string crlf =
        "<<PMCA SPECTRUM>>\r\nDESCRIPTION - Source at 32\xb0" "C\r\nLIVE_TIME - 12.5\r\nREAL_TIME - 13.25\r\n"
        "<<CALIBRATION>>\r\nLABEL - Channel\r\n10 1.5\r\n20 3.0\r\n<<DATA>>\r\n0\r\n4\r\n9\r\n<<END>>\r\n";
    const ForeignRead r = read_mca_bytes(crlf, "a.mca");
    ASSERT_TRUE(r.ok()) << r.problem;
    EXPECT_EQ(counts(r), (std::vector<double>{0, 4, 9}));
    EXPECT_EQ(r.pane.points, (std::vector<std::pair<double, double>>{{10, 1.5}, {20, 3.0}}));
    EXPECT_EQ(r.pane.live_time, 12.5);
    EXPECT_EQ(r.description, "Source at 32\xb0" "C");

    const ForeignRead lf = read_mca_bytes("<<PMCA SPECTRUM>>\nLIVE_TIME - 1\n<<DATA>>\n5\n6\n<<END>>\n", "b.mca");
    ASSERT_TRUE(lf.ok());
    EXPECT_TRUE(lf.pane.points.empty());
    EXPECT_FALSE(lf.pane.real_time);
    EXPECT_EQ(counts(lf), (std::vector<double>{5, 6}));

    EXPECT_TRUE(mentions(read_mca_bytes("<<PMCA SPECTRUM>>\n", "c.mca").problem, "has none"));
    EXPECT_TRUE(mentions(read_mca_bytes("<<DATA>>\n5\nfive\n", "c.mca").problem, "Line 3 of the <<DATA>> section"));
}

TEST(Iec61455, TouchingNumbersBlankSystemAndCountsPastTheDeclaredChannels) {
    std::string text = "A004             HPGE   0   0     0\r\nA004     3564.00     3600.00     7\r\n"
                       "A00409/12/21 10:54:31\r\nA004-1.55656000E-02 8.00000000E-01-2.97939000E-08 0.00000000E+00\r\n";
    for (int k = 5; k <= 58; ++k) {
        text += "A004\r\n";
    }
    text += "A004     0        10        20        30        40        50\r\n"
            "A004     5        60        70         3         0         0\r\n";
    const ForeignRead r = read_iec_bytes(text, "a.iec");
    ASSERT_TRUE(r.ok()) << r.problem;
    EXPECT_EQ(counts(r), (std::vector<double>{10, 20, 30, 40, 50, 60, 70}));
    EXPECT_EQ(r.pane.energy, (std::vector<double>{-1.55656e-02, 0.8, -2.97939e-08, 0}));
    EXPECT_EQ(r.pane.instrument, "");
    EXPECT_EQ(r.pane.detector, "HPGE");
    EXPECT_EQ(r.pane.start, "09/12/21 10:54:31");
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_TRUE(mentions(r.notes[0], "counts beyond its 7 channels"));

    const std::string short_data = text.substr(0, text.rfind("A004     5"));
    EXPECT_TRUE(mentions(read_iec_bytes(short_data, "b.iec").problem, "the counts of 5 of its 7 channels"));
    EXPECT_TRUE(mentions(read_iec_bytes("Hello\r\n", "c.iec").problem, "no IEC 61455 record"));
}

TEST(Tka, TimesFirstThenCountsInTheirChannels) {
    const ForeignRead r = read_tka_bytes("12.5\n13.0\n5\n6\n\n7\n", "a.tka");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(counts(r), (std::vector<double>{0, 0, 5, 6, 7}));
    EXPECT_EQ(r.pane.live_time, 12.5);
    EXPECT_EQ(r.pane.real_time, 13.0);
    EXPECT_TRUE(mentions(read_tka_bytes("1\n2\n", "b.tka").problem, "holds 2 numbers"));
    EXPECT_TRUE(mentions(read_tka_bytes("1\n2\n3.5\n", "b.tka").problem, "not a whole number"));
}

TEST(ColumnText, HeaderBlankLinesSeparatorsAndDecimalCommas) {
    const ForeignRead csv = read_column_text_bytes("channel,count\n\n0,5\n1,6\n\n2,7\n", "a.csv");
    ASSERT_TRUE(csv.ok()) << csv.problem;
    EXPECT_EQ(counts(csv), (std::vector<double>{5, 6, 7}));
    EXPECT_EQ(csv.description, "channel,count");

    const ForeignRead energies = read_column_text_bytes("Energie;Zaehlungen\n0,5;3\n1,0;4\n1,5;5\n", "b.csv");
    ASSERT_TRUE(energies.ok()) << energies.problem;
    EXPECT_EQ(counts(energies), (std::vector<double>{3, 4, 5}));
    EXPECT_EQ(energies.pane.points, (std::vector<std::pair<double, double>>{{0, 0.5}, {2, 1.5}}));

    EXPECT_EQ(counts(read_column_text_bytes("1\t10\n2\t20\n", "c.tsv")), (std::vector<double>{10, 20}));
    EXPECT_EQ(counts(read_column_text_bytes("10\r\n20\r\n30\r\n", "d.txt")), (std::vector<double>{10, 20, 30}));
    EXPECT_TRUE(mentions(read_column_text_bytes("0,5\n2,6\n", "e.csv").problem, "do not count up by one"));
    EXPECT_TRUE(mentions(read_column_text_bytes("1 2 3\n", "e.csv").problem, "holds 3 numbers"));
    EXPECT_TRUE(mentions(read_column_text_bytes("1\n1.5\n", "e.csv").problem, "not a whole number"));
    EXPECT_TRUE(mentions(read_column_text_bytes("a\nb\n", "e.csv").problem, "holds no line of numbers"));
    EXPECT_TRUE(mentions(read_column_text_bytes("a\n1\nb\n", "e.csv").problem, "Line 3 is not a line of numbers: b"));
}

TEST(ColumnText, ATxtFileIsColumnTextOnlyWhenItIsNoNativeFile) {
    // A header and one column of counts is a native spectrum file.
    EXPECT_FALSE(txt_is_column_text("Sample 1\n10\n20\n"));
    EXPECT_FALSE(txt_is_column_text("Sample 1\n10 20 30 40\n50 60 70 80\n"));
    EXPECT_TRUE(txt_is_column_text("10\n20\n"));
    EXPECT_TRUE(txt_is_column_text("channel count\n0 10\n1 20\n"));
}

TEST(ForeignKinds, ExtensionsAndTypeTextsWithoutRegardToCase) {
    EXPECT_EQ(foreign_kind(".CNF"), ForeignKind::Cnf);
    EXPECT_EQ(foreign_kind(".N42"), ForeignKind::N42);
    EXPECT_EQ(foreign_kind(".xml"), ForeignKind::N42);
    EXPECT_EQ(foreign_kind(".Tka"), ForeignKind::Tka);
    EXPECT_FALSE(foreign_kind(".dat"));
    EXPECT_FALSE(foreign_kind(".chn"));
    EXPECT_EQ(foreign_type_text(ForeignKind::Columns, ".TSV"), "Column text (tsv)");
    EXPECT_TRUE(is_identified_spectrum_name("/x/run.SPE"));
    EXPECT_TRUE(is_identified_spectrum_name("C:\\x\\run.iec"));
    EXPECT_FALSE(is_identified_spectrum_name("/x/run.spc"));
}


TEST(TouchingNumbers, AgreeWithTheReadingOneNumberAtATimeOnRandomTexts) {
    // Runs of 0 to 20 digits (whole numbers are read eight digits at a time up to
    // 16), points, signs, exponents, separators and stray letters.
    std::mt19937 random(5);
    const std::string others = " \n,;\t\r.-+eE.x";
    std::uniform_int_distribution<int> parts(0, 10);
    std::uniform_int_distribution<int> digits(0, 20);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<std::size_t> other(0, others.size() - 1);
    std::uniform_int_distribution<int> digit_of(0, 9);
    for (int trial = 0; trial < 30000; ++trial) {
        std::string text;
        for (int k = parts(random); k > 0; --k) {
            if (kind(random) < 3) {
                for (int n = digits(random); n > 0; --n) {
                    text += static_cast<char>('0' + digit_of(random));
                }
            }
            text += others[other(random)];
        }
        if (kind(random) == 0 && !text.empty()) {
            text.pop_back();  // a text that ends in a number
        }
        const auto fast = touching_numbers(text);
        const auto slow = numbers_one_at_a_time(text);
        ASSERT_EQ(fast.has_value(), slow.has_value()) << '"' << text << '"';
        if (fast) {
            ASSERT_EQ(fast->size(), slow->size()) << '"' << text << '"';
            for (std::size_t i = 0; i < fast->size(); ++i) {
                ASSERT_EQ(std::bit_cast<std::uint64_t>((*fast)[i]), std::bit_cast<std::uint64_t>((*slow)[i]))
                    << '"' << text << "\" value " << i;
            }
        }
    }
}

TEST(TouchingNumbers, WholeCountsAreWholeAndBelowTwoToThe53) {
    EXPECT_TRUE(is_whole_count(0.0));
    EXPECT_TRUE(is_whole_count(-0.0));
    EXPECT_TRUE(is_whole_count(-17));
    EXPECT_TRUE(is_whole_count(9007199254740991.0));
    EXPECT_FALSE(is_whole_count(9007199254740992.0));
    EXPECT_FALSE(is_whole_count(-9007199254740992.0));
    EXPECT_FALSE(is_whole_count(2.5));
    EXPECT_FALSE(is_whole_count(-0.5));
    EXPECT_FALSE(is_whole_count(4503599627370495.5));
    EXPECT_FALSE(is_whole_count(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(is_whole_count(std::numeric_limits<double>::quiet_NaN()));
}

TEST(TouchingNumbers, SignsAndExponentsSeparateNumbers) {
    EXPECT_EQ(touching_numbers("8.00000000E-01-2.97939000E-08"), (std::vector<double>{0.8, -2.97939e-08}));
    EXPECT_EQ(touching_numbers("1,2;3\t4\n5"), (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_EQ(touching_numbers("+1 -2"), (std::vector<double>{1, -2}));
    EXPECT_FALSE(touching_numbers("1 x"));
    EXPECT_FALSE(touching_numbers("1e999"));
}
