#pragma once
// A clipboard for tests: the test sets its text (nothing = cannot be read), and
// every text the program puts on it is recorded.

#include <optional>
#include <string>
#include <vector>

#include "clipboard.h"

namespace vorelbox::fakes {

class FakeClipboard : public common::Clipboard {
public:
    FakeClipboard() = default;
    explicit FakeClipboard(std::optional<std::string> text) : content(std::move(text)) {}

    std::optional<std::string> text() override { return content; }
    bool set_text(const std::string& text) override {
        set_texts.push_back(text);
        content = text;
        return true;
    }

    std::optional<std::string> content;
    std::vector<std::string> set_texts;
};

}  // namespace vorelbox::fakes
