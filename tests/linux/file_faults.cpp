// File-system faults for tests.
#include "tests/linux/file_faults.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace kolvane::testing {

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    // Past the limit the kernel sends SIGXFSZ, which would end the test; ignored, the write fails instead.
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
}

bool run_as_ordinary_user(const std::function<bool()>& step, std::string* error_output) {
    char name[] = "/tmp/kolvane-child-err-XXXXXX";
    const int err = mkstemp(name);
    if (err < 0) return false;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) {
        close(err);
        unlink(name);
        return false;
    }
    if (child == 0) {
        dup2(err, STDERR_FILENO);
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
        const bool ok = step();
        std::fflush(stderr);
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    close(err);
    std::ifstream in(name);
    std::ostringstream text;
    text << in.rdbuf();
    unlink(name);
    if (error_output) *error_output = text.str();
    else std::fputs(text.str().c_str(), stderr);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace kolvane::testing
