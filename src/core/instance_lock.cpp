#include "instance_lock.h"

#include <filesystem>

#include "os_path.h"

namespace vorelbox::core {

std::unique_ptr<InstanceLock> lock_first_possible(const std::vector<std::string>& folders) {
    std::unique_ptr<InstanceLock> first_failure;
    for (const std::string& folder : folders) {
        std::error_code ec;
        std::filesystem::create_directories(common::os_path(folder), ec);
        const std::string path = common::utf8_path(common::os_path(folder) / LOG_FILE_NAME);
        auto lock = std::make_unique<InstanceLock>(path);
        if (lock->state() != LockState::CannotCreate) {
            return lock;
        }
        if (!first_failure) {
            first_failure = std::move(lock);
        }
    }
    return first_failure != nullptr ? std::move(first_failure) : std::make_unique<InstanceLock>(std::string());
}

}  // namespace vorelbox::core
