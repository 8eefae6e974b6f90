// The About box's logic: its texts, starting the system information program, visiting the web site.
#pragma once
#include <optional>
#include <string>

#include "ports/about_view.h"
#include "ports/registry_reader.h"
#include "ports/system_api.h"

namespace kolvane {

inline constexpr const char* product_title = "Kolvane Screen Saver";
inline constexpr const char* application_title = "scrnsave:Kolvane";  // the title of boxes without one
inline constexpr int version_major = 2;
inline constexpr int version_minor = 0;
inline constexpr int version_revision = 8;
inline constexpr const char* system_info_unavailable_text = "System Information Is Unavailable At This Time";
inline constexpr const char* browser_failed_text =
    "Error Launching Your Default Browser!\r\rPlease make sure you have a DEFAULT browser selected and try again.";

// "Version 2.0.8".
std::string version_text();
// What the web button opens: a full address as it stands, anything else as a page of the
// installation folder (the installer puts the help page there).
std::string website_target(const std::string& install_path, const std::string& website);

class AboutBox {
public:
    // `website` is the address the web button opens.
    AboutBox(SystemApi& system, RegistryReader& registry, AboutView& view, std::string website)
        : system_(system), registry_(registry), view_(view), website_(std::move(website)) {}

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Command1_Click();  // visit the web site

    void StartSysInfo();
    // The text of a value of the machine's registry, opened for reading only; nothing on failure.
    std::optional<std::string> GetKeyValue(RegistryRoot root, const std::string& key, const std::string& value_name);

private:
    SystemApi& system_;
    RegistryReader& registry_;
    AboutView& view_;
    std::string website_;
};

}  // namespace kolvane
