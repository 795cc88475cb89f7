// Protected files and rights for tests, made with the service's own writers at run time: a
// device root and a rights store in a temporary folder, and builders for forward-lock,
// combined-delivery and separate-delivery content with the constraints a test asks for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rights/dcf/dcf_crypto.h"
#include "platform/rights/rel/rights_object.h"
#include "tests/support/temp_dir.h"

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

// The clear content tests protect: bytes that are neither a picture nor a protected file.
Bytes SampleContent(std::size_t size = 1000);

// A device root and an empty rights store under one temporary folder, configured for the process
// while the object lives (the store path is reset at the end).
class RightsDevice {
  public:
    RightsDevice();
    ~RightsDevice();
    RightsDevice(const RightsDevice&) = delete;
    RightsDevice& operator=(const RightsDevice&) = delete;

    // Writes `bytes` at a device path such as u"\\My Documents\\a.dcf" (folders made as needed).
    void Write(std::u16string_view devicePath, const Bytes& bytes) const;
    std::string HostPath(std::u16string_view devicePath) const;
    std::string StorePath() const { return temp_ / "rights.db"; }
    const TempDir& Temp() const { return temp_; }

    // Installs a rights object (as the XML bytes given) straight into the store.
    void Install(const platform::rights::RightsObject& rights, const Bytes& bytes) const;

  private:
    TempDir temp_;
};

// Constraints of one permission; all empty means unconstrained.
struct Terms {
    std::optional<std::uint32_t> count;
    std::optional<std::int64_t> start;     // seconds since 1970 UTC
    std::optional<std::int64_t> end;       // seconds since 1970 UTC
    std::optional<std::int64_t> interval;  // seconds
};

inline Terms CountTerms(std::uint32_t count) {
    Terms terms;
    terms.count = count;
    return terms;
}

// Opens the clear content and spends one use of `right`, as a viewer or player does.
bool SpendOneUse(const std::u16string& path, unsigned long right);

platform::rights::RightsObject MakeRights(
    std::string_view uid, platform::rights::Permission permission, const Terms& terms,
    const std::optional<platform::rights::ContentKey>& key = std::nullopt);
// The rights object as XML bytes, as a .dr file holds it.
Bytes RightsXml(const platform::rights::RightsObject& rights);

Bytes ForwardLockFile(std::string_view contentType, const Bytes& media);
Bytes CombinedDeliveryFile(std::string_view contentType, const Bytes& media, std::string_view uid,
                           platform::rights::Permission permission, const Terms& terms);

struct SeparateDelivery {
    Bytes dcf;
    platform::rights::RightsObject rights;  // carries the key
    Bytes rightsXml;
};
// A fixed key and IV unless given; a "Rights-Issuer" header when `rightsIssuer` is not empty.
SeparateDelivery SeparateDeliveryFile(std::string_view contentType, const Bytes& media,
                                      std::string_view uid, platform::rights::Permission permission,
                                      const Terms& terms, std::string_view rightsIssuer = {});

}  // namespace testing_support
