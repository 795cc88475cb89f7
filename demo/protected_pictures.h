// The demo's protected pictures, one of each delivery kind, built with the rights service's own
// writers: forward lock (a DRM message), combined delivery (a DRM message with its rights inside)
// and separate delivery (a DCF, its rights installed into the device's rights store).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

std::vector<std::uint8_t> ForwardLockMessage(const std::vector<std::uint8_t>& jpeg);
// Rights inside: ten displays.
std::vector<std::uint8_t> CombinedDeliveryMessage(const std::vector<std::uint8_t>& jpeg);
// The encrypted file; its rights (unlimited display) go in with InstallSeparateDeliveryRights.
std::vector<std::uint8_t> SeparateDeliveryFile(const std::vector<std::uint8_t>& jpeg);

// Installs the separate-delivery file's rights into the store at platform::RightsStorePath().
// Installing again is harmless. False with `error` when there is no store or it refused.
bool InstallSeparateDeliveryRights(std::string& error);

inline constexpr std::uint32_t kCombinedDeliveryDisplays = 10;

}  // namespace demo
