// libFuzzer target: rights objects in WBXML. No read may leave the input, and whatever the
// reader accepts must survive both writers unchanged.
#include <cstdint>
#include <cstdlib>

#include "platform/rights/rel/rel_wbxml.h"
#include "platform/rights/rel/rel_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto rights = platform::rights::ParseRightsWbxml(data, size);
    if (!rights)
        return 0;
    if (rights->uid.empty())
        std::abort();
    const std::vector<std::uint8_t> binary = platform::rights::WriteRightsWbxml(*rights);
    if (!binary.empty() &&
        platform::rights::ParseRightsWbxml(binary.data(), binary.size()) != rights)
        std::abort();
    const std::string text = platform::rights::WriteRightsXml(*rights);
    if (text.empty() != binary.empty())
        std::abort();
    if (!text.empty() && platform::rights::ParseRightsXml(text) != rights)
        std::abort();
    return 0;
}
