#include "argument_reader.h"

#include "free_format.h"

namespace vorelbox::common {

bool ArgumentReader::next() {
    if (!error_.empty()) {
        return false;
    }
    if (started_) {
        ++at_;
    }
    started_ = true;
    return at_ < args_.size();
}

std::optional<std::string> ArgumentReader::value(std::string_view name) {
    if (!error_.empty()) {
        return std::nullopt;
    }
    const std::string& a = current();
    if (a == name) {
        if (at_ + 1 >= args_.size()) {
            std::string message(name);
            message += " needs a value";
            fail(message);
            return std::nullopt;
        }
        return args_[++at_];
    }
    if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 && a[name.size()] == '=') {
        return a.substr(name.size() + 1);
    }
    return std::nullopt;
}

std::optional<long long> ArgumentReader::number(std::string_view name) {
    const auto text = value(name);
    if (!text) {
        return std::nullopt;
    }
    const auto v = parse_free_integer(*text);
    if (!v) {
        std::string message(name);
        message += " takes a whole number";
        fail(message);
    }
    return v;
}

bool ArgumentReader::plain(const std::string& taken) {
    if (!error_.empty()) {
        return false;
    }
    if (is_option()) {
        fail("unknown option: " + current());
        return false;
    }
    if (!taken.empty()) {
        fail("only one file can be given");
        return false;
    }
    return true;
}

void ArgumentReader::fail(std::string message) {
    if (error_.empty()) {
        error_ = std::move(message);
    }
}

}  // namespace vorelbox::common
