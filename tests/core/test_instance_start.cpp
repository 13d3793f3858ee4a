// A second start of the program: where the log goes, what it says, and the
// message that hands files to the running copy.

#include <gtest/gtest.h>

#include "instance_start.h"

using namespace vorelbox::core;

TEST(InstanceStart, LogFoldersFallBackToRuntimeThenCache) {
    EXPECT_EQ(log_folder_candidates("/data", "/run/user/1000", "/home/u/.cache/Vorelbox"),
              (std::vector<std::string>{"/data", "/run/user/1000", "/home/u/.cache/Vorelbox"}));
    EXPECT_EQ(log_folder_candidates("/data", "", "/c"), (std::vector<std::string>{"/data", "/c"}));
}

TEST(InstanceStart, OnlyABusyLockSaysTheProgramMayRun) {
    const StartChoice held = choose_start(LockState::Held, true, "/d/Vorelbox.log", "");
    EXPECT_TRUE(held.start);
    EXPECT_FALSE(held.hand_over);
    EXPECT_EQ(held.warning, "");

    const StartChoice busy = choose_start(LockState::Busy, false, "/d/Vorelbox.log", "");
    EXPECT_FALSE(busy.start);
    EXPECT_FALSE(busy.hand_over);
    EXPECT_EQ(busy.warning, "Vorelbox may already be running");

    const StartChoice with_file = choose_start(LockState::Busy, true, "/d/Vorelbox.log", "");
    EXPECT_FALSE(with_file.start);
    EXPECT_TRUE(with_file.hand_over);

    // A folder that cannot be written is not another copy: the window opens and says why.
    const StartChoice cannot = choose_start(LockState::CannotCreate, false, "/ro/Vorelbox.log", "Permission denied");
    EXPECT_TRUE(cannot.start);
    EXPECT_EQ(cannot.warning.find("Vorelbox may already be running"), std::string::npos);
    EXPECT_NE(cannot.warning.find("/ro/Vorelbox.log (Permission denied)"), std::string::npos) << cannot.warning;
}

TEST(InstanceStart, ChannelNameDependsOnUserAndLog) {
    const std::string a = handover_channel_name("/home/u/Vorelbox.log", "u");
    EXPECT_EQ(a, handover_channel_name("/home/u/Vorelbox.log", "u"));
    EXPECT_NE(a, handover_channel_name("/home/u/data/Vorelbox.log", "u"));
    EXPECT_NE(a, handover_channel_name("/home/u/Vorelbox.log", "v"));
    EXPECT_EQ(a.rfind("vorelbox-", 0), 0u);
    EXPECT_LE(a.size(), 40u);
}

TEST(InstanceStart, HandoverMessageReadsBackOnlyWhenComplete) {
    const std::vector<std::string> files{"/data/run 1.chn", "/data/list.vsl"};
    const std::string message = handover_message(files);
    EXPECT_EQ(read_handover_message(message), files);
    // Arriving in pieces: nothing until the closing blank line.
    for (std::size_t cut = 0; cut < message.size(); ++cut) {
        EXPECT_FALSE(read_handover_message(std::string_view(message).substr(0, cut))) << cut;
    }
    EXPECT_FALSE(read_handover_message("GET / HTTP/1.0\n\n"));
    EXPECT_EQ(read_handover_message(handover_message({"bad\nname", "/ok.dat"})), (std::vector<std::string>{"/ok.dat"}));
}
