#include "peer_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "platform/user/remote/runtime_folder.h"

namespace remote_test {

TempRuntimeDir::TempRuntimeDir() {
    char pattern[] = "/tmp/pxr-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
        previous_ = old;
    ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
}

TempRuntimeDir::~TempRuntimeDir() {
    if (previous_) {
        ::setenv("XDG_RUNTIME_DIR", previous_->c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string TempRuntimeDir::SocketPath(const std::u16string& className,
                                       const std::u16string& title) const {
    return Folder() + "/" + platform::EndpointKey::For(className, title).SocketName();
}

int TempRuntimeDir::CountSockets(const std::u16string& className,
                                 const std::u16string& title) const {
    const platform::EndpointKey wanted = platform::EndpointKey::For(className, title);
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(Folder(), error)) {
        platform::EndpointKey key;
        if (platform::ParseSocketName(entry.path().filename().string(), key) && key == wanted)
            ++count;
    }
    return count;
}

PeerProcess::PeerProcess(const std::vector<std::string>& args, const std::string& logPath) {
    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<std::string> argvText{PICTARIUM_TEST_PEER};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvText)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        if (log >= 0)
            ::dup2(log, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    input_.Reset(toChild[1]);
    output_.Reset(fromChild[0]);
    if (pid_ < 0)
        throw std::runtime_error("fork failed");
}

PeerProcess::~PeerProcess() {
    input_.Reset();  // a peer waiting for commands sees the end of its input
    if (!Wait(0)) {
        Kill(SIGKILL);
        Wait(5000);
    }
}

std::optional<std::string> PeerProcess::ReadLine(int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t newline = buffered_.find('\n');
        if (newline != std::string::npos) {
            std::string line = buffered_.substr(0, newline);
            buffered_.erase(0, newline + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd entry{output_.Get(), POLLIN, 0};
        const int ready = ::poll(&entry, 1, std::max<int>(0, static_cast<int>(left.count())));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return std::nullopt;
        char chunk[4096];
        const ssize_t got = ::read(output_.Get(), chunk, sizeof chunk);
        if (got <= 0)
            return std::nullopt;
        buffered_.append(chunk, static_cast<size_t>(got));
    }
}

void PeerProcess::Command(const std::string& line) {
    const std::string text = line + "\n";
    [[maybe_unused]] ssize_t ignored = ::write(input_.Get(), text.data(), text.size());
}

void PeerProcess::Kill(int signal) {
    if (!exited_)
        ::kill(pid_, signal);
}

std::optional<int> PeerProcess::Wait(int timeoutMs) {
    if (exited_)
        return status_;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_ || (done < 0 && errno == ECHILD)) {
            exited_ = true;
            status_ = status;
            return status;
        }
        if (std::chrono::steady_clock::now() >= end)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace remote_test
