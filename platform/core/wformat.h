// Bounded printf for UTF-16. The variadic front ends capture every argument with its kind, so the
// formatter knows how many there are and what each is: a missing argument or one of the wrong
// kind fails the call instead of reading whatever happens to be on the stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/core/error.h"
#include "platform/core/types.h"

namespace platform {

struct FormatArg {
    enum class Kind : std::uint8_t {
        None,
        Signed,
        Unsigned,
        Double,
        WideString,
        NarrowString,  // UTF-8
        Pointer,
        Char,  // a char16_t or char, printed by %c and usable as a number
    };
    static constexpr std::size_t kTerminated = static_cast<std::size_t>(-1);

    Kind kind = Kind::None;
    std::uint8_t size = 0;             // bytes of an integer argument
    std::uint64_t bits = 0;            // integers, sign-extended; Char values
    double real = 0;                   // Double
    const void* pointer = nullptr;     // strings and pointers
    std::size_t length = kTerminated;  // string length in units, or terminated
};

namespace format_detail {

template <typename T>
constexpr bool kIsWideChar = std::is_same_v<T, char16_t>;
template <typename T>
constexpr bool kIsNarrowChar = std::is_same_v<T, char>;

template <typename T>
constexpr FormatArg Integer(T value) {
    FormatArg arg;
    arg.kind = std::is_signed_v<T> ? FormatArg::Kind::Signed : FormatArg::Kind::Unsigned;
    arg.size = sizeof(T);
    arg.bits = static_cast<std::uint64_t>(
        static_cast<std::conditional_t<std::is_signed_v<T>, std::int64_t, std::uint64_t>>(value));
    return arg;
}

constexpr FormatArg String(FormatArg::Kind kind, const void* text, std::size_t length) {
    FormatArg arg;
    arg.kind = kind;
    arg.pointer = text;
    arg.length = length;
    return arg;
}

template <typename C, std::size_t N>
constexpr std::size_t BoundedLength(const C (&text)[N]) {
    std::size_t n = 0;
    while (n < N && text[n] != 0)
        ++n;
    return n;
}

}  // namespace format_detail

// Captures one argument. Character arrays are read at most to their end even when a fixed-size
// buffer lacks its terminator.
template <typename T>
FormatArg MakeFormatArg(const T& value) {
    using D = std::remove_cv_t<T>;
    using Kind = FormatArg::Kind;
    if constexpr (std::is_array_v<D>) {
        using E = std::remove_cv_t<std::remove_extent_t<D>>;
        static_assert(format_detail::kIsWideChar<E> || format_detail::kIsNarrowChar<E>,
                      "only character arrays can be formatted");
        return format_detail::String(
            format_detail::kIsWideChar<E> ? Kind::WideString : Kind::NarrowString, value,
            format_detail::BoundedLength(value));
    } else if constexpr (std::is_same_v<D, std::u16string> ||
                         std::is_same_v<D, std::u16string_view>) {
        return format_detail::String(Kind::WideString, value.data(), value.size());
    } else if constexpr (std::is_same_v<D, std::string> || std::is_same_v<D, std::string_view>) {
        return format_detail::String(Kind::NarrowString, value.data(), value.size());
    } else if constexpr (std::is_pointer_v<D>) {
        using E = std::remove_cv_t<std::remove_pointer_t<D>>;
        if constexpr (format_detail::kIsWideChar<E>) {
            return format_detail::String(Kind::WideString, value, FormatArg::kTerminated);
        } else if constexpr (format_detail::kIsNarrowChar<E>) {
            return format_detail::String(Kind::NarrowString, value, FormatArg::kTerminated);
        } else {
            return format_detail::String(Kind::Pointer, value, 0);
        }
    } else if constexpr (std::is_null_pointer_v<D>) {
        return format_detail::String(Kind::Pointer, nullptr, 0);
    } else if constexpr (format_detail::kIsWideChar<D> || format_detail::kIsNarrowChar<D>) {
        FormatArg arg;
        arg.kind = Kind::Char;
        arg.size = sizeof(D);
        arg.bits = static_cast<std::make_unsigned_t<D>>(value);
        return arg;
    } else if constexpr (std::is_same_v<D, bool>) {
        return format_detail::Integer(static_cast<int>(value));
    } else if constexpr (std::is_enum_v<D>) {
        return format_detail::Integer(static_cast<std::underlying_type_t<D>>(value));
    } else if constexpr (std::is_integral_v<D>) {
        return format_detail::Integer(value);
    } else if constexpr (std::is_floating_point_v<D>) {
        FormatArg arg;
        arg.kind = Kind::Double;
        arg.real = static_cast<double>(value);
        return arg;
    } else {
        static_assert(std::is_arithmetic_v<D>, "this type cannot be formatted");
        return {};
    }
}

// How a formatting run ended.
enum class FormatStatus {
    Ok,
    Truncated,  // the text did not fit; the buffer holds as much as fit, terminated
    BadFormat,  // unknown or malformed conversion, missing or wrong-kind argument
};

struct FormatResult {
    FormatStatus status;
    std::size_t length;  // units the whole text needs, without its terminator
};

// The engine under every front end. With a null buffer and capacity 0 it only counts. On
// BadFormat the buffer is left terminated and empty (when capacity > 0).
FormatResult FormatInto(WCHAR* buffer, std::size_t capacity, const WCHAR* format,
                        std::span<const FormatArg> args);

// Length written, or -1 when the text does not fit with its terminator or the format is bad; on
// -1 the buffer is terminated and empty (when capacity > 0). Never allocates.
int FormatW(WCHAR* buffer, std::size_t capacity, const WCHAR* format,
            std::span<const FormatArg> args);

// Unbounded; false (and `text` empty) when the format is bad.
bool FormatSpanTo(std::u16string& text, const WCHAR* format, std::span<const FormatArg> args);
// Unbounded; empty when the format is bad.
std::u16string FormatSpan(const WCHAR* format, std::span<const FormatArg> args);

HRESULT StringCchPrintfSpan(WCHAR* dest, std::size_t cchDest, const WCHAR* format,
                            std::span<const FormatArg> args);
int SnwprintfSpan(WCHAR* buffer, std::size_t count, const WCHAR* format,
                  std::span<const FormatArg> args);

template <typename... Args>
std::u16string Format(const WCHAR* format, const Args&... args) {
    const FormatArg packed[] = {MakeFormatArg(args)..., FormatArg{}};
    return FormatSpan(format, std::span(packed, sizeof...(Args)));
}

}  // namespace platform

// STRSAFE: S_OK; STRSAFE_E_INSUFFICIENT_BUFFER with the truncated text terminated;
// STRSAFE_E_INVALID_PARAMETER for a bad cch or a bad format (destination then empty).
template <typename... Args>
HRESULT StringCchPrintfW(WCHAR* dest, size_t cchDest, const WCHAR* format, const Args&... args) {
    const platform::FormatArg packed[] = {platform::MakeFormatArg(args)..., platform::FormatArg{}};
    return platform::StringCchPrintfSpan(dest, cchDest, format, std::span(packed, sizeof...(Args)));
}

// The count of units written, or -1. Unlike the C runtime's, a text that fills the buffer exactly
// also gives -1, because the buffer is always left terminated (truncated text when count > 0).
template <typename... Args>
int _snwprintf(WCHAR* buffer, size_t count, const WCHAR* format, const Args&... args) {
    const platform::FormatArg packed[] = {platform::MakeFormatArg(args)..., platform::FormatArg{}};
    return platform::SnwprintfSpan(buffer, count, format, std::span(packed, sizeof...(Args)));
}
