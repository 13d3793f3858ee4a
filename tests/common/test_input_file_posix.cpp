// FIFOs and POSIX devices, which a Windows file system does not have.

#include <gtest/gtest.h>

#include <chrono>

#include <sys/stat.h>

#include "input_file.h"
#include "support/temp_folder.h"

using namespace vorelbox;
using common::InputProblem;

TEST(InputFifos, FifosAndDevicesAreRefusedAtOnce) {
    const support::TempFolder dir("vorelbox_input_");
    EXPECT_EQ(common::read_input_file("/dev/zero").problem, InputProblem::NotRegular);
    // A FIFO without a writer would block an open or a read for ever.
    const std::string fifo = (dir / "x.chn").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(common::read_input_file(fifo).problem, InputProblem::NotRegular);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(common::is_regular_file_name(fifo));
    EXPECT_TRUE(common::is_regular_file_name(dir.write("r.dat", "x")));
}
