// Test helpers: temporary folders and whole-file access.
#include "tests/test_app.h"

#include <atomic>
#include <cstdint>
#include <fstream>
#include <sstream>

namespace kolvane::testing {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0;; ++attempt) {
        path_ = base / ("kolvane-test-" + std::to_string(attempt) + "-" + std::to_string(counter++) + "-" +
                        std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::error_code ec;
        if (std::filesystem::create_directory(path_, ec)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::folder() const {
    std::string text = path_.string();
    text += static_cast<char>(std::filesystem::path::preferred_separator);
    return text;
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void write_file(const std::filesystem::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

}  // namespace kolvane::testing
