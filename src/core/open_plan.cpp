#include "open_plan.h"

#include <algorithm>

#include "text_utils.h"

namespace vorelbox::core {
namespace {

std::string extension_of(std::string_view path) {
    return common::LOWCASE(common::SPLITPATH(std::string(path)).extension);
}

}  // namespace

bool is_spectrum_file_name(std::string_view path) {
    const std::string e = extension_of(path);
    return e == ".dat" || e == ".chn" || e == ".spe" || e == ".lmc" || e == ".cvc";
}

bool is_list_file_name(std::string_view path) { return extension_of(path) == ".vsl"; }

OpenPlan plan_drop(const std::vector<std::string>& files, bool adder_active, bool adder_page_shown) {
    OpenPlan plan;
    if (files.empty()) {
        return plan;
    }
    if (files.size() == 1 && is_list_file_name(files.front())) {
        return {OpenAction::OpenList, files};
    }
    if (!std::all_of(files.begin(), files.end(), [](const std::string& f) { return is_spectrum_file_name(f); })) {
        return plan;
    }
    if (adder_page_shown || (adder_active && files.size() > 1)) {
        return {OpenAction::AddToList, files};
    }
    if (files.size() == 1) {
        return {OpenAction::OpenInConverter, files};
    }
    return plan;
}

OpenPlan plan_named_file(const std::string& file) {
    if (file.empty()) {
        return {};
    }
    return {is_list_file_name(file) ? OpenAction::OpenList : OpenAction::OpenInConverter, {file}};
}

}  // namespace vorelbox::core
