#pragma once
// Reads the arguments of a command-line command one by one: options with a
// value ("--first 10" or "--first=10"), flags, and plain names. The first
// mistake is kept as the usage error and ends the reading.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorelbox::common {

class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}

    // Moves to the next argument; false at the end and after a mistake.
    bool next();
    const std::string& current() const { return args_[at_]; }
    bool is_flag(std::string_view name) const { return error_.empty() && current() == name; }
    bool is_option() const { return current().size() > 1 && current().front() == '-'; }

    // The value of option `name` when the current argument is that option; an
    // option without its value is a mistake.
    std::optional<std::string> value(std::string_view name);
    // The same, read as a whole number; a value that is not one is a mistake.
    std::optional<long long> number(std::string_view name);

    // The current argument as the one plain name allowed: true when `taken` was
    // still empty; otherwise (a second name, or an option not known) a mistake.
    bool plain(const std::string& taken);

    void fail(std::string message);
    const std::string& error() const { return error_; }

private:
    const std::vector<std::string>& args_;
    std::size_t at_ = 0;
    bool started_ = false;
    std::string error_;
};

}  // namespace vorelbox::common
