// The state keys a handheld's own system and camera write on first boot, which the gallery reads
// to find the camera's folder. Written only where missing, so a user's or a test's values stay.
// Also the storage card's presence, which the slot driver keeps current while the device runs.
#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

void SeedDeviceState();

// Writes whether a card is in: DWORD "sckt" = 0 under HKLM\Drivers\Active\ExpSlot while one is,
// no such value while none is (the program reads "present" as "the read succeeds and gives 0").
// False when the registry refused the change.
bool PublishStorageCardState(bool present);

// Keeps the card's registry value following HasStorageCard() for its lifetime: publishes at
// once, then checks once a second and rewrites the value only when the answer changed (or the
// last write failed). Polling rather than inotify because the card folder's parent may vanish
// and come back too, which a watch on the parent would miss; one stat a second costs nothing
// and uses exactly the rule the find functions use. Stops and joins on destruction.
class StorageCardWatcher {
  public:
    StorageCardWatcher();
    ~StorageCardWatcher();
    StorageCardWatcher(const StorageCardWatcher&) = delete;
    StorageCardWatcher& operator=(const StorageCardWatcher&) = delete;

  private:
    void Check();
    void Run();

    std::optional<bool> published_;  // only touched by Check, on one thread at a time
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};
