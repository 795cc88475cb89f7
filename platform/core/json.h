// A small streaming JSON writer for the tools' and tests' machine-readable output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class JsonWriter {
  public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::string_view utf8);
    // Ill-formed UTF-8 is written as U+FFFD so that the output stays valid JSON.
    void String(std::string_view utf8);
    void String(std::u16string_view text);
    void Int(std::int64_t value);
    // NaN and infinities have no JSON form and are written as null.
    void Double(double value);
    void Bool(bool value);
    void Null();

    const std::string& Str() const { return out_; }
    // True when exactly one top-level value was written, every container is closed and no call
    // was out of place (a key outside an object, a value where a key was due, an unmatched end).
    bool Complete() const { return !misused_ && stack_.empty() && topLevelDone_; }

  private:
    enum class Scope : std::uint8_t { Object, Array };
    bool BeforeValue();
    template <typename Write>
    void Scalar(Write write);
    void Open(Scope scope, char bracket);
    void Close(Scope scope, char bracket);
    void WriteEscaped(std::u16string_view text);
    void WriteEscaped(std::string_view utf8);

    std::string out_;
    std::vector<Scope> stack_;
    bool first_ = true;        // no element yet in the innermost container
    bool keyPending_ = false;  // a key was written, its value is due
    bool topLevelDone_ = false;
    bool misused_ = false;
};

}  // namespace platform
