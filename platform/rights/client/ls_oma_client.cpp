#include "platform/rights/client/ls_oma_client.h"

#include <cstring>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/wstring.h"
#include "platform/rights/client/constraint_list.h"
#include "platform/rights/client/handle_table.h"
#include "platform/rights/client/local_clock.h"
#include "platform/rights/service/rights_service.h"

namespace client = platform::rights::client;
using platform::rights::ContentRights;
using platform::rights::DeliveryMethod;
using platform::rights::FileCheck;

int LsOma_Open(const char* path, LSHANDLE* handle) {
    if (!handle)
        return LS_E_INVALIDARG;
    *handle = nullptr;
    if (!path)
        return LS_E_INVALIDARG;
    // Nothing may escape into the caller: a failure to read or remember the file is a failure
    // to open it.
    try {
        platform::rights::LookUpResult found =
            platform::rights::LookUpContent(platform::FromUtf8(path));
        if (found.check != FileCheck::Protected || !found.content)
            return LS_E_OPEN;
        *handle = client::OpenHandles().Add(std::move(*found.content));
        return LS_OK;
    } catch (const std::exception&) {
        return LS_E_OPEN;
    }
}

int LsOma_GetForwardLockFlag(LSHANDLE handle, DWORD* forwardLocked) {
    const auto content = client::OpenHandles().Find(handle);
    if (!content)
        return LS_E_HANDLE;
    if (!forwardLocked)
        return LS_E_INVALIDARG;
    *forwardLocked = content->file.method == DeliveryMethod::SeparateDelivery ? 0 : 1;
    return LS_OK;
}

int LsOma_GetConstraint(LSHANDLE handle, DWORD selector, DWORD index, DrmConstraint* constraint) {
    const auto content = client::OpenHandles().Find(handle);
    if (!content)
        return LS_E_HANDLE;
    const auto permission = client::PermissionForSelector(selector);
    if (!permission || !constraint)
        return LS_E_INVALIDARG;
    try {
        // Interval starts take the offset in force now, the one the local time below uses.
        const std::vector<DrmConstraint> entries = client::FlattenConstraints(
            *content, *permission, client::LocalOffsetTicks(platform::rights::RightsNow()));
        if (index >= entries.size())
            return LS_E_NOCONSTRAINT;
        *constraint = entries[index];
        return LS_OK;
    } catch (const std::exception&) {
        return LS_E_NOCONSTRAINT;
    }
}

int LsOma_GetHeader(LSHANDLE handle, const char* name, char* buffer, DWORD* length) {
    const auto content = client::OpenHandles().Find(handle);
    if (!content)
        return LS_E_HANDLE;
    if (!name || !length)
        return LS_E_INVALIDARG;
    const std::optional<std::string> value = content->file.Header(name);
    if (!value)
        return LS_E_NOHEADER;
    const DWORD needed = static_cast<DWORD>(value->size() + 1);
    if (!buffer) {
        *length = needed;
        return LS_OK;
    }
    if (*length < needed) {
        *length = needed;
        return LS_E_BUFFER;
    }
    std::memcpy(buffer, value->c_str(), needed);
    *length = needed;
    return LS_OK;
}

int LsOma_Close(LSHANDLE* handle) {
    if (!handle)
        return LS_E_INVALIDARG;
    if (!client::OpenHandles().Remove(*handle))
        return LS_E_HANDLE;
    *handle = nullptr;
    return LS_OK;
}

int LsPlatformServicesSPI_GetAndValidateLocalTime(std::int64_t* time) {
    if (!time)
        return LS_E_INVALIDARG;
    *time = client::LocalNowTicks();
    return LS_OK;
}
