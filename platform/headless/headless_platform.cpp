// The deterministic backend.
#include "platform/headless/headless_platform.h"

#include <algorithm>

#include "password/password_forms.h"
#include "startup/settings.h"

namespace kolvane::headless {

std::string MemoryStore::get(const std::string& app, const std::string& section, const std::string& key,
                             const std::string& fallback) {
    const auto it = values_.find({app, section, key});
    return it == values_.end() ? fallback : it->second;
}

bool MemoryStore::save(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& value) {
    if (refuse_saves) return false;
    ++saves;
    values_[{app, section, key}] = value;
    return true;
}

bool MemoryStore::has(const std::string& key) const { return values_.count({app_name, config_section, key}) != 0; }

std::string MemoryStore::value(const std::string& key) const {
    const auto it = values_.find({app_name, config_section, key});
    return it == values_.end() ? std::string() : it->second;
}

void MemoryStore::set(const std::string& key, const std::string& value) {
    values_[{app_name, config_section, key}] = value;
}

std::optional<RegistryData> MemoryRegistry::query(RegistryRoot root, const std::string& sub_key,
                                                  const std::string& value_name) {
    ++queries;
    const auto it = values_.find({root, sub_key, value_name});
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void MemoryRegistry::set_string(RegistryRoot root, const std::string& sub_key, const std::string& name,
                                const std::string& text) {
    RegistryData data;
    data.type = RegistryType::text;
    data.bytes = text + '\0';
    data.length = static_cast<std::uint32_t>(data.bytes.size());
    values_[{root, sub_key, name}] = data;
}

void MemoryRegistry::set_dword(RegistryRoot root, const std::string& sub_key, const std::string& name,
                               std::uint32_t number) {
    RegistryData data;
    data.type = RegistryType::dword;
    for (int i = 0; i < 4; ++i) data.bytes += static_cast<char>((number >> (8 * i)) & 0xffu);
    data.length = 4;
    values_[{root, sub_key, name}] = data;
}

void FakeSystem::pump_events(std::int32_t timeout_ms) {
    ++pump_rounds;
    longest_wait = std::max(longest_wait, timeout_ms);
    current_wait = timeout_ms;
    if (on_pump) on_pump();
    // A wait with nothing to deliver sleeps to its deadline.
    if (timeout_ms > 0) clock_ms += static_cast<std::uint32_t>(timeout_ms);
}

void FakeSystem::set_saver_state(SaverState state, bool on) {
    calls.push_back({SystemCall::Kind::saver_state, state, on, ""});
}

void FakeSystem::set_desktop_wallpaper(const std::string& path) {
    calls.push_back({SystemCall::Kind::wallpaper, SaverState::running, false, path});
}

std::string FakeSystem::upper_case(std::string_view text) {
    return case_rules ? case_rules(text) : upper_case_ansi(text);
}

bool FakeSystem::window_titled_exists(const std::string& title) {
    return std::find(windows.begin(), windows.end(), title) != windows.end();
}

bool FakeSystem::ask_yes_no(const std::string& text, const std::string& title) {
    boxes.emplace_back(text, title, MessageKind::warning);
    ++questions;
    return answer_yes;
}

bool FakeSystem::flush_to_disk(std::FILE* file) {
    ++flushes;
    return std::fflush(file) == 0;
}

void FakeSystem::message_box(const std::string& text, const std::string& title, MessageKind kind) {
    boxes.emplace_back(text, title, kind);
}

}  // namespace kolvane::headless
