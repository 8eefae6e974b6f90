// Port to the per-user settings store: named text values kept between runs.
#pragma once
#include <string>

namespace kolvane {

// Named text values kept per user between runs, by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `fallback` when the key does not exist.
    virtual std::string get(const std::string& app, const std::string& section, const std::string& key,
                            const std::string& fallback) = 0;
    // False when the value could not be stored; the store then keeps its old contents.
    virtual bool save(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& value) = 0;
};

}  // namespace kolvane
