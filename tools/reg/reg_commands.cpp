#include "tools/reg/reg_commands.h"

#include <iostream>
#include <vector>

#include "platform/core/wstring.h"
#include "platform/registry/registry.h"
#include "tools/reg/reg_values.h"

namespace regtool {
namespace {

struct RootName {
    const char* shortName;
    const char* longName;
    HKEY handle;
};

const RootName kRootNames[] = {
    {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKU", "HKEY_USERS", HKEY_USERS},
};

// Closes the key when the command is done with it.
class OpenKey {
  public:
    OpenKey() = default;
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey() {
        if (handle_)
            RegCloseKey(handle_);
    }
    HKEY* Out() { return &handle_; }
    HKEY Get() const { return handle_; }

  private:
    HKEY handle_ = nullptr;
};

struct Value {
    std::u16string name;
    DWORD type = 0;
    std::vector<BYTE> data;
};

void Complain(const std::string& line) {
    std::cerr << "pictarium-reg: " << line << "\n";
}

std::string Describe(LONG error) {
    WCHAR text[256] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(error), 0, text, 256, nullptr);
    std::string message = length ? platform::ToUtf8(text) : "error " + std::to_string(error);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return message;
}

int Fail(const std::string& what, LONG error) {
    if (error == ERROR_FILE_NOT_FOUND) {
        Complain(what + ": not found");
        return kNotFound;
    }
    Complain(what + ": " + Describe(error));
    return kFailure;
}

// Splits "HKCU\Software\X" into its root and the path below it.
bool ParseKey(const std::string& text, HKEY& root, std::u16string& path) {
    const std::size_t slash = text.find('\\');
    const std::u16string rootWord = platform::FromUtf8(text.substr(0, slash));
    for (const RootName& name : kRootNames) {
        if (platform::EqualsNoCase(rootWord, platform::FromUtf8(name.shortName)) ||
            platform::EqualsNoCase(rootWord, platform::FromUtf8(name.longName))) {
            root = name.handle;
            path = slash == std::string::npos ? u"" : platform::FromUtf8(text.substr(slash + 1));
            return true;
        }
    }
    Complain("unknown root in " + text + " (use HKCU, HKLM, HKCR, HKU or their full names)");
    return false;
}

// Opens (or with `create`, creates) the key named by `text`; returns kSuccess or an exit status.
int Open(const std::string& text, bool create, OpenKey& key) {
    HKEY root = nullptr;
    std::u16string path;
    if (!ParseKey(text, root, path))
        return kUsageError;
    const LONG error =
        create ? RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, key.Out(), nullptr)
               : RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Out());
    return error == ERROR_SUCCESS ? int{kSuccess} : Fail("key " + text, error);
}

// Calls `read(buffer, &cbData)` with a growing buffer until it holds the whole value, which
// another process may change between the calls.
template <typename Read>
LONG ReadWhole(std::vector<BYTE>& data, Read&& read) {
    DWORD size = 0;
    for (;;) {
        data.resize(size);
        DWORD cbData = size;
        const LONG error = read(size ? data.data() : nullptr, &cbData);
        const bool sizeOnly = error == ERROR_SUCCESS && size == 0;
        if ((error == ERROR_MORE_DATA || sizeOnly) && cbData > size) {
            size = cbData;
            continue;
        }
        if (error == ERROR_SUCCESS)
            data.resize(cbData);
        return error;
    }
}

LONG ReadValueAt(HKEY key, DWORD index, Value& value) {
    std::vector<WCHAR> name(kMaxRegistryValueNameLength + 1);
    DWORD cchName = 0;
    const LONG error = ReadWhole(value.data, [&](LPBYTE data, LPDWORD cbData) {
        cchName = static_cast<DWORD>(name.size());
        return RegEnumValueW(key, index, name.data(), &cchName, nullptr, &value.type, data, cbData);
    });
    if (error == ERROR_SUCCESS)
        value.name.assign(name.data(), cchName);
    return error;
}

LONG QueryValue(HKEY key, const std::u16string& name, Value& value) {
    return ReadWhole(value.data, [&](LPBYTE data, LPDWORD cbData) {
        return RegQueryValueExW(key, name.c_str(), nullptr, &value.type, data, cbData);
    });
}

LONG ListSubkeys(HKEY key, std::ostream& out) {
    WCHAR name[kMaxRegistryKeyNameLength + 1];
    for (DWORD index = 0;; ++index) {
        DWORD cchName = static_cast<DWORD>(std::size(name));
        const LONG error =
            RegEnumKeyExW(key, index, name, &cchName, nullptr, nullptr, nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (error != ERROR_SUCCESS)
            return error;
        out << "[" << platform::ToUtf8(std::u16string_view(name, cchName)) << "]\n";
    }
}

LONG ListValues(HKEY key, std::ostream& out) {
    for (DWORD index = 0;; ++index) {
        Value value;
        const LONG error = ReadValueAt(key, index, value);
        if (error == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (error != ERROR_SUCCESS)
            return error;
        const std::string name = value.name.empty() ? "(Default)" : platform::ToUtf8(value.name);
        out << name << " = " << TypeName(value.type) << " " << DescribeData(value.type, value.data)
            << "\n";
    }
}

}  // namespace

int ListKey(const std::string& keyText, std::ostream& out) {
    OpenKey key;
    if (const int status = Open(keyText, false, key))
        return status;
    LONG error = ListSubkeys(key.Get(), out);
    if (error == ERROR_SUCCESS)
        error = ListValues(key.Get(), out);
    return error == ERROR_SUCCESS ? int{kSuccess} : Fail("listing " + keyText, error);
}

int GetValue(const std::string& keyText, const std::string& name, std::ostream& out) {
    OpenKey key;
    if (const int status = Open(keyText, false, key))
        return status;
    Value value;
    if (const LONG error = QueryValue(key.Get(), platform::FromUtf8(name), value)) {
        return Fail("value " + name + " in " + keyText, error);
    }
    out << FormatData(value.type, value.data) << "\n";
    return kSuccess;
}

int SetValue(const std::string& keyText, const std::string& name,
             std::span<const std::string> words) {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    std::string problem;
    if (words.empty() || !ParseData(words[0], words.subspan(1), type, data, problem)) {
        Complain(words.empty() ? "set needs a type and a value" : problem);
        return kUsageError;
    }
    OpenKey key;
    if (const int status = Open(keyText, true, key))
        return status;
    const LONG error = RegSetValueExW(key.Get(), platform::FromUtf8(name).c_str(), 0, type,
                                      data.data(), static_cast<DWORD>(data.size()));
    return error == ERROR_SUCCESS ? int{kSuccess} : Fail("setting " + name, error);
}

int DeleteValue(const std::string& keyText, const std::string& name) {
    OpenKey key;
    if (const int status = Open(keyText, false, key))
        return status;
    const LONG error = RegDeleteValueW(key.Get(), platform::FromUtf8(name).c_str());
    return error == ERROR_SUCCESS ? int{kSuccess} : Fail("value " + name + " in " + keyText, error);
}

}  // namespace regtool
