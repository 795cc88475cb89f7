#include "platform/user/shell_hooks.h"

#include <utility>

#include "platform/core/no_destructor.h"

namespace platform {
namespace {

ShellHooks& Hooks() {
    static NoDestructor<ShellHooks> hooks;
    return *hooks;
}

}  // namespace

void SetShellHooks(ShellHooks hooks) {
    Hooks() = std::move(hooks);
}

const ShellHooks& GetShellHooks() {
    return Hooks();
}

}  // namespace platform
