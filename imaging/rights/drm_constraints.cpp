// Judging the constraints of a rights summary: each against the clock it was written on, and the
// summary as a whole (all expired, or one unlimited).
#include <cstdint>
#include <optional>
#include <span>

#include "imaging/rights/drm_info.h"
#include "platform/core/debug.h"
#include "platform/core/error.h"
#include "platform/core/time.h"
#include "platform/loader/loader.h"
#include "platform/user/resource.h"

namespace {

constexpr UINT kLocalTimeOrdinal = 150;

// Holds the rights client module only while its time function is called.
class ClientModule {
  public:
    ClientModule() : module_(LoadLibraryW(u"LsOmaClient.dll")) {}
    ~ClientModule() {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    ClientModule(const ClientModule&) = delete;
    ClientModule& operator=(const ClientModule&) = delete;

    HMODULE Get() const { return module_; }

  private:
    HMODULE module_;
};

// The client's validated local time (100-ns units), taken from the module at run time as the
// device does; nullopt, with a debug line, when the module or its export is missing.
std::optional<std::int64_t> ClientLocalTime() {
    const ClientModule module;
    if (module.Get() == nullptr) {
        NKDbgPrintfW(u"LoadLibrary(\"LsOmaClient.dll\") failed.\r\n");
        return std::nullopt;
    }
    using LocalTimeFunction = decltype(&LsPlatformServicesSPI_GetAndValidateLocalTime);
    const auto pfnLsPlatformServicesSPI_GetAndValidateLocalTime =
        reinterpret_cast<LocalTimeFunction>(
            GetProcAddressW(module.Get(), MAKEINTRESOURCEW(kLocalTimeOrdinal)));
    if (pfnLsPlatformServicesSPI_GetAndValidateLocalTime == nullptr) {
        NKDbgPrintfW(
            u"GetProcAddress(\"pfnLsPlatformServicesSPI_GetAndValidateLocalTime\") failed. "
            u"errno:%d\r\n",
            static_cast<int>(GetLastError()));
        return std::nullopt;
    }
    std::int64_t now = 0;
    if (pfnLsPlatformServicesSPI_GetAndValidateLocalTime(&now) != LS_OK)
        return std::nullopt;
    return now;
}

BOOL IntervalValid(const DrmConstraint& constraint) {
    // Not started yet: the interval begins at the first use.
    if (constraint.llIntervalStart <= 0)
        return TRUE;
    const std::optional<std::int64_t> now = ClientLocalTime();
    // Without the client's clock the interval cannot be judged here; the rights service still
    // judges every real use, so the view does not mark content expired on a guess.
    if (!now)
        return TRUE;
    // now <= start + duration, written so that neither side can overflow.
    if (*now < constraint.llIntervalStart)
        return TRUE;
    return *now - constraint.llIntervalStart <= constraint.llIntervalDuration ? TRUE : FALSE;
}

BOOL DatetimeValid(const DrmConstraint& constraint) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return CompareFileTime(&constraint.ftEnd, &now) > 0 ? TRUE : FALSE;
}

// The summary's entries, or none when it holds no usable array.
std::span<const DrmConstraint> Entries(const DrmRightsSummary* summary) {
    if (summary == nullptr || summary->pConstraints == nullptr || summary->nConstraintCount < 1) {
        return {};
    }
    return {summary->pConstraints, static_cast<size_t>(summary->nConstraintCount)};
}

}  // namespace

BOOL IsDrmConstraintValid(const DrmConstraint* constraint) {
    if (constraint == nullptr)
        return FALSE;
    switch (constraint->dwKind) {
        case CONSTRAINT_NONE:
            return TRUE;
        case CONSTRAINT_DATETIME:
            return DatetimeValid(*constraint);
        case CONSTRAINT_INTERVAL:
            return IntervalValid(*constraint);
        case CONSTRAINT_COUNT:
            // Widened so that a damaged entry (used below zero) cannot overflow.
            return static_cast<std::int64_t>(constraint->nCountTotal) - constraint->nCountUsed > 0
                       ? TRUE
                       : FALSE;
        default:
            return FALSE;
    }
}

BOOL AllDrmConstraintsExpired(const DrmRightsSummary* summary) {
    for (const DrmConstraint& entry : Entries(summary)) {
        if (IsDrmConstraintValid(&entry))
            return FALSE;
    }
    return TRUE;
}

BOOL HasUnlimitedDrmConstraint(const DrmRightsSummary* summary) {
    for (const DrmConstraint& entry : Entries(summary)) {
        if (entry.dwKind == CONSTRAINT_NONE)
            return TRUE;
    }
    return FALSE;
}
