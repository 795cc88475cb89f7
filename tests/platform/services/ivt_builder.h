// Builds IVT blocks for tests, including deliberately broken ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace haptics_test {

struct Launch {
    std::uint16_t startMs;
    std::uint16_t effect;
};

class IvtBuilder {
  public:
    IvtBuilder& Basis(std::uint8_t kind, std::uint16_t durationMs, std::uint16_t magnitude,
                      std::uint16_t period = 20, std::uint16_t attackTime = 0,
                      std::uint16_t attackLevel = 0) {
        Begin();
        storage_.push_back(kind);
        storage_.push_back(0);
        for (std::uint16_t v : {durationMs, magnitude, period, attackTime, attackLevel,
                                std::uint16_t(0), std::uint16_t(0)})
            Put16(storage_, v);
        return *this;
    }
    IvtBuilder& Timeline(const std::vector<Launch>& launches) {
        Begin();
        storage_.push_back(0xF1);
        storage_.push_back(static_cast<std::uint8_t>(launches.size()));
        for (const Launch& l : launches) {
            Put16(storage_, l.startMs);
            Put16(storage_, l.effect);
        }
        return *this;
    }
    // Any bytes as one effect.
    IvtBuilder& Raw(const std::vector<std::uint8_t>& bytes) {
        Begin();
        storage_.insert(storage_.end(), bytes.begin(), bytes.end());
        return *this;
    }

    std::vector<std::uint8_t> Build() const {
        std::vector<std::uint8_t> out = {1, 0};
        Put16(out, static_cast<std::uint16_t>(offsets_.size()));
        Put16(out, static_cast<std::uint16_t>(storage_.size()));
        Put16(out, static_cast<std::uint16_t>(offsets_.size()));  // one NUL per name
        for (std::uint16_t o : offsets_)
            Put16(out, o);
        out.insert(out.end(), storage_.begin(), storage_.end());
        for (std::size_t i = 0; i < offsets_.size(); ++i)
            Put16(out, static_cast<std::uint16_t>(i));
        out.insert(out.end(), offsets_.size(), 0);
        return out;
    }

    static void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }

  private:
    void Begin() { offsets_.push_back(static_cast<std::uint16_t>(storage_.size())); }

    std::vector<std::uint16_t> offsets_;
    std::vector<std::uint8_t> storage_;
};

}  // namespace haptics_test
