#include <gtest/gtest.h>

#include "argument_reader.h"

using vorelbox::common::ArgumentReader;

TEST(ArgumentReader, OptionsFlagsAndOnePlainName) {
    const std::vector<std::string> args{"--first", "10", "--last=20", "--log", "run.dat"};
    ArgumentReader read(args);
    std::optional<long long> first, last;
    bool log = false;
    std::string file;
    while (read.next()) {
        if (const auto f = read.number("--first")) {
            first = f;
        } else if (const auto l = read.number("--last")) {
            last = l;
        } else if (read.is_flag("--log")) {
            log = true;
        } else if (read.plain(file)) {
            file = read.current();
        }
    }
    EXPECT_TRUE(read.error().empty());
    EXPECT_EQ(first, 10);
    EXPECT_EQ(last, 20);
    EXPECT_TRUE(log);
    EXPECT_EQ(file, "run.dat");
}

TEST(ArgumentReader, TheFirstMistakeEndsTheReading) {
    const auto first_error = [](std::vector<std::string> args) {
        ArgumentReader read(args);
        std::string file;
        int seen = 0;
        while (read.next()) {
            ++seen;
            if (read.number("--first")) {
                continue;
            }
            if (read.plain(file)) {
                file = read.current();
            }
        }
        return read.error() + "/" + std::to_string(seen);
    };
    EXPECT_EQ(first_error({"--first", "ten", "a", "b"}), "--first takes a whole number/1");
    EXPECT_EQ(first_error({"a", "--first"}), "--first needs a value/2");
    EXPECT_EQ(first_error({"a", "b", "c"}), "only one file can be given/2");
    EXPECT_EQ(first_error({"--other", "a"}), "unknown option: --other/1");
}
