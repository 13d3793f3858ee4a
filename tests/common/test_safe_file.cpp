#include <gtest/gtest.h>

#include <algorithm>

#include "safe_file_fixture.h"

namespace vorelbox::common::safe_file_test {
namespace {

TEST_F(SafeFile, ReplacesAndCreatesFilesWhole) {
    const std::string old = make("a.dat", "old content\n");
    const std::string big(300000, 'x');
    EXPECT_TRUE(replace_file(old, writes(big)));
    EXPECT_EQ(content(old), big);
    EXPECT_TRUE(replace_file(path("new.dat"), writes("")));
    EXPECT_EQ(content(path("new.dat")), "");
    EXPECT_EQ(entries(), (std::set<std::string>{"a.dat", "new.dat"}));
}

TEST_F(SafeFile, SmallAndLargePiecesArriveInOrderInFullWrites) {
    // Pieces smaller than the 64 KiB buffer, larger than it and just as large,
    // each of its own letter: the file gets them in order, in as few writes as
    // through the buffer alone.
    const std::size_t sizes[] = {10, 200000, 7, 65536, 1, 65535, 131072, 3};
    std::string expected;
    FaultyFileOps ops;
    const std::string target = make("a.dat", "old");
    ASSERT_TRUE(replace_file(
        target,
        [&](std::ostream& out) {
            char letter = 'a';
            for (const std::size_t size : sizes) {
                const std::string piece(size, letter++);
                out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
                expected += piece;
            }
            return static_cast<bool>(out);
        },
        ops));
    EXPECT_EQ(content(target), expected);
    EXPECT_EQ(ops.write_calls, static_cast<int>((expected.size() + 65535) / 65536));
}

TEST_F(SafeFile, FlushesTheTemporaryBeforeTheRenameAndTheFolderAfterIt) {
    for (const bool unnamed : {true, false}) {
        FaultyFileOps ops;
        ops.no_unnamed = !unnamed;
        ASSERT_TRUE(replace_file(make("a.dat", "old"), writes("new"), ops));
        std::vector<std::string> steps;
        for (const std::string& call : ops.calls) {
            if (call == "write" || call == "sync" || call == "close" || call == "rename" || call == "sync_folder") {
                steps.push_back(call);
            }
        }
        EXPECT_EQ(steps, (std::vector<std::string>{"write", "sync", "close", "rename", "sync_folder"}));
        EXPECT_EQ(content(path("a.dat")), "new");
    }
}

// Each fault, with and without files that have no name while written: the old
// file stays, no temporary is left, and the reason is given.
TEST_F(SafeFile, EveryInjectedFaultKeepsTheOldFileAndLeavesNoTemporary) {
    struct Case {
        const char* name;
        void (*arrange)(FaultyFileOps&);
        SaveProblem expected;
        const char* reason;
    };
    const Case cases[] = {
        {"first write", [](FaultyFileOps& o) { o.fail_write = 1; }, SaveProblem::Write, "Writing failed"},
        {"third write, later ones fine", [](FaultyFileOps& o) { o.fail_write = 3; }, SaveProblem::Write, "Writing failed"},
        {"full disk", [](FaultyFileOps& o) { o.disk_space = 100000; }, SaveProblem::Write, "No space left on device"},
        {"flush", [](FaultyFileOps& o) { o.fail_sync = true; }, SaveProblem::Sync, "flushed to the disk"},
        {"close", [](FaultyFileOps& o) { o.fail_close = true; }, SaveProblem::Close, "Closing"},
        {"rename", [](FaultyFileOps& o) { o.fail_rename = true; }, SaveProblem::Rename, "take the old file's place"},
        {"create", [](FaultyFileOps& o) { o.fail_create = true; }, SaveProblem::Create, "Permission denied"},
        {"permissions", [](FaultyFileOps& o) { o.fail_permissions = true; }, SaveProblem::Create, "temporary"},
    };
    const std::string old(250000, 'o');
    const std::string fresh(250000, 'n');
    for (const bool unnamed : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (unnamed ? ", unnamed temporary" : ", named temporary"));
            const std::string target = make("a.dat", old);
            FaultyFileOps ops;
            ops.no_unnamed = !unnamed;
            c.arrange(ops);
            const SaveResult r = replace_file(target, writes(fresh), ops);
            EXPECT_EQ(r.problem, c.expected);
            EXPECT_NE(save_problem_text(r).find(c.reason), std::string::npos) << save_problem_text(r);
            EXPECT_NE(save_problem_text(r).find("the file was not changed"), std::string::npos);
            EXPECT_EQ(content(target), old);
            EXPECT_EQ(entries(), std::set<std::string>{"a.dat"});
        }
    }
    // Naming a file written without a name can fail too, where there are such files.
    FaultyFileOps ops;
    ops.fail_name = true;
    const std::string target = make("a.dat", old);
    const SaveResult r = replace_file(target, writes(fresh), ops);
    if (std::count(ops.calls.begin(), ops.calls.end(), "give_name") > 0) {
        EXPECT_EQ(r.problem, SaveProblem::Create);
        EXPECT_EQ(content(target), old);
    } else {
        EXPECT_TRUE(r);
    }
    EXPECT_EQ(entries(), std::set<std::string>{"a.dat"});
}

