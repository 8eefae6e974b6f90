// Fuzzes the caption and audio list reader: any bytes give at most the limit of entries (the first ones), and what a save writes reads back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lists/lists.h"
#include "tests/fuzz/fuzz_check.h"

using kolvane::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the limit: either list's own, or small ones that a short text passes.
    constexpr int limits[] = {kolvane::max_captions, kolvane::max_audio_files, 1, 3};
    const int limit = limits[data[0] % 4];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    bool more = false;
    const auto entries = kolvane::split_list_fields(text, limit, &more);
    check(entries.size() <= static_cast<std::size_t>(limit), "a list never holds more than its limit");
    // A list cut at its limit holds the first entries of the text, and says that more follow.
    const auto longer = kolvane::split_list_fields(text, limit + 1);
    check(longer.size() >= entries.size() && std::equal(entries.begin(), entries.end(), longer.begin()),
          "a list cut short holds the text's first entries");
    check(more == (longer.size() > entries.size()), "more is said exactly when entries were left out");
    for (const auto& entry : entries) check(entry.find('\0') == std::string::npos, "entries hold no NUL");

    // The same bytes cut at NULs are entries as a dialog would hold them; with the ones the format
    // can keep (not empty, no double quote), the written file must read back as the same list.
    std::vector<std::string> kept;
    std::string file;
    std::size_t start = 0;
    while (start <= text.size() && static_cast<int>(kept.size()) < limit) {
        const std::size_t end = std::min(text.find('\0', start), text.size());
        std::string entry(text.substr(start, end - start));
        if (!entry.empty() && entry.find('"') == std::string::npos) {
            file += kolvane::list_field(entry) + "\r\n";
            kept.push_back(std::move(entry));
        }
        start = end + 1;
    }
    check(kolvane::split_list_fields(file, limit) == kept, "a saved list reads back unchanged");
    return 0;
}
