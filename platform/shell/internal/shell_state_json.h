#pragma once

namespace platform::shell {

// Adds the "shell" section to the state document (idempotent).
void RegisterShellState();

}  // namespace platform::shell
