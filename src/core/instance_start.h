#pragma once
// What a start does about another copy of the program: the log file
// "Vorelbox.log" is the lock; a second start that names files hands them to
// the copy that holds the lock, over a local channel named after the lock.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorelbox::core {

inline constexpr std::string_view LOG_FILE_NAME = "Vorelbox.log";
inline constexpr std::string_view ALREADY_RUNNING = "Vorelbox may already be running";

// The folders tried for the log, in order: the current folder, then the user's
// runtime folder and cache folder (blank ones left out), for when the current
// folder cannot be written.
std::vector<std::string> log_folder_candidates(const std::string& current, const std::string& runtime,
                                               const std::string& cache);

enum class LockState {
    Held,          // this run holds the lock
    Busy,          // another copy holds it
    CannotCreate,  // the file cannot be made in any folder tried
};

struct StartChoice {
    bool start = true;       // this copy opens its window
    bool hand_over = false;  // first give the files to the running copy
    std::string warning;     // shown before anything else; blank for none
};

// `reason` says why the log could not be made (CannotCreate only).
StartChoice choose_start(LockState state, bool files_given, const std::string& log_path, const std::string& reason);

// The name of the channel of the copy that holds the lock on `log_path`: the
// same for every start of one user that uses that log, and short enough for
// a socket name.
std::string handover_channel_name(std::string_view log_path, std::string_view user);

// The message that hands files over, and its reading. A message that is not
// complete yet, or not one of these, reads as nothing.
std::string handover_message(const std::vector<std::string>& files);
std::optional<std::vector<std::string>> read_handover_message(std::string_view bytes);
inline constexpr std::string_view HANDOVER_REPLY = "OPENED\n";

}  // namespace vorelbox::core
