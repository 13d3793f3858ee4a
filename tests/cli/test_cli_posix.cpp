// FIFOs, symbolic links and permission bits, which a Windows file system does
// not have (or, for links, which its users rarely make).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

#include "cli.h"

using namespace vorelbox;
namespace fs = std::filesystem;

namespace {

struct CliRun {
    int code = 0;
    std::string out;
    std::string err;
};

CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliRun r;
    r.code = cli::run_cli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

}  // namespace

TEST(CliFifos, FifosAreRefusedAtOnceByEveryCommand) {
    // Each of these waited for ever for a writer.
    const fs::path dir = fs::temp_directory_path() / "vorelbox_cli_fifo";
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"x.chn", "x.dat", "x.spe", "x.txt"}) {
        ASSERT_EQ(::mkfifo((dir / name).c_str(), 0600), 0);
    }
    const std::string chn = (dir / "x.chn").string();
    const CliRun info = run({"info", chn});
    EXPECT_EQ(info.code, cli::CLI_FAILED);
    EXPECT_NE(info.out.find("\"messages\":[\"Error opening the spectrum file: " + chn + "\"]"), std::string::npos)
        << info.out;
    const CliRun unknown_kind = run({"info", (dir / "x.txt").string()});
    EXPECT_EQ(unknown_kind.code, cli::CLI_FAILED);
    EXPECT_NE(unknown_kind.out.find("Error opening the spectrum file: "), std::string::npos) << unknown_kind.out;
    const CliRun convert = run({"convert", "--output-dir", dir.string(), chn, (dir / "x.spe").string()});
    EXPECT_EQ(convert.code, cli::CLI_FAILED);
    EXPECT_NE(convert.err.find("Error opening the spectrum file: " + chn), std::string::npos) << convert.err;
    const CliRun extract = run({"extract", (dir / "x.dat").string(), "-o", (dir / "out.dat").string()});
    EXPECT_EQ(extract.code, cli::CLI_FAILED);
    EXPECT_NE(extract.out.find("Error opening the file: " + (dir / "x.dat").string()), std::string::npos)
        << extract.out;
    const CliRun column = run({"column", (dir / "x.txt").string(), "-o", (dir / "out.dat").string()});
    EXPECT_EQ(column.code, cli::CLI_FAILED);
    EXPECT_FALSE(fs::exists(dir / "out.dat"));
    fs::remove_all(dir);
}

// Extract and append through a link: the link stays, its target gets the
// spectrum and keeps its permission bits.
TEST(CliLinks, ExtractAppendsThroughLinksOntoKeptPermissions) {
    const fs::path dir = fs::temp_directory_path() / "vorelbox_cli_links";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path data = dir / "data.dat";
    std::ofstream(data, std::ios::binary) << "first\n       1       2       3\n";
    const fs::path target = dir / "target.dat";
    std::ofstream(target, std::ios::binary) << "old\n       7       8       9\n";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("target.dat", dir / "link.dat");

    const CliRun appended = run({"extract", data.string(), "--append", "-o", (dir / "link.dat").string()});
    EXPECT_EQ(appended.code, cli::CLI_OK) << appended.out;
    EXPECT_NE(appended.out.find("\"appended\":true"), std::string::npos);
    EXPECT_TRUE(fs::is_symlink(dir / "link.dat"));
    std::ifstream in(target, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "old\n       7       8       9\nfirst\n         1         2         3\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    const CliRun replaced = run({"extract", data.string(), "-o", (dir / "link.dat").string()});
    EXPECT_EQ(replaced.code, cli::CLI_OK) << replaced.out;
    EXPECT_TRUE(fs::is_symlink(dir / "link.dat"));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    fs::remove_all(dir);
}
