#pragma once
// The program's window onto the user: message boxes, queries and the status bar.
// The Qt main window implements it; the command-line tool and the tests have their own.

#include <optional>
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

// A file chooser. The filter pairs come from a text such as
// "Spectrum list (*.vsl)|*.vsl|All files|*.*||".
enum class FileDialogKind {
    Open,               // an existing file to read
    Save,               // a name to write; replacing an existing file is confirmed
    SaveWithExtension,  // the same, adding default_extension to a name typed without one
};

struct FileFilter {
    std::string description;  // "Spectrum list (*.vsl)"
    std::string pattern;      // "*.vsl"
};

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::string title;
    std::string directory;  // where the dialog starts; empty: where the system chooses
    std::string file_name;  // the proposed name
    std::vector<FileFilter> filters;
    std::string default_extension;  // ".vsl", for SaveWithExtension
    bool confirm_overwrite = true;  // Save kinds: ask before an existing file is replaced
};

// The small dialog that asks for one line of text: the label of a sum spectrum,
// or a spectrum's new header.
struct LabelRequest {
    std::string title;          // "Vorelix Query"
    std::string text;           // "Include sum in ..."
    std::string field_caption;  // "Sum Spectrum Label:"
    std::string label;          // the proposed label
    std::string text_caption;   // a caption for the text ("Old header"), or empty
    bool caret_at_start = false;  // the caret starts before the proposed text, not after it
};

// Where the file dialogs start when a proposal names no folder, or names the
// program's own folder: the folder of the file in use, else the folder of the
// file last chosen in a dialog, else the home folder. The program's folder is
// never proposed.
struct DialogFolders {
    std::string program;  // the program's folder
    std::string in_use;   // the folder of the file in use; the window keeps it up to date
    std::string last;     // the folder of the file last chosen in a dialog
    std::string home;
};

class Ui {
public:
    virtual ~Ui() = default;

    // Shows the box modally and returns the id of the button that closed it
    // (close_answer when the box was closed another way).
    virtual int show_message(const MessageRequest& request) = 0;

    // Shows a text in part 1, 2 or 3 of the status bar and repaints at once.
    virtual void set_status_text(int part, const std::string& text) = 0;

    // The chosen file's full path; empty when the user cancels.
    virtual std::string choose_file(const FileDialogRequest& request) = 0;

    // The label typed (possibly blank); nothing when the user cancels.
    virtual std::optional<std::string> ask_label(const LabelRequest& request) = 0;

    // True while a warning box is on screen; the list redraw waits for it.
    bool warning_open() const { return warning_open_; }
    void set_warning_open(bool open) { warning_open_ = open; }

    // A Ui that passes boxes on to another one shares that one's folders.
    virtual DialogFolders& dialog_folders() { return folders_; }

private:
    bool warning_open_ = false;
    DialogFolders folders_;
};

// Passes everything on to another Ui and counts the boxes shown, so that a
// caller can tell whether a routine it called has already said what went wrong.
class CountingUi : public Ui {
public:
    explicit CountingUi(Ui& ui) : ui_(ui) {}
    int show_message(const MessageRequest& request) override;
    void set_status_text(int part, const std::string& text) override { ui_.set_status_text(part, text); }
    std::string choose_file(const FileDialogRequest& request) override { return ui_.choose_file(request); }
    std::optional<std::string> ask_label(const LabelRequest& request) override { return ui_.ask_label(request); }
    DialogFolders& dialog_folders() override { return ui_.dialog_folders(); }

    int shown() const { return shown_; }

private:
    Ui& ui_;
    int shown_ = 0;
};

// The folder a dialog starts in when its proposal gives none of the user's.
std::string data_folder(const DialogFolders& folders);

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

// "Spectrum list (*.vsl)|*.vsl|All files|*.*||" as description/pattern pairs.
std::vector<FileFilter> parse_filter(std::string_view filter);

// The file dialogs. Each returns the chosen path, or an empty text when the user cancels.
// FIND_FILEW and SAVE_FILEW start in the folder of the proposed name with its
// name filled in; SAVE_FILEWEXT offers the proposed name as it is. A proposal
// without a folder, or in the program's folder, starts in the data folder.
std::string FIND_FILEW(Ui& ui, std::string_view proposal, std::string_view title, std::string_view filter);
std::string SAVE_FILEW(Ui& ui, std::string_view proposal, std::string_view title, std::string_view filter);
std::string SAVE_FILEWEXT(Ui& ui, std::string_view proposal, std::string_view title, std::string_view filter,
                          std::string_view default_extension);

// The status-bar part that STATUS writes to: the part left free for the pages.
constexpr int STATUS_PART = 3;

}  // namespace vorelbox::common
