#include "instance_start.h"

#include <cstdint>
#include <cstdio>

namespace vorelbox::core {
namespace {

constexpr std::string_view message_start = "VORELBOX OPEN\n";

}  // namespace

std::vector<std::string> log_folder_candidates(const std::string& current, const std::string& runtime,
                                               const std::string& cache) {
    std::vector<std::string> folders;
    for (const std::string& folder : {current, runtime, cache}) {
        if (!folder.empty()) {
            folders.push_back(folder);
        }
    }
    return folders;
}

StartChoice choose_start(LockState state, bool files_given, const std::string& log_path, const std::string& reason) {
    StartChoice choice;
    switch (state) {
        case LockState::Held:
            break;
        case LockState::Busy:
            choice.start = false;
            choice.hand_over = files_given;
            // Shown only when the files cannot be handed over, or there are none.
            choice.warning = std::string(ALREADY_RUNNING);
            break;
        case LockState::CannotCreate:
            choice.warning = "Vorelbox cannot create its log file " + log_path + " (" + reason +
                             ")\rIt runs without it; a second copy started now will not notice this one.";
            break;
    }
    return choice;
}

std::string handover_channel_name(std::string_view log_path, std::string_view user) {
    // FNV-1a over the user and the path.
    std::uint64_t hash = 14695981039346656037ULL;
    const auto add = [&hash](std::string_view text) {
        for (const char c : text) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ULL;
        }
    };
    add(user);
    add(std::string_view("\n", 1));
    add(log_path);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return "vorelbox-" + std::string(hex);
}

std::string handover_message(const std::vector<std::string>& files) {
    std::string message(message_start);
    for (const std::string& file : files) {
        // A name cannot hold a line break here; such a file is left out.
        if (!file.empty() && file.find('\n') == std::string::npos) {
            message += file;
            message += '\n';
        }
    }
    message += '\n';
    return message;
}

std::optional<std::vector<std::string>> read_handover_message(std::string_view bytes) {
    if (bytes.substr(0, message_start.size()) != message_start) {
        return std::nullopt;
    }
    bytes.remove_prefix(message_start.size());
    std::vector<std::string> files;
    for (;;) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) {
            return std::nullopt;  // not complete yet
        }
        if (end == 0) {
            return files;
        }
        files.emplace_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 1);
    }
}

}  // namespace vorelbox::core
