#include "tests/platform/registry/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace registry_test {

std::vector<int> RunChildren(const std::vector<std::function<int()>>& bodies) {
    int gate[2];
    if (pipe(gate) != 0)
        return std::vector<int>(bodies.size(), -1);
    std::fflush(nullptr);  // so that buffered output is not written twice
    std::vector<pid_t> children;
    for (const auto& body : bodies) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(gate[1]);
            char byte;
            // Blocks until the parent closes its end: every child starts at once.
            while (read(gate[0], &byte, 1) < 0) {
            }
            _exit(std::min(body(), 100));
        }
        children.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    std::vector<int> statuses;
    for (const pid_t pid : children) {
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
            statuses.push_back(-1);
        } else {
            statuses.push_back(WEXITSTATUS(status));
        }
    }
    return statuses;
}

}  // namespace registry_test
