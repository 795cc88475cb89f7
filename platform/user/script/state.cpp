#include "platform/user/script/state.h"

#include <algorithm>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/debug.h"
#include "platform/display/display.h"
#include "platform/user/script/replace_file.h"
#include "platform/user/script/window_tree.h"

namespace platform {
namespace {

struct StateProvider {
    std::string section;
    std::function<void(JsonWriter&)> write;
};

class ProviderList {
  public:
    void Set(const std::string& section, std::function<void(JsonWriter&)> write) {
        std::lock_guard lock(mutex_);
        auto it = Find(section);
        if (it != providers_.end()) {
            it->write = std::move(write);
        } else {
            providers_.push_back({section, std::move(write)});
        }
    }
    void Remove(const std::string& section) {
        std::lock_guard lock(mutex_);
        auto it = Find(section);
        if (it != providers_.end())
            providers_.erase(it);
    }
    // A copy, so that a provider may register or unregister sections while it runs.
    std::vector<StateProvider> Snapshot() const {
        std::lock_guard lock(mutex_);
        return providers_;
    }

  private:
    std::vector<StateProvider>::iterator Find(const std::string& section) {
        return std::find_if(providers_.begin(), providers_.end(),
                            [&](const StateProvider& p) { return p.section == section; });
    }

    mutable std::mutex mutex_;
    std::vector<StateProvider> providers_;
};

ProviderList& Providers() {
    static ProviderList providers;
    return providers;
}

std::string ScreenJson() {
    const DeviceProfile& profile = GetDisplay().Profile();
    JsonWriter w;
    w.BeginObject();
    w.Key("width");
    w.Int(profile.width);
    w.Key("height");
    w.Int(profile.height);
    w.Key("dpi");
    w.Int(profile.dpi);
    w.EndObject();
    return w.Str();
}

// The document is assembled from separately written values so that one provider's mistake
// cannot break the JSON around it.
void AppendMember(std::string& out, std::string_view key, const std::string& value) {
    JsonWriter name;
    name.String(key);
    if (out.size() > 1)
        out += ',';
    out += name.Str();
    out += ':';
    out += value;
}

std::string ProviderJson(const StateProvider& provider) {
    JsonWriter w;
    if (provider.write)
        provider.write(w);
    if (w.Complete())
        return w.Str();
    NKDbgPrintfW(u"State section %s did not write one complete JSON value\n", provider.section);
    return "null";
}

}  // namespace

void RegisterStateProvider(const std::string& section, std::function<void(JsonWriter&)> write) {
    Providers().Set(section, std::move(write));
}

void UnregisterStateProvider(const std::string& section) {
    Providers().Remove(section);
}

std::string StateJson() {
    std::string out = "{";
    AppendMember(out, "screen", ScreenJson());
    AppendMember(out, "windows", WindowTreeJson());
    for (const StateProvider& provider : Providers().Snapshot()) {
        AppendMember(out, provider.section, ProviderJson(provider));
    }
    out += '}';
    return out;
}

bool WriteStateFile(const std::string& hostPath) {
    std::string error;
    if (ReplaceFileContents(hostPath, StateJson() + "\n", error))
        return true;
    NKDbgPrintfW(u"WriteStateFile: %s\n", error);
    return false;
}

}  // namespace platform
