// What only a POSIX system has: FIFOs, symbolic links, permission bits, the
// user's mask and a process killed in the middle of a save.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "safe_file_fixture.h"

namespace vorelbox::common::safe_file_test {
namespace {

unsigned mode_of(const std::string& file) {
    struct stat st {};
    ::stat(file.c_str(), &st);
    return static_cast<unsigned>(st.st_mode) & 0777u;
}

TEST_F(SafeFile, SavingThroughALinkReplacesItsTargetAndKeepsTheLink) {
    fs::create_directories(dir_ / "data");
    const std::string target = make("data/spectrum.dat", "old\n");
    fs::create_symlink("data/spectrum.dat", dir_ / "link.dat");
    fs::create_symlink(dir_ / "link.dat", dir_ / "link2.dat");  // a link to a link, absolute

    ASSERT_TRUE(replace_file(path("link2.dat"), writes("new\n")));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.dat"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link2.dat"));
    EXPECT_EQ(content(target), "new\n");
    ASSERT_TRUE(append_to_file(path("link.dat"), writes("more\n")));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.dat"));
    EXPECT_EQ(content(target), "new\nmore\n");
    // A link to a file not there yet creates it.
    fs::create_symlink("data/later.dat", dir_ / "dangling.dat");
    ASSERT_TRUE(replace_file(path("dangling.dat"), writes("made\n")));
    EXPECT_EQ(content(path("data/later.dat")), "made\n");
    EXPECT_EQ(entries(), (std::set<std::string>{"data", "link.dat", "link2.dat", "dangling.dat"}));

    fs::create_symlink("loop2", dir_ / "loop1");
    fs::create_symlink("loop1", dir_ / "loop2");
    EXPECT_EQ(replace_file(path("loop1"), writes("x")).problem, SaveProblem::LinkLoop);
}

TEST_F(SafeFile, KeepsTheOldFilesPermissions) {
    for (const unsigned mode : {0600u, 0640u, 0755u}) {
        const std::string target = make("a.dat", "old");
        fs::permissions(target, static_cast<fs::perms>(mode));
        ASSERT_TRUE(replace_file(target, writes("new")));
        EXPECT_EQ(mode_of(target), mode);
        ASSERT_TRUE(append_to_file(target, writes("more")));
        EXPECT_EQ(mode_of(target), mode);
    }
    // A new file gets what the user's mask allows.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(replace_file(path("new.dat"), writes("x")));
    ::umask(mask);
    EXPECT_EQ(mode_of(path("new.dat")), 0644u);
}

TEST_F(SafeFile, RefusesFifosAndKeepsAReadOnlyFileReadOnly) {
    const std::string locked = make("locked.dat", "kept");
    fs::permissions(locked, static_cast<fs::perms>(0444));
    EXPECT_EQ(replace_file(locked, writes("new")).problem, SaveProblem::ReadOnly);
    EXPECT_EQ(mode_of(locked), 0444u);
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0644), 0);
    EXPECT_EQ(replace_file(path("pipe"), writes("x")).problem, SaveProblem::NotRegularFile);
    EXPECT_EQ(append_to_file(path("pipe"), writes("x")).problem, SaveProblem::NotRegularFile);
    EXPECT_EQ(entries(), (std::set<std::string>{"locked.dat", "pipe"}));
}

// A program killed while writing leaves nothing, or, where every temporary has
// a name, one that the next save removes.
TEST_F(SafeFile, AKillDuringASaveLeavesTheOldFileAndNoTemporaryAfterTheNextSave) {
    const std::string old(100000, 'o');
    for (const bool unnamed : {true, false}) {
        const std::string target = make("a.dat", old);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FaultyFileOps ops;
            ops.no_unnamed = !unnamed;
            replace_file(target, [](std::ostream& out) {
                out << std::string(200000, 'n');
                out.flush();
                std::raise(SIGKILL);
                return true;
            }, ops);
            std::_Exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(content(target), old);
        ASSERT_TRUE(replace_file(target, writes("next")));
        EXPECT_EQ(entries(), std::set<std::string>{"a.dat"});
        EXPECT_EQ(content(target), "next");
    }
}

}  // namespace
}  // namespace vorelbox::common::safe_file_test
