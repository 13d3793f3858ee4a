#pragma once
// A Ui without a screen, for the command-line tool: every query gets the one
// answer chosen on the command line, and every text shown is kept in order.

#include <string>
#include <vector>

#include "ui.h"

namespace vorelbox::common {

class AutoAnswerUi : public Ui {
public:
    explicit AutoAnswerUi(bool answer_yes) : answer_yes_(answer_yes) {}

    int show_message(const MessageRequest& request) override;
    void set_status_text(int part, const std::string& text) override;
    // Without a screen no file is chosen and no label typed: both count as cancelled.
    std::string choose_file(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> ask_label(const LabelRequest&) override { return std::nullopt; }

    // Texts of the message boxes and queries, in the order they were shown.
    const std::vector<std::string>& messages() const { return messages_; }
    const std::vector<std::string>& status_texts() const { return status_texts_; }

private:
    bool answer_yes_;
    std::vector<std::string> messages_;
    std::vector<std::string> status_texts_;
};

}  // namespace vorelbox::common
