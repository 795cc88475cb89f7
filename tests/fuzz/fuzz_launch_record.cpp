// libFuzzer target: what another process can send to the main window. The frame must pass the
// platform's parser, and the record inside must pass the program's own check, before anything
// reaches a window procedure; neither may read outside what arrived.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/launch/launch_context.h"
#include "platform/user/remote/remote_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= platform::kRemoteHeaderSize) {
        const std::size_t length = platform::RemoteFrameLength(data, size);
        if (length > platform::kMaxRemoteFrameSize)
            std::abort();
    }
    platform::RemoteRequest request;
    if (platform::ParseRemoteRequest(data, size, request)) {
        if (request.data.size() > platform::kMaxRemoteCopyData)
            std::abort();
        // A well-formed frame survives a round trip unchanged.
        const std::vector<std::uint8_t> again = platform::EncodeRemoteRequest(request);
        if (again.size() != size || std::memcmp(again.data(), data, size) != 0)
            std::abort();
        LaunchContext context = {};
        if (ReadLaunchContext(request.data.data(), request.data.size(), context) &&
            std::char_traits<char16_t>::find(context.path, MAX_PATH, u'\0') == nullptr) {
            std::abort();
        }
    }
    // The program's check alone, on raw bytes, as WM_COPYDATA hands them over.
    LaunchContext context = {};
    ReadLaunchContext(data, size, context);
    return 0;
}
