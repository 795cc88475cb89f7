// What the actuator played, kept for tests and the state document.
#include <mutex>

#include "platform/core/json.h"
#include "platform/services/haptics/library.h"
#include "platform/user/script/state.h"

namespace platform::haptics {
namespace {

using Lock = std::lock_guard<std::mutex>;

void WritePlayed(JsonWriter& w, const PlayedEffect& p) {
    w.BeginObject();
    w.Key("effect");
    w.Int(p.effectIndex);
    w.Key("strength");
    w.Int(p.strength);
    w.Key("magnitude");
    w.Int(p.magnitude);
    w.Key("durationMs");
    w.Int(p.durationMs);
    w.Key("tick");
    w.Int(p.tick);
    w.EndObject();
}

void WriteState(JsonWriter& w) {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    w.BeginObject();
    w.Key("initialised");
    w.Bool(lib.initialised);
    w.Key("openDevices");
    w.Int(static_cast<std::int64_t>(lib.open.size()));
    w.Key("stops");
    w.Int(lib.stops);
    w.Key("played");
    w.BeginArray();
    for (const PlayedEffect& p : lib.journal)
        WritePlayed(w, p);
    w.EndArray();
    w.EndObject();
}

}  // namespace

void Record(Library& lib, const PlayedEffect& played) {
    if (lib.journal.size() == kJournalCapacity)
        lib.journal.pop_front();
    lib.journal.push_back(played);
}

void RegisterHapticsState() {
    static std::once_flag once;
    std::call_once(once, [] { RegisterStateProvider("haptics", WriteState); });
}

std::vector<PlayedEffect> Journal() {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    return {lib.journal.begin(), lib.journal.end()};
}

int StopCount() {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    return lib.stops;
}

void ClearJournal() {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    lib.journal.clear();
    lib.stops = 0;
}

void SetDeviceCount(int count) {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    lib.configuredDevices = count < 0 ? 0 : count;
}

}  // namespace platform::haptics
