#pragma once
// The system clipboard through Qt, as plain text.

#include "clipboard.h"

namespace vorelbox::platform {

class QtClipboard : public common::Clipboard {
public:
    // Nothing when there is no application clipboard or it offers no data.
    std::optional<std::string> text() override;
    bool set_text(const std::string& text) override;
};

}  // namespace vorelbox::platform
