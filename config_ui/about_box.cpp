// The About box's logic.
#include "config_ui/about_box.h"

#include <filesystem>

namespace kolvane {

std::string version_text() {
    return "Version " + std::to_string(version_major) + "." + std::to_string(version_minor) + "." +
           std::to_string(version_revision);
}

std::string website_target(const std::string& install_path, const std::string& website) {
    if (website.find("://") != std::string::npos) return website;
    return install_path + website;
}

void AboutBox::Form_Load() {
    view_.set_caption(std::string("About ") + product_title);
    view_.set_version(version_text());
    view_.set_title(product_title);
}

void AboutBox::cmdOK_Click() { view_.unload(); }

void AboutBox::cmdSysInfo_Click() { StartSysInfo(); }

std::optional<std::string> AboutBox::GetKeyValue(RegistryRoot root, const std::string& key,
                                                 const std::string& value_name) {
    const auto data = registry_.query(root, key, value_name);
    if (!data) return std::nullopt;
    std::string text = data->bytes.substr(0, data->length);
    // A string value's data ends in its terminating NUL.
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

void AboutBox::StartSysInfo() {
    std::string program;
    if (auto path = GetKeyValue(RegistryRoot::local_machine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH")) {
        program = *path;
    } else if (auto folder =
                   GetKeyValue(RegistryRoot::local_machine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO")) {
        const std::string candidate = *folder + "\\MSINFO32.EXE";
        std::error_code ec;
        if (std::filesystem::exists(candidate, ec)) program = candidate;
    }
    if (program.empty() || !view_.start_program(program))
        system_.message_box(system_info_unavailable_text, application_title, MessageKind::plain);
}

void AboutBox::Command1_Click() {
    if (!view_.shell_open(website_)) system_.message_box(browser_failed_text, "Error!", MessageKind::plain);
}

}  // namespace kolvane
