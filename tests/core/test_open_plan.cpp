// Files dropped on the window: where each kind goes, and what is refused.

#include <gtest/gtest.h>

#include "open_plan.h"

using namespace vorelbox::core;

namespace {

OpenAction drop(const std::vector<std::string>& files, bool adder_active, bool adder_page) {
    return plan_drop(files, adder_active, adder_page).action;
}

}  // namespace

TEST(OpenPlan, AListOpensInTheAdderFromAnyPage) {
    EXPECT_EQ(drop({"/d/runs.VSL"}, false, false), OpenAction::OpenList);
    EXPECT_EQ(drop({"/d/runs.vsl"}, true, true), OpenAction::OpenList);
    // A list among other files, or two lists, is refused.
    EXPECT_EQ(drop({"/d/runs.vsl", "/d/a.dat"}, true, true), OpenAction::Refuse);
    EXPECT_EQ(drop({"/d/a.vsl", "/d/b.vsl"}, true, true), OpenAction::Refuse);
}

TEST(OpenPlan, SpectrumFilesGoToTheListOnTheAdderAndToTheConverterElsewhere) {
    EXPECT_EQ(drop({"/d/a.chn"}, false, false), OpenAction::OpenInConverter);
    EXPECT_EQ(drop({"/d/a.chn"}, true, false), OpenAction::OpenInConverter);
    EXPECT_EQ(drop({"/d/a.chn"}, true, true), OpenAction::AddToList);
    EXPECT_EQ(drop({"/d/a.Spe", "/d/b.dat", "/d/c.LMC"}, true, true), OpenAction::AddToList);
    EXPECT_EQ(drop({"/d/a.spe", "/d/b.dat"}, true, false), OpenAction::AddToList);
    // The converter holds one file.
    EXPECT_EQ(drop({"/d/a.spe", "/d/b.dat"}, false, false), OpenAction::Refuse);
    const OpenPlan plan = plan_drop({"/d/a.spe", "/d/b.dat"}, true, true);
    EXPECT_EQ(plan.files, (std::vector<std::string>{"/d/a.spe", "/d/b.dat"}));
}

TEST(OpenPlan, OtherFilesAreRefused) {
    EXPECT_EQ(drop({}, true, true), OpenAction::Refuse);
    EXPECT_EQ(drop({"/d/notes.txt"}, true, true), OpenAction::Refuse);
    EXPECT_EQ(drop({"/d/a.dat", "/d/photo.png"}, true, true), OpenAction::Refuse);
    EXPECT_EQ(drop({"/d/folder"}, false, false), OpenAction::Refuse);
}

TEST(OpenPlan, ANamedFileOpensByItsExtension) {
    EXPECT_EQ(plan_named_file("/d/list.vsl").action, OpenAction::OpenList);
    EXPECT_EQ(plan_named_file("/d/whatever.xyz").action, OpenAction::OpenInConverter);
    EXPECT_EQ(plan_named_file("").action, OpenAction::Refuse);
}
