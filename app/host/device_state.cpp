#include "app/host/device_state.h"

#include <chrono>

#include "app/reg_key.h"
#include "platform/fs/device.h"

namespace {

constexpr const char16_t* kExpansionSlotKey = u"Drivers\\Active\\ExpSlot";
constexpr const char16_t* kSocketValue = u"sckt";
constexpr std::chrono::seconds kCardCheckInterval{1};

}  // namespace

void SeedDeviceState() {
    CRegKey card;
    if (card.Create(HKEY_LOCAL_MACHINE, u"System\\State\\Halvern\\SDCARD")) {
        if (!card.HasValue(u"InStorageFolder"))
            card.SetString(u"InStorageFolder", u"My Documents");
        if (!card.HasValue(u"ExStorageFolder"))
            card.SetString(u"ExStorageFolder", u"Storage Card");
    }
    CRegKey camera;
    if (camera.Create(HKEY_CURRENT_USER, u"Software\\Halvern\\Camera")) {
        if (!camera.HasValue(u"StorageType"))
            camera.SetDword(u"StorageType", 1);
        if (!camera.HasValue(u"DCFNumber"))
            camera.SetDword(u"DCFNumber", 1);
    }
}

bool PublishStorageCardState(bool present) {
    if (present) {
        CRegKey slot;
        return slot.Create(HKEY_LOCAL_MACHINE, kExpansionSlotKey) && slot.SetDword(kSocketValue, 0);
    }
    // The registry outlives the run, so a value left by an earlier run with a card must go. A
    // missing key or value already says "no card".
    HKEY key = nullptr;
    const LONG opened =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kExpansionSlotKey, 0, KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    const LONG result = RegDeleteValueW(key, kSocketValue);
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

StorageCardWatcher::StorageCardWatcher() {
    Check();
    thread_ = std::thread([this] { Run(); });
}

StorageCardWatcher::~StorageCardWatcher() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void StorageCardWatcher::Check() {
    const bool present = platform::HasStorageCard();
    if (published_ == present)
        return;
    if (PublishStorageCardState(present)) {
        published_ = present;
    } else {
        published_.reset();  // try again on the next check
    }
}

void StorageCardWatcher::Run() {
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, kCardCheckInterval, [this] { return stopping_; })) {
        lock.unlock();
        Check();
        lock.lock();
    }
}
