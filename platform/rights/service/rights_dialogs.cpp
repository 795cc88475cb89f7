#include "platform/rights/service/rights_dialogs.h"

#include <atomic>

#include "platform/controls/message_box/message_box.h"
#include "platform/core/wstring.h"
#include "platform/rights/service/rights_service.h"

namespace platform::rights {
namespace {

std::atomic<RightsMessageBox> testBox{nullptr};

}  // namespace

RightsMessageBox SetRightsMessageBoxForTesting(RightsMessageBox box) {
    return testBox.exchange(box);
}

int ShowRightsMessage(HWND owner, const std::string& text, UINT type) {
    const std::u16string wide = FromUtf8(text);
    const RightsMessageBox box = testBox.load();
    return (box != nullptr ? box : &MessageBoxW)(owner, wide.c_str(), u"Content rights", type);
}

}  // namespace platform::rights
