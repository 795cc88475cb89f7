#include "platform/loader/loader.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/core/error.h"
#include "platform/core/no_destructor.h"
#include "platform/core/wstring.h"
#include "platform/loader/module_table.h"

namespace {

using platform::loader::BuiltInModules;
using platform::loader::Export;
using platform::loader::Module;

// What the process has done with each built-in module, indexed as BuiltInModules().
struct ModuleState {
    unsigned references = 0;
    bool available = true;
};

class LoaderState {
  public:
    std::mutex mutex;
    std::vector<ModuleState> modules = std::vector<ModuleState>(BuiltInModules().size());
};

LoaderState& State() {
    static platform::NoDestructor<LoaderState> state;
    return *state;
}

// The handle of a module is the address of its table entry: stable, distinct per module, and
// only ever compared, never followed, when it comes back from a caller.
HMODULE HandleOf(std::size_t index) {
    return reinterpret_cast<HMODULE>(const_cast<Module*>(&BuiltInModules()[index]));
}

std::optional<std::size_t> IndexOfHandle(HMODULE module) {
    const auto modules = BuiltInModules();
    for (std::size_t i = 0; i < modules.size(); ++i) {
        if (HandleOf(i) == module)
            return i;
    }
    return std::nullopt;
}

// The file name without its folder; a name without an extension means a .dll, as on the device.
std::u16string FileNameOf(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    std::u16string name(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
    if (!name.empty() && name.find(u'.') == std::u16string::npos)
        name += u".dll";
    return name;
}

std::optional<std::size_t> IndexOfName(std::u16string_view path) {
    const std::u16string name = FileNameOf(path);
    const auto modules = BuiltInModules();
    for (std::size_t i = 0; i < modules.size(); ++i) {
        if (platform::EqualsNoCase(modules[i].name, name))
            return i;
    }
    return std::nullopt;
}

// Names below 0x10000 are ordinals in their low word, as MAKEINTRESOURCE makes them.
bool IsOrdinal(LPCWSTR procName) {
    return reinterpret_cast<std::uintptr_t>(procName) <= 0xFFFF;
}

const Export* FindExport(const Module& module, LPCWSTR procName) {
    if (IsOrdinal(procName)) {
        const auto ordinal = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(procName));
        for (const Export& e : module.exports) {
            if (ordinal != 0 && e.ordinal == ordinal)
                return &e;
        }
        return nullptr;
    }
    // Export names are compared exactly, as GetProcAddress does.
    const std::string name = platform::ToUtf8(procName);
    for (const Export& e : module.exports) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

}  // namespace

HMODULE LoadLibraryW(LPCWSTR name) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::optional<std::size_t> index = IndexOfName(name);
    LoaderState& state = State();
    std::lock_guard lock(state.mutex);
    if (!index || !state.modules[*index].available) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++state.modules[*index].references;
    return HandleOf(*index);
}

FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName) {
    const std::optional<std::size_t> index = IndexOfHandle(module);
    {
        LoaderState& state = State();
        std::lock_guard lock(state.mutex);
        if (!index || state.modules[*index].references == 0) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
    }
    const Export* found = FindExport(BuiltInModules()[*index], procName);
    if (!found) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return found->function;
}

BOOL FreeLibrary(HMODULE module) {
    const std::optional<std::size_t> index = IndexOfHandle(module);
    LoaderState& state = State();
    std::lock_guard lock(state.mutex);
    if (!index || state.modules[*index].references == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    --state.modules[*index].references;
    return TRUE;
}

namespace platform {

void SetModuleAvailable(const std::u16string& name, bool available) {
    const std::optional<std::size_t> index = IndexOfName(name);
    if (!index)
        return;
    LoaderState& state = State();
    std::lock_guard lock(state.mutex);
    // References already handed out stay good: a loaded module does not vanish under its users.
    state.modules[*index].available = available;
}

}  // namespace platform
