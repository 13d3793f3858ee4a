#include "auto_answer_ui.h"

#include <algorithm>

namespace vorelbox::common {

int AutoAnswerUi::show_message(const MessageRequest& request) {
    messages_.push_back(request.text);
    if (request.buttons.size() < 2) {
        return request.buttons.empty() ? answer::ok : request.buttons.front().id;
    }
    // "Yes" is the first button of every query; "no" is the No button where there
    // is one, otherwise the box's cancel answer.
    if (answer_yes_) {
        return request.buttons.front().id;
    }
    const auto no = std::find_if(request.buttons.begin(), request.buttons.end(), [](const MessageButton& b) {
        return b.id == answer::no || b.id == answer::no_button;
    });
    return no != request.buttons.end() ? no->id : request.close_answer;
}

void AutoAnswerUi::set_status_text(int /*part*/, const std::string& text) { status_texts_.push_back(text); }

}  // namespace vorelbox::common
