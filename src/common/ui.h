#pragma once
// The program's window onto the user: message boxes, queries and the status bar.
// The Qt main window implements it; the command-line tool and the tests have their own.

#include <string>
#include <string_view>
#include <vector>

namespace vorelbox::common {

// Answer codes. The first four are those of the standard message boxes; the
// others identify the buttons of the two queries with an "all" button.
namespace answer {
constexpr int ok = 1;
constexpr int cancel = 2;
constexpr int yes = 6;
constexpr int no = 7;
constexpr int ok_button = 1512;   // "&Ok"
constexpr int all = 1004;         // "OK to &all" / "Yes to &all"
constexpr int yes_button = 1513;  // "&Yes"
constexpr int no_button = 1514;   // "&No"
}  // namespace answer

enum class MessageIcon { Information, Exclamation, Question, None };

struct MessageButton {
    int id = 0;
    std::string caption;  // with "&" marking the mnemonic
};

// One modal box. The first button is the default one.
struct MessageRequest {
    std::string caption;
    std::string text;  // trailing blanks removed; lines separated by '\r'
    std::vector<MessageButton> buttons;
    MessageIcon icon = MessageIcon::None;
    bool task_modal = false;
    bool owned_by_main_window = false;
    bool all_dialog = false;  // one of the two queries with an "all" button
    int close_answer = answer::cancel;  // answer when the box is closed by its close box
};

class Ui {
public:
    virtual ~Ui() = default;

    // Shows the box modally and returns the id of the button that closed it
    // (close_answer when the box was closed another way).
    virtual int show_message(const MessageRequest& request) = 0;

    // Shows a text in part 1, 2 or 3 of the status bar and repaints at once.
    virtual void set_status_text(int part, const std::string& text) = 0;

    // True while a warning box is on screen; the list redraw waits for it.
    bool warning_open() const { return warning_open_; }
    void set_warning_open(bool open) { warning_open_ = open; }

private:
    bool warning_open_ = false;
};

// Captions of the buttons of the two "all" queries; callers may relabel them.
struct OkAllCaptions {
    std::string ok = "&Ok";
    std::string all = "OK to &all";
    std::string cancel = "Cancel";
};
struct YesNoAllCaptions {
    std::string yes = "&Yes";
    std::string no = "&No";
    std::string all = "Yes to &all";
    std::string cancel = "Cancel";
};

void TELL(Ui& ui, std::string_view text);
void WARN(Ui& ui, std::string_view text);
bool ASK_YN(Ui& ui, std::string_view text);
char ASK_YNC(Ui& ui, std::string_view text);  // 'Y', 'N' or 'C'
int IASK_YNC(Ui& ui, std::string_view text);  // answer::yes, answer::no or answer::cancel
int ASK_OK_ALL(Ui& ui, std::string_view text, const OkAllCaptions& captions = {});
int ASK_YES_NO_ALL(Ui& ui, std::string_view text, const YesNoAllCaptions& captions = {});
void STATUS(Ui& ui, std::string_view text);

// The status-bar part that STATUS writes to: the part left free for the pages.
constexpr int STATUS_PART = 3;

}  // namespace vorelbox::common
