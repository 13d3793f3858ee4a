// FIFOs and POSIX devices, which a Windows file system does not have.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "raw_file.h"
#include "support/temp_folder.h"

namespace vorelbox::spectra {

TEST(RawFileFifos, FifosAndDevicesAreNotOpened) {
    // A FIFO would block the open (a reader waits for a writer, a writer for a
    // reader); a device is no file to read bytes from.
    const support::TempFolder dir("vorelbox_raw_fifo_");
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    RawFileTable files;
    EXPECT_FALSE(OPEN_READ(files, 1, fifo));
    EXPECT_FALSE(OPEN_WRITE(files, 1, fifo));
    EXPECT_EQ(LEN_FILE(files, 1), -1);
    EXPECT_FALSE(OPEN_READ(files, 1, "/dev/zero"));
}

}  // namespace vorelbox::spectra
