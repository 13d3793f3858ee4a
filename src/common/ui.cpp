#include "ui.h"

#include "text_utils.h"

namespace vorelbox::common {
namespace {

constexpr const char* query_caption = "Vorelbox Query:";

MessageRequest box(std::string caption, std::string_view text, MessageIcon icon) {
    MessageRequest r;
    r.caption = std::move(caption);
    r.text = std::string(trim_right(text));
    r.icon = icon;
    return r;
}

MessageRequest yes_no_cancel(std::string_view text) {
    MessageRequest r = box(query_caption, text, MessageIcon::Question);
    r.buttons = {{answer::yes, "&Yes"}, {answer::no, "&No"}, {answer::cancel, "Cancel"}};
    r.task_modal = true;
    r.close_answer = answer::cancel;
    return r;
}

}  // namespace

int CountingUi::show_message(const MessageRequest& request) {
    ++shown_;
    const bool was_open = ui_.warning_open();
    ui_.set_warning_open(warning_open());
    const int answer = ui_.show_message(request);
    ui_.set_warning_open(was_open);
    return answer;
}

void TELL(Ui& ui, std::string_view text) {
    MessageRequest r = box("Vorelbox Information", text, MessageIcon::Information);
    r.buttons = {{answer::ok, "OK"}};
    r.close_answer = answer::ok;
    ui.show_message(r);
}

void WARN(Ui& ui, std::string_view text) {
    MessageRequest r = box("Vorelbox Message", text, MessageIcon::Exclamation);
    r.buttons = {{answer::ok, "OK"}};
    r.task_modal = true;
    r.close_answer = answer::ok;
    ui.set_warning_open(true);
    ui.show_message(r);
    ui.set_warning_open(false);
}

bool ASK_YN(Ui& ui, std::string_view text) {
    MessageRequest r = box(query_caption, text, MessageIcon::Question);
    r.buttons = {{answer::yes, "&Yes"}, {answer::no, "&No"}};
    r.task_modal = true;
    r.owned_by_main_window = true;
    r.close_answer = answer::no;
    return ui.show_message(r) == answer::yes;
}

char ASK_YNC(Ui& ui, std::string_view text) {
    switch (ui.show_message(yes_no_cancel(text))) {
        case answer::yes:
            return 'Y';
        case answer::no:
            return 'N';
        default:
            return 'C';
    }
}

int IASK_YNC(Ui& ui, std::string_view text) {
    MessageRequest r = yes_no_cancel(text);
    r.owned_by_main_window = true;
    const int id = ui.show_message(r);
    return (id == answer::yes || id == answer::no) ? id : answer::cancel;
}

int ASK_OK_ALL(Ui& ui, std::string_view text, const OkAllCaptions& captions) {
    MessageRequest r = box("Vorelbox Query", text, MessageIcon::None);
    r.buttons = {{answer::ok_button, captions.ok},
                 {answer::all, captions.all},
                 {answer::cancel, captions.cancel}};
    r.all_dialog = true;
    r.owned_by_main_window = true;
    return ui.show_message(r);
}

int ASK_YES_NO_ALL(Ui& ui, std::string_view text, const YesNoAllCaptions& captions) {
    MessageRequest r = box("Vorelbox Query", text, MessageIcon::None);
    r.buttons = {{answer::yes_button, captions.yes},
                 {answer::no_button, captions.no},
                 {answer::all, captions.all},
                 {answer::cancel, captions.cancel}};
    r.all_dialog = true;
    r.owned_by_main_window = true;
    return ui.show_message(r);
}

std::vector<FileFilter> parse_filter(std::string_view filter) {
    std::vector<FileFilter> out;
    std::vector<std::string> parts;
    std::size_t start = 0;
    filter = trim(filter);
    while (start < filter.size()) {
        const std::size_t bar = filter.find('|', start);
        const std::size_t end = bar == std::string_view::npos ? filter.size() : bar;
        parts.emplace_back(filter.substr(start, end - start));
        start = end + 1;
    }
    // The list ends at the first empty part (the closing "||").
    for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
        out.push_back({parts[i], parts[i + 1]});
    }
    return out;
}

namespace {

// A folder without its closing separators, so that "/a/b/" and "/a/b" compare equal.
std::string_view without_separator(std::string_view folder) {
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) {
        folder.remove_suffix(1);
    }
    return folder;
}

bool is_program_folder(const DialogFolders& folders, std::string_view folder) {
    return !folders.program.empty() && without_separator(folder) == without_separator(folders.program);
}

// The dialog, started in the data folder when the proposal's folder is none of the user's;
// the folder of the file chosen is remembered.
std::string ask(Ui& ui, FileDialogRequest r) {
    const DialogFolders& folders = ui.dialog_folders();
    if (is_blank(r.directory) || is_program_folder(folders, r.directory)) {
        r.directory = data_folder(folders);
    }
    const std::string chosen = ui.choose_file(r);
    if (!chosen.empty()) {
        const PathParts parts = SPLITPATH(chosen);
        ui.dialog_folders().last = parts.drive + parts.directory;
    }
    return chosen;
}

FileDialogRequest file_request(FileDialogKind kind, std::string_view proposal, std::string_view title,
                               std::string_view filter) {
    FileDialogRequest r;
    r.kind = kind;
    r.title = std::string(trim_right(title));
    r.filters = parse_filter(filter);
    if (!is_blank(proposal)) {
        const PathParts parts = SPLITPATH(proposal);
        r.file_name = parts.name + parts.extension;
        r.directory = parts.drive + parts.directory;
    }
    return r;
}

}  // namespace

std::string data_folder(const DialogFolders& folders) {
    for (const std::string* folder : {&folders.in_use, &folders.last, &folders.home}) {
        if (!is_blank(*folder) && !is_program_folder(folders, *folder)) {
            return *folder;
        }
    }
    return {};
}

std::string FIND_FILEW(Ui& ui, std::string_view proposal, std::string_view title, std::string_view filter) {
    return ask(ui, file_request(FileDialogKind::Open, proposal, title, filter));
}

std::string SAVE_FILEW(Ui& ui, std::string_view proposal, std::string_view title, std::string_view filter) {
    return ask(ui, file_request(FileDialogKind::Save, proposal, title, filter));
}

std::string SAVE_FILEWEXT(Ui& ui, std::string_view proposal, std::string_view title, std::string_view filter,
                          std::string_view default_extension) {
    FileDialogRequest r;
    r.kind = FileDialogKind::SaveWithExtension;
    r.title = std::string(trim_right(title));
    r.filters = parse_filter(filter);
    r.file_name = std::string(trim(proposal));
    r.default_extension = std::string(trim(default_extension));
    // The proposal goes to the dialog as it is, unless its folder is none of the user's.
    const PathParts parts = SPLITPATH(r.file_name);
    const std::string folder = parts.drive + parts.directory;
    if (folder.empty() || is_program_folder(ui.dialog_folders(), folder)) {
        r.file_name = parts.name + parts.extension;
    } else {
        r.directory = folder;
    }
    return ask(ui, r);
}

void STATUS(Ui& ui, std::string_view text) {
    ui.set_status_text(STATUS_PART, std::string(trim(text)));
}

}  // namespace vorelbox::common