TEST_F(SafeFile, AFailedFolderFlushIsReportedWithTheNewFileInPlace) {
    FaultyFileOps ops;
    ops.fail_folder_sync = true;
    const SaveResult r = replace_file(make("a.dat", "old"), writes("new"), ops);
    EXPECT_EQ(r.problem, SaveProblem::FolderSync);
    EXPECT_EQ(save_problem_text(r),
              "The new content is in place, but its folder could not be flushed to the disk (Input/output error)");
    EXPECT_EQ(content(path("a.dat")), "new");
}

TEST_F(SafeFile, ContentThatCannotBeMadeKeepsTheOldFile) {
    const std::string target = make("a.dat", "old");
    const SaveResult r = replace_file(target, [](std::ostream& out) {
        out << "half";
        return false;
    });
    EXPECT_EQ(r.problem, SaveProblem::Content);
    EXPECT_EQ(save_failure_text("Unable to write spectrum file " + target, r),
              "Unable to write spectrum file " + target +
                  "\rThe new content could not be made; the file was not changed");
    EXPECT_EQ(content(target), "old");
    EXPECT_EQ(entries(), std::set<std::string>{"a.dat"});
}

// A write that fails once while later ones succeed used to cut the old content
// short, and the append was reported done.
TEST_F(SafeFile, AppendKeepsTheOldFileWhenAnyWriteOrReadFails) {
    std::string old;
    for (int i = 0; old.size() < 200000; ++i) {
        old += "line " + std::to_string(i) + "\n";
    }
    const std::string target = make("a.dat", old);
    for (int n = 1; n <= 4; ++n) {
        FaultyFileOps ops;
        ops.fail_write = n;
        const SaveResult r = append_to_file(target, writes("added\n"), ops);
        EXPECT_EQ(r.problem, SaveProblem::Write) << n;
        EXPECT_EQ(content(target), old);
    }
    FaultyFileOps broken_read;
    broken_read.fail_read = 2;
    EXPECT_EQ(append_to_file(target, writes("added\n"), broken_read).problem, SaveProblem::ReadOld);
    FaultyFileOps short_read;
    short_read.short_read = 120000;
    const SaveResult r = append_to_file(target, writes("added\n"), short_read);
    EXPECT_EQ(r.problem, SaveProblem::ReadOld);
    EXPECT_EQ(save_problem_text(r), "Its old content could not be read whole; the file was not changed");
    FaultyFileOps full;
    full.disk_space = 150000;
    EXPECT_EQ(append_to_file(target, writes("added\n"), full).problem, SaveProblem::Write);
    EXPECT_EQ(content(target), old);
    EXPECT_EQ(entries(), std::set<std::string>{"a.dat"});

    EXPECT_TRUE(append_to_file(target, writes("added\n")));
    EXPECT_EQ(content(target), old + "added\n");
}

TEST_F(SafeFile, AppendEndsAnUnfinishedLastLineAndCreatesAMissingFile) {
    const std::string target = make("a.dat", "first");
    ASSERT_TRUE(append_to_file(target, writes("second\n")));
    EXPECT_EQ(content(target), "first\nsecond\n");
    ASSERT_TRUE(append_to_file(path("new.dat"), writes("only\n")));
    EXPECT_EQ(content(path("new.dat")), "only\n");
}

TEST_F(SafeFile, CopyIsByteForByteAndFailsOnAShortRead) {
    const std::string source = make("result.txt", std::string("a\0b\r\n", 5));
    ASSERT_TRUE(copy_file(source, path("copy.txt")));
    EXPECT_EQ(content(path("copy.txt")), content(source));
    ASSERT_TRUE(copy_file(make("empty.txt", ""), path("copy.txt")));
    EXPECT_EQ(content(path("copy.txt")), "");

    const std::string target = make("target.txt", "kept");
    FaultyFileOps ops;
    ops.short_read = 2;
    EXPECT_EQ(copy_file(source, target, ops).problem, SaveProblem::ReadSource);
    EXPECT_EQ(copy_file(path("missing.txt"), target).problem, SaveProblem::ReadSource);
    EXPECT_EQ(content(target), "kept");
}

// A name with a NUL inside used to send the search for a free temporary name
// round for ever, since each one tried was cut back to a file that exists.
TEST_F(SafeFile, NamesWithControlCharactersAreRefusedBeforeAnyFileOperation) {
    make("c.chn", "exists");
    for (const std::string& name : {path("c.chn") + std::string(1, '\0') + "/x.dat", path("a\nb.dat"),
                                    path("tab\t.dat"), path("del\x7f.dat")}) {
        FaultyFileOps ops;
        EXPECT_EQ(replace_file(name, writes("x"), ops).problem, SaveProblem::BadName);
        EXPECT_EQ(append_to_file(name, writes("x"), ops).problem, SaveProblem::BadName);
        EXPECT_TRUE(ops.calls.empty());
        EXPECT_FALSE(file_exists(name));
    }
    EXPECT_TRUE(file_exists(path("c.chn")));
    EXPECT_EQ(replace_file("  ", writes("x")).problem, SaveProblem::NoName);
    EXPECT_EQ(entries(), std::set<std::string>{"c.chn"});
    EXPECT_EQ(save_problem_text({SaveProblem::BadName, {}}),
              "The name holds a control character; the file was not changed");
}

