// The registry as the About box reads it on Linux: where the system information program is, found on PATH.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "ports/registry_reader.h"

namespace kolvane::gtk {

// System information programs of Linux desktops, the first found on PATH is the one started.
std::vector<std::string> system_info_programs();

// Answers the query for the system information program's path (HKEY_LOCAL_MACHINE, the MSINFO key's
// "PATH") with the first of `programs` found on PATH, and passes every other query on. With none
// found the query fails, and the About box says that system information is unavailable.
class SystemInfoRegistry : public RegistryReader {
public:
    SystemInfoRegistry(RegistryReader& others, std::vector<std::string> programs)
        : others_(others), programs_(std::move(programs)) {}
    std::optional<RegistryData> query(RegistryRoot root, const std::string& sub_key,
                                      const std::string& value_name) override;

private:
    RegistryReader& others_;
    std::vector<std::string> programs_;
};

}  // namespace kolvane::gtk
