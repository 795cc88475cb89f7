// Opening a device file with the host program the hand-off table names, started detached.
#include "platform/shell/shell_execute.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cerrno>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/debug.h"
#include "platform/core/error.h"
#include "platform/core/wstring.h"
#include "platform/fs/device.h"
#include "platform/registry/registry.h"
#include "platform/shell/task_bar.h"

extern char** environ;

namespace {

// Not in the platform's error list yet; the value Win32 gives it.
// What hInstApp reports, as the desktop shell does: above 32 on success, else a small code.
constexpr INT_PTR kInstSuccess = 33;
constexpr INT_PTR kSeErrFileNotFound = 2;
constexpr INT_PTR kSeErrNoAssociation = 31;

constexpr const char16_t* kOpenKey = u"Software\\Pictarium\\Open";
constexpr const char16_t* kAnyExtension = u"*";
constexpr const char* kDefaultCommand = "xdg-open";

BOOL Fail(LPSHELLEXECUTEINFO info, DWORD error, INT_PTR instCode) {
    if (info)
        info->hInstApp = reinterpret_cast<HINSTANCE>(instCode);
    SetLastError(error);
    return FALSE;
}

// The file name's extension from its last dot, lower-cased ("" when it has none).
std::u16string LowerExtension(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"\\/");
    const size_t dot = path.rfind(u'.');
    if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && dot < slash))
        return {};
    std::u16string extension(path.substr(dot));
    for (char16_t& c : extension) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return extension;
}

// A string value of the hand-off table; nullopt when it is missing, empty or not text.
std::optional<std::u16string> ReadEntry(HKEY key, const std::u16string& name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || bytes < sizeof(WCHAR))
        return std::nullopt;
    std::u16string text(bytes / sizeof(WCHAR) + 1, u'\0');
    DWORD size = static_cast<DWORD>(text.size() * sizeof(WCHAR));
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(text.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(text.find(u'\0'));
    if (text.find_first_not_of(u" \t") == std::u16string::npos)
        return std::nullopt;
    return text;
}

// The host command for `devicePath`: the extension's entry, else "*", else the default.
std::string CommandFor(std::u16string_view devicePath) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kOpenKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return kDefaultCommand;
    std::optional<std::u16string> command;
    const std::u16string extension = LowerExtension(devicePath);
    if (!extension.empty())
        command = ReadEntry(key, extension);
    if (!command)
        command = ReadEntry(key, kAnyExtension);
    RegCloseKey(key);
    return command ? platform::ToUtf8(*command) : kDefaultCommand;
}

// The command's words, split on blanks; no shell sees it, so nothing in it is interpreted.
std::vector<std::string> SplitWords(const std::string& command) {
    std::vector<std::string> words;
    size_t pos = 0;
    while ((pos = command.find_first_not_of(" \t", pos)) != std::string::npos) {
        const size_t end = command.find_first_of(" \t", pos);
        words.push_back(command.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

// Starts argv detached from the gallery: its own session, default signals, no inherited
// standard streams. A waiter thread reaps it so that no zombie stays. The spawn error, or 0.
int SpawnDetached(std::vector<std::string> words, const std::string& hostPath) {
    std::vector<char*> argv;
    words.push_back(hostPath);
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd = 0; fd <= 2; ++fd)
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY,
                                         0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return error;
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return 0;
}

}  // namespace

BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info) {
    if (!info || info->cbSize != sizeof(SHELLEXECUTEINFO) || !info->lpFile || !*info->lpFile)
        return Fail(info, ERROR_INVALID_PARAMETER, kSeErrFileNotFound);
    if (info->lpVerb && *info->lpVerb && lstrcmpiW(info->lpVerb, u"open") != 0)
        return Fail(info, ERROR_NOT_SUPPORTED, kSeErrNoAssociation);
    const std::optional<std::string> hostPath = platform::HostPathFor(info->lpFile);
    struct stat st;
    if (!hostPath || ::stat(hostPath->c_str(), &st) != 0)
        return Fail(info, ERROR_FILE_NOT_FOUND, kSeErrFileNotFound);

    const std::string command = CommandFor(info->lpFile);
    const std::vector<std::string> words = SplitWords(command);
    const int error = words.empty() ? ENOENT : SpawnDetached(words, *hostPath);
    if (error != 0) {
        const std::u16string text = platform::FromUtf8(command);
        NKDbgPrintfW(u"ShellExecuteEx: cannot start \"%s\" (errno %d)\n", text.c_str(), error);
        return Fail(info, ERROR_NO_ASSOCIATION, kSeErrNoAssociation);
    }
    info->hInstApp = reinterpret_cast<HINSTANCE>(kInstSuccess);
    return TRUE;
}

BOOL IsAPIReady(DWORD api) {
    return api == SH_SHELL && platform::ShellRunning() ? TRUE : FALSE;
}
