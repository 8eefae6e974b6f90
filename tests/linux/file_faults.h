// File-system faults for tests: a disk that fills up, and steps run without the superuser's rights.
#pragma once
#include <sys/resource.h>

#include <csignal>
#include <functional>
#include <string>

namespace kolvane::testing {

// While it lives, no file of this process can grow past `bytes`: writes beyond fail as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*old_handler_)(int) = nullptr;
};

// Runs `step` in a child process, as the user "nobody" when this process is the superuser (who may read
// any file), and returns what it returned; the child's failure text goes to standard error, and what
// the child wrote to standard error is kept in `error_output` when given.
bool run_as_ordinary_user(const std::function<bool()>& step, std::string* error_output = nullptr);

}  // namespace kolvane::testing
