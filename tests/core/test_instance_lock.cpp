#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "instance_lock.h"
#include "os_path.h"
#include "support/temp_folder.h"

using namespace vorelbox;
using core::LockState;

TEST(InstanceLock, TheLogIsLockedOncePerFolderAndEmptiedByItsHolder) {
    const support::TempFolder dir("vorelbox_lock_");
    const std::string path = dir.write("Vorelbox.log", "the last run's log\n");
    auto first = std::make_unique<core::InstanceLock>(path);
    ASSERT_EQ(first->state(), LockState::Held);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    const core::InstanceLock second(path);
    EXPECT_EQ(second.state(), LockState::Busy);
    EXPECT_FALSE(second.locked());
    first.reset();
    const core::InstanceLock third(path);
    EXPECT_EQ(third.state(), LockState::Held);
}

TEST(InstanceLock, AFolderThatCannotBeMadeMovesTheLogToTheNext) {
    const support::TempFolder dir("vorelbox_lock_");
    // A folder inside a file can never be made, not even by an administrator.
    const std::string impossible = (dir / "plain.txt" / "logs").string();
    dir.write("plain.txt", "x");
    const std::string fallback = (dir / "fallback").string();
    const auto lock = core::lock_first_possible({impossible, fallback});
    EXPECT_EQ(lock->state(), LockState::Held);
    EXPECT_EQ(lock->path(), common::utf8_path(common::os_path(fallback) / "Vorelbox.log"));
    const auto none = core::lock_first_possible({impossible});
    EXPECT_EQ(none->state(), LockState::CannotCreate);
    EXPECT_FALSE(none->reason().empty());
}
