// Port to the read-only system registry, where the desktop keeps its screen-saver password switch.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace kolvane {

// The predefined roots a query may start from.
enum class RegistryRoot : std::uint32_t {
    classes_root,
    current_user,
    local_machine,
    users,
    performance_data,
    current_config,
    dyn_data,
};

enum class RegistryType { text, dword, other };

// One value as the registry reports it: its type and the data bytes with the length it reported.
struct RegistryData {
    RegistryType type = RegistryType::other;
    std::string bytes;          // raw data, at most 255 bytes
    std::uint32_t length = 0;   // the data length the query reported
};

class RegistryReader {
public:
    virtual ~RegistryReader() = default;
    // Opens root\sub_key for reading, queries value_name into a 255-byte buffer and closes the key;
    // nothing when any step fails (a value longer than the buffer fails too).
    virtual std::optional<RegistryData> query(RegistryRoot root, const std::string& sub_key,
                                              const std::string& value_name) = 0;
};

}  // namespace kolvane
