// A fresh App on the headless backend for tests.
#pragma once
#include <filesystem>
#include <string>

#include "app/app.h"
#include "platform/headless/headless_platform.h"

namespace kolvane::testing {

struct TestApp {
    headless::FakeSystem system;
    headless::MemoryStore store;
    headless::MemoryRegistry registry;
    App app{Platform{system, store, registry}};
};

// A temporary folder removed when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // The folder with a trailing separator, as the program keeps folders.
    std::string folder() const;

private:
    std::filesystem::path path_;
};

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& contents);

}  // namespace kolvane::testing
