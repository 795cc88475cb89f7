// Internal pieces of the formatter: the bounded output and a parsed conversion.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "platform/core/types.h"

namespace platform::format_detail {

// Writes into a fixed buffer, always keeping one unit for the terminator, and goes on counting
// past the end so that the caller learns the full length. With no buffer it only counts.
class Output {
  public:
    Output(WCHAR* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {}

    void Put(char16_t c) {
        if (pos_ + 1 < capacity_)
            buffer_[pos_] = c;
        ++pos_;
    }
    void Write(const char16_t* text, std::size_t n) {
        const std::size_t room = Room();
        if (room > 0)
            std::memcpy(buffer_ + pos_, text, (n < room ? n : room) * sizeof(char16_t));
        pos_ += n;
    }
    // ASCII text (digits, signs, "inf") widened to UTF-16.
    void WriteAscii(std::string_view text) {
        for (char c : text)
            Put(static_cast<char16_t>(c));
    }
    void Fill(char16_t c, std::size_t n) {
        const std::size_t room = Room();
        for (std::size_t i = 0; i < n && i < room; ++i)
            buffer_[pos_ + i] = c;
        pos_ += n;
    }
    std::size_t Length() const { return pos_; }
    bool Fits() const { return pos_ < capacity_; }

    // Terminates after what fit; a truncated text does not end in half a surrogate pair.
    void Terminate() {
        if (capacity_ == 0)
            return;
        std::size_t end = Fits() ? pos_ : capacity_ - 1;
        if (!Fits() && end > 0 && buffer_[end - 1] >= 0xD800 && buffer_[end - 1] <= 0xDBFF)
            --end;
        buffer_[end] = 0;
    }
    void Clear() {
        if (capacity_ > 0)
            buffer_[0] = 0;
    }

  private:
    std::size_t Room() const { return pos_ + 1 < capacity_ ? capacity_ - 1 - pos_ : 0; }

    WCHAR* buffer_;
    std::size_t capacity_;
    std::size_t pos_ = 0;
};

enum class SizeModifier { Default, Char, Short, Long, LongLong, Pointer, Wide };

// One parsed %-directive: flags, width, precision, size modifier and conversion letter.
struct Field {
    bool left = false;
    bool zero = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    std::size_t width = 0;
    int precision = -1;  // -1: none given
    SizeModifier size = SizeModifier::Default;
    char16_t conversion = 0;
};

// Writes `body` padded to field.width: sign or radix prefix first, then `zeros` zero digits
// (plus zero padding when the 0 flag applies), then the body.
inline void EmitNumberField(Output& out, const Field& field, std::string_view prefix,
                            std::size_t zeros, std::string_view body, bool zeroPadAllowed) {
    const std::size_t length = prefix.size() + zeros + body.size();
    std::size_t pad = field.width > length ? field.width - length : 0;
    if (zeroPadAllowed && field.zero && !field.left) {
        zeros += pad;
        pad = 0;
    }
    if (!field.left)
        out.Fill(u' ', pad);
    out.WriteAscii(prefix);
    out.Fill(u'0', zeros);
    out.WriteAscii(body);
    if (field.left)
        out.Fill(u' ', pad);
}

// %f %e %g %E %G %F; false when the digits do not fit the formatter's working buffer.
bool FormatDouble(Output& out, const Field& field, double value);

}  // namespace platform::format_detail
