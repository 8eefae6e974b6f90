// Interfaces to the per-user settings store and the read-only system registry.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace kolvane {

// Named text values kept per user between runs, by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `fallback` when the key does not exist.
    virtual std::string get(const std::string& app, const std::string& section, const std::string& key,
                            const std::string& fallback) = 0;
    // Failures are not reported: the store keeps its old contents.
    virtual void save(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& value) = 0;
};

// One value as the registry reports it: its type and the data bytes with the length it reported.
struct RegistryData {
    std::uint32_t type = 0;
    std::string bytes;          // raw data, at most 255 bytes
    std::uint32_t length = 0;   // the data length the query reported
};

constexpr std::uint32_t reg_sz = 1;
constexpr std::uint32_t reg_dword = 4;

class RegistryReader {
public:
    virtual ~RegistryReader() = default;
    // Opens root\sub_key for reading, queries value_name into a 255-byte buffer and closes the key;
    // nothing when any step fails (a value longer than the buffer fails too).
    virtual std::optional<RegistryData> query(std::uint32_t root, const std::string& sub_key,
                                              const std::string& value_name) = 0;
};

}  // namespace kolvane
