// Feeds arbitrary bytes to the protected-file check and aborts when an accepted file breaks what
// the service relies on: a uid to join rights by, and combined delivery carrying its rights.
#include <cstdint>
#include <cstdlib>

#include "platform/rights/content/protected_file.h"
#include "platform/rights/dcf/dcf.h"

namespace {

using namespace platform::rights;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckFile(const ProtectedFile& file) {
    switch (file.method) {
        case DeliveryMethod::ForwardLock:
            Check(file.uid.empty() && !file.embeddedRights && file.embeddedRightsBytes.empty());
            break;
        case DeliveryMethod::CombinedDelivery:
            Check(file.embeddedRights && file.embeddedRights->uid == file.uid && !file.uid.empty());
            break;
        case DeliveryMethod::SeparateDelivery:
            Check(!file.uid.empty() && !file.embeddedRights);
            break;
    }
    Check(!file.contentType.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ReadResult result = ParseProtectedBytes(data, size);
    Check(result.check != FileCheck::Unreadable);
    Check(result.file.has_value() == (result.check == FileCheck::Protected));
    if (result.file)
        CheckFile(*result.file);
    // Reading a .dcf by its front alone must agree with reading it whole.
    if (const auto end = DcfHeadersEnd(data, size); end && *end <= size) {
        const auto front = ParseDcfHeaders(data, *end, size);
        Check(front.has_value() == ParseDcf(data, size).has_value());
    }
    return 0;
}
