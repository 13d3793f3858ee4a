#pragma once
// The system clipboard as the program sees it: plain text in and out.
// The desktop program has a Qt implementation; the tests have their own.

#include <optional>
#include <string>

namespace vorelbox::common {

class Clipboard {
public:
    virtual ~Clipboard() = default;

    // The text on the clipboard, UTF-8 encoded (empty when it holds no text);
    // nothing when the clipboard cannot be read.
    virtual std::optional<std::string> text() = 0;

    // Puts a UTF-8 text on the clipboard; false when that was not possible.
    virtual bool set_text(const std::string& text) = 0;
};

}  // namespace vorelbox::common
