// Port to the About box: its texts, and starting the system information program or the web site.
#pragma once
#include <string>
#include <string_view>

namespace kolvane {

class AboutView {
public:
    virtual ~AboutView() = default;
    virtual void set_caption(std::string_view caption) = 0;
    virtual void set_title(std::string_view title) = 0;
    virtual void set_version(std::string_view version) = 0;
    // Starts a program by its path in a normal window with the focus; false when that failed.
    virtual bool start_program(const std::string& path) = 0;
    // Opens a document or address through the system's shell; false when that failed.
    virtual bool shell_open(const std::string& target) = 0;
    virtual void unload() = 0;
};

}  // namespace kolvane
