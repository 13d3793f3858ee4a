#pragma once
// A Ui for tests: answers come from a queue, and every text shown is recorded in order.
// A query with no queued answer fails the running test.

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui.h"

namespace vorelbox::fakes {

class ScriptedUi : public common::Ui {
public:
    struct Shown {
        std::string caption;
        std::string text;
        bool was_warning_open = false;  // the warning-open flag while the box was up
    };

    // Queue the id of the button that the next query is answered with.
    void answer(int id) { answers_.push_back(id); }
    void answer_yes() { answer(common::answer::yes); }
    void answer_no() { answer(common::answer::no); }

    int show_message(const common::MessageRequest& request) override {
        shown_.push_back({request.caption, request.text, warning_open()});
        requests_.push_back(request);
        const bool is_query = request.buttons.size() > 1;
        if (!is_query) {
            return request.buttons.empty() ? common::answer::ok : request.buttons.front().id;
        }
        if (answers_.empty()) {
            ADD_FAILURE() << "query asked with no answer queued: " << request.text;
            return request.close_answer;
        }
        const int id = answers_.front();
        answers_.pop_front();
        return id;
    }

    void set_status_text(int part, const std::string& text) override {
        if (part >= 1 && part <= 3) {
            status[static_cast<std::size_t>(part - 1)] = text;
        }
        status_history.push_back(text);
    }

    // Queue the path that the next file dialog returns ("" = cancelled).
    void choose(std::string path) { files_.push_back(std::move(path)); }
    // Queue the label that the next label dialog returns (nothing = cancelled).
    void label(std::optional<std::string> text) { labels_.push_back(std::move(text)); }

    std::string choose_file(const common::FileDialogRequest& request) override {
        file_requests.push_back(request);
        if (files_.empty()) {
            ADD_FAILURE() << "file dialog opened with no answer queued: " << request.title;
            return {};
        }
        std::string path = files_.front();
        files_.pop_front();
        return path;
    }

    std::optional<std::string> ask_label(const common::LabelRequest& request) override {
        label_requests.push_back(request);
        if (labels_.empty()) {
            ADD_FAILURE() << "label dialog opened with no answer queued: " << request.text;
            return std::nullopt;
        }
        auto text = labels_.front();
        labels_.pop_front();
        return text;
    }

    std::vector<common::FileDialogRequest> file_requests;
    std::vector<common::LabelRequest> label_requests;

    const std::vector<Shown>& shown() const { return shown_; }
    const std::vector<common::MessageRequest>& requests() const { return requests_; }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& s : shown_) {
            out.push_back(s.text);
        }
        return out;
    }
    std::size_t unused_answers() const { return answers_.size(); }

    std::array<std::string, 3> status;
    std::vector<std::string> status_history;

private:
    std::deque<int> answers_;
    std::deque<std::string> files_;
    std::deque<std::optional<std::string>> labels_;
    std::vector<Shown> shown_;
    std::vector<common::MessageRequest> requests_;
};

}  // namespace vorelbox::fakes
