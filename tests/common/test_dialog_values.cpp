#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "dialog_values.h"
#include "fakes/scripted_ui.h"

namespace vorelbox::common {
namespace {

using vorelbox::fakes::ScriptedUi;

TEST(DialogValues, IntegerTextsReadBackAndJunkReadsAsZero) {
    for (const int value : {0, 7, -12, 16384, INT_MAX, INT_MIN}) {
        const std::string text = DLGSETIVALUE(value);
        EXPECT_EQ(text.find(' '), std::string::npos) << text;
        const IntRead read = DLGGETIVALUE(text);
        EXPECT_TRUE(read.ok);
        EXPECT_EQ(read.value, value) << text;
        EXPECT_EQ(read.text, text);
    }
    EXPECT_EQ(DLGGETIVALUE("  +7 ").value, 7);
    for (const char* junk : {"12x", "", "1.5", "abc", "3000000000", "- 4"}) {
        const IntRead read = DLGGETIVALUE(junk);
        EXPECT_EQ(read.value, 0) << junk;
        EXPECT_EQ(read.text, "0") << junk;
        EXPECT_TRUE(read.ok) << junk;
    }
    // Only the first 20 characters are read.
    EXPECT_EQ(DLGGETIVALUE("42" + std::string(18, ' ') + "junk").value, 42);
}

TEST(DialogValues, RealTextsUseTheEditFormatAndReadBack) {
    EXPECT_EQ(DLGSETREAL("(f10.2)", 3.14159), "3.14");
    EXPECT_EQ(DLGSETREAL("(f10.0)", 12345.0), "12345.");
    ScriptedUi ui;
    for (const double value : {0.0, 2.5e-3, -17.25, 12345.0, 1e7}) {
        const auto back = DLGGETREAL(ui, DLGSETREAL("(f14.4)", value));
        ASSERT_TRUE(back) << value;
        EXPECT_NEAR(*back, value, 5e-5);
    }
    EXPECT_EQ(DLGGETREAL(ui, DLGSETREAL("(f10.0)", 12345.0)), 12345.0);
    EXPECT_EQ(DLGGETREAL(ui, "1.5" + std::string(217, ' ') + "junk"), 1.5);
    EXPECT_TRUE(ui.shown().empty());
}

TEST(DialogValues, RealSyntaxErrorWarnsAndKeepsNothing) {
    ScriptedUi ui;
    EXPECT_FALSE(DLGGETREAL(ui, "   1.2abc  "));
    EXPECT_FALSE(DLGGETREAL(ui, ""));
    ASSERT_EQ(ui.shown().size(), 2u);
    EXPECT_EQ(ui.shown()[0].text, "Data syntax error reading: \"1.2abc\"");
    EXPECT_EQ(ui.shown()[0].caption, "Vorelbox Message");
    EXPECT_TRUE(ui.shown()[0].was_warning_open);
    EXPECT_EQ(ui.shown()[1].text, "Data syntax error reading: \"\"");
}

}  // namespace
}  // namespace vorelbox::common
