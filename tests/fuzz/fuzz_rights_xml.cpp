// libFuzzer target: rights objects in XML as they arrive in messages and files. Whatever the
// reader accepts must be written back and read again to the very same object.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/rights/rel/rel_wbxml.h"
#include "platform/rights/rel/rel_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto rights = platform::rights::ParseRightsXml(
        std::string_view(reinterpret_cast<const char*>(data), size));
    if (!rights)
        return 0;
    if (rights->uid.empty())
        std::abort();
    const std::string text = platform::rights::WriteRightsXml(*rights);
    if (!text.empty() && platform::rights::ParseRightsXml(text) != rights)
        std::abort();
    const std::vector<std::uint8_t> binary = platform::rights::WriteRightsWbxml(*rights);
    if (binary.empty() != text.empty())
        std::abort();
    if (!binary.empty() &&
        platform::rights::ParseRightsWbxml(binary.data(), binary.size()) != rights)
        std::abort();
    return 0;
}