// FIFOs, links, permission bits and a killed save: test_safe_file_posix.cpp.
TEST_F(SafeFile, RefusesReadOnlyFilesAndFolders) {
    const std::string locked = make("locked.dat", "kept");
    fs::permissions(locked, static_cast<fs::perms>(0444));
    const SaveResult r = replace_file(locked, writes("new"));
    EXPECT_EQ(r.problem, SaveProblem::ReadOnly);
    EXPECT_EQ(save_problem_text(r), "The file is read-only; the file was not changed");
    EXPECT_EQ(append_to_file(locked, writes("new")).problem, SaveProblem::ReadOnly);
    EXPECT_EQ(content(locked), "kept");

    FaultyFileOps ops;
    ops.read_only.insert(dir_.string());
    EXPECT_EQ(replace_file(path("new.dat"), writes("x"), ops).problem, SaveProblem::FolderReadOnly);
    EXPECT_EQ(replace_file(path("missing/new.dat"), writes("x")).problem, SaveProblem::NoFolder);
    fs::create_directories(dir_ / "folder");
    EXPECT_EQ(replace_file(path("folder"), writes("x")).problem, SaveProblem::Folder);
    EXPECT_EQ(replace_file(path("folder") + "/", writes("x")).problem, SaveProblem::Folder);
    EXPECT_EQ(entries(), (std::set<std::string>{"locked.dat", "folder"}));
}

TEST_F(SafeFile, TemporaryNamesAreRecognisableAndStaleOnesAreRemoved) {
    const std::string target = path("a.dat");
    EXPECT_EQ(temporary_name(target, 4242, 0xAB12u), path(".a.dat.vorelbox-4242-0000ab12.tmp"));
    // A very long name is cut, not split inside a character.
    const std::string long_name = std::string(119, 'x') + "\xC3\xA9" + std::string(100, 'y');
    const std::string cut = std::string(1, '.').append(119, 'x').append(".vorelbox-1-00000000.tmp");
    EXPECT_EQ(fs::path(temporary_name(path(long_name), 1, 0)).filename().string(), cut);

    make("a.dat", "old");
    const std::string stale = fs::path(temporary_name(target, 999991, 1)).filename().string();
    const std::string running = fs::path(temporary_name(target, 999992, 2)).filename().string();
    const std::string other_target = fs::path(temporary_name(path("b.dat"), 999991, 3)).filename().string();
    for (const std::string& name : {stale, running, other_target, std::string(".a.dat.vorelbox-x.tmp"),
                                    std::string("a.dat.part123")}) {
        make(name, "left");
    }
    FaultyFileOps ops;
    ops.dead_processes = {999991};
    ASSERT_TRUE(replace_file(target, writes("new"), ops));
    // Process 999992 counts as running here only when the system has one: keep it either way.
    std::set<std::string> expected{"a.dat", other_target, ".a.dat.vorelbox-x.tmp", "a.dat.part123"};
    if (ops.process_running(999992)) {
        expected.insert(running);
    }
    EXPECT_EQ(entries(), expected);
}

TEST_F(SafeFile, TextLinesEndInCrlfOnRequestAndAnAppendLeavesTheOldBytes) {
    const std::string lines = make("lines.txt", "");
    ASSERT_TRUE(replace_file(lines, writes("one\ntwo\n\nlast"), system_file_ops(), LineEnds::Crlf));
    EXPECT_EQ(content(lines), "one\r\ntwo\r\n\r\nlast");
    ASSERT_TRUE(replace_file(lines, writes("one\ntwo\n"), system_file_ops(), LineEnds::Lf));
    EXPECT_EQ(content(lines), "one\ntwo\n");
    // The old lines keep their ends; the line end added after an unfinished
    // last line, and the new lines, are CRLF.
    const std::string old = make("old.txt", "a\nb");
    ASSERT_TRUE(append_to_file(old, writes("c\nd\n"), system_file_ops(), LineEnds::Crlf));
    EXPECT_EQ(content(old), "a\nb\r\nc\r\nd\r\n");
    // A write that fails through the translation still keeps the old file.
    FaultyFileOps ops;
    ops.fail_write = 1;
    EXPECT_EQ(replace_file(old, writes(std::string(200000, '\n')), ops, LineEnds::Crlf).problem, SaveProblem::Write);
    EXPECT_EQ(content(old), "a\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(entries(), (std::set<std::string>{"lines.txt", "old.txt"}));
}

}  // namespace
}  // namespace vorelbox::common::safe_file_test
