#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli.h"
#include "cli_column.h"
#include "json_writer.h"
#include "support/files.h"

using namespace vorelbox;
namespace fs = std::filesystem;

TEST(CliColumn, WritesOnlyAcceptedSpectraAndReportsJson) {
    const std::string in = (fs::temp_directory_path() / "vorelbox_column_in.txt").string();
    const std::string out = (fs::temp_directory_path() / "vorelbox_column_out.dat").string();
    auto run = [](const std::string& text_file, const std::string& content, std::vector<std::string> args) {
        std::ofstream(text_file, std::ios::binary) << content;
        std::ostringstream json, err;
        const int code = cli::cli_column(args, json, err);
        return std::tuple{code, json.str(), err.str()};
    };

    const auto [ok, ok_json, ok_err] = run(in, "5\n6,4\n7\n", {"--channels", "4", in, "-o", out});
    EXPECT_EQ(ok, cli::CLI_OK);
    EXPECT_EQ(ok_json, "{\"file\":" + common::json_string(out) +
                           ",\"channels\":4,\"messages\":[\"The pasted spectrum is padded with 0-es to fit the "
                           "number of channels in the list\"]}\n");
    std::ostringstream written;
    written << std::ifstream(out, std::ios::binary).rdbuf();
    EXPECT_EQ(written.str(), support::system_text("Spectrum pasted from clipboard\n       5       6       7       0\n"));
    fs::remove(out);

    const auto [stopped, stopped_json, stopped_err] = run(in, "1 2\n3 4\n", {in, "-o", out, "--answer", "no"});
    EXPECT_EQ(stopped, cli::CLI_FAILED);
    EXPECT_NE(stopped_json.find("\"channels\":0,\"messages\":[\"You seem to be pasting more than one coloumn\\nAccept"),
              std::string::npos)
        << stopped_json;
    EXPECT_FALSE(fs::exists(out));

    const auto [usage, usage_json, usage_err] = run(in, "1\n", {"--channels", "x", in, "-o", out});
    EXPECT_EQ(usage, cli::CLI_USAGE);
    EXPECT_EQ(usage_json, "{\"error\":\"--channels takes a number of channels\"}\n");
    EXPECT_NE(usage_err.find("usage: vorelbox-cli column"), std::string::npos);
    EXPECT_EQ(std::get<0>(run(in, "1\n", {in})), cli::CLI_USAGE);  // no -o
    EXPECT_FALSE(fs::exists(out));
    fs::remove(in);
}
