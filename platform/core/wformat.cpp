#include "platform/core/wformat.h"

#include <cstring>
#include <string_view>

#include "platform/core/utf8.h"
#include "platform/core/wformat_internal.h"

namespace platform {
namespace format_detail {
namespace {

using Kind = FormatArg::Kind;

// Widths and precisions beyond this are treated as malformed rather than honoured: they can only
// come from a broken format, and would make the unbounded Format allocate without limit.
constexpr std::size_t kMaxField = 1 << 20;
constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

class ArgCursor {
  public:
    explicit ArgCursor(std::span<const FormatArg> args) : args_(args) {}
    const FormatArg* Next() { return next_ < args_.size() ? &args_[next_++] : nullptr; }

  private:
    std::span<const FormatArg> args_;
    std::size_t next_ = 0;
};

bool IsInteger(const FormatArg* arg) {
    return arg &&
           (arg->kind == Kind::Signed || arg->kind == Kind::Unsigned || arg->kind == Kind::Char);
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Reads digits or a '*' argument; false when malformed or out of range.
bool ParseNumber(const char16_t*& p, ArgCursor& args, long long& value) {
    if (*p == u'*') {
        ++p;
        const FormatArg* arg = args.Next();
        if (!IsInteger(arg))
            return false;
        value = static_cast<int>(static_cast<std::uint32_t>(arg->bits));  // an int argument
        return true;
    }
    value = 0;
    while (IsDigit(*p)) {
        value = value * 10 + (*p++ - u'0');
        if (value > static_cast<long long>(kMaxField))
            return false;
    }
    return true;
}

void ParseFlags(const char16_t*& p, Field& field) {
    for (;; ++p) {
        switch (*p) {
            case u'-':
                field.left = true;
                break;
            case u'0':
                field.zero = true;
                break;
            case u'+':
                field.plus = true;
                break;
            case u' ':
                field.space = true;
                break;
            case u'#':
                field.alternate = true;
                break;
            default:
                return;
        }
    }
}

bool ParseWidthAndPrecision(const char16_t*& p, Field& field, ArgCursor& args) {
    long long value;
    if (!ParseNumber(p, args, value))
        return false;
    if (value < 0) {  // a negative '*' width means left-justify
        field.left = true;
        value = -value;
    }
    if (value > static_cast<long long>(kMaxField))
        return false;
    field.width = static_cast<std::size_t>(value);
    if (*p != u'.')
        return true;
    ++p;
    if (!ParseNumber(p, args, value))
        return false;
    if (value > static_cast<long long>(kMaxField))
        return false;
    field.precision = value < 0 ? -1 : static_cast<int>(value);  // negative '*': none given
    return true;
}

bool TakeToken(const char16_t*& p, std::u16string_view token) {
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (p[i] != token[i])
            return false;  // a mismatch at the terminator stops the reading
    }
    p += token.size();
    return true;
}

void ParseSize(const char16_t*& p, Field& field) {
    static constexpr struct {
        std::u16string_view token;
        SizeModifier size;
    } kSizes[] = {
        {u"I64", SizeModifier::LongLong}, {u"I32", SizeModifier::Long},
        {u"ll", SizeModifier::LongLong},  {u"hh", SizeModifier::Char},
        {u"I", SizeModifier::Pointer},    {u"z", SizeModifier::Pointer},
        {u"t", SizeModifier::Pointer},    {u"j", SizeModifier::LongLong},
        {u"l", SizeModifier::Long},       {u"L", SizeModifier::Long},
        {u"h", SizeModifier::Short},      {u"w", SizeModifier::Wide},
    };
    for (const auto& entry : kSizes) {
        if (TakeToken(p, entry.token)) {
            field.size = entry.size;
            return;
        }
    }
}

// Parses flags, width, precision, size and conversion after a '%'.
bool ParseField(const char16_t*& p, Field& field, ArgCursor& args) {
    ParseFlags(p, field);
    if (!ParseWidthAndPrecision(p, field, args))
        return false;
    ParseSize(p, field);
    field.conversion = *p;
    if (field.conversion == 0)
        return false;
    ++p;
    return true;
}

// The argument's bits at the width the conversion reads them: h and hh narrow, ll and I64 widen,
// otherwise the argument's own width (at least an int), so pointer-sized values keep all bits.
unsigned IntegerBits(const Field& field, const FormatArg& arg) {
    switch (field.size) {
        case SizeModifier::Char:
            return 8;
        case SizeModifier::Short:
            return 16;
        case SizeModifier::LongLong:
            return 64;
        case SizeModifier::Pointer:
            return sizeof(void*) * 8;
        default:
            return arg.size > 4 ? arg.size * 8u : 32u;
    }
}

// The argument as an integer. Handles (pointers) count too, because "0x%08x" of a handle is the
// usual way to log one; strings and doubles do not.
bool IntegerArgument(const FormatArg* given, FormatArg& integer) {
    if (given && given->kind == Kind::Pointer) {
        integer.kind = Kind::Unsigned;
        integer.size = sizeof(void*);
        integer.bits = reinterpret_cast<std::uintptr_t>(given->pointer);
        return true;
    }
    if (!IsInteger(given))
        return false;
    integer = *given;
    return true;
}

bool FormatInteger(Output& out, const Field& field, const FormatArg* given) {
    FormatArg arg;
    if (!IntegerArgument(given, arg))
        return false;
    const unsigned bits = IntegerBits(field, arg);
    std::uint64_t value = bits < 64 ? arg.bits & ((std::uint64_t{1} << bits) - 1) : arg.bits;
    const char16_t conv = field.conversion;
    const char* prefix = "";
    if (conv == u'd' || conv == u'i') {
        const bool negative = (value >> (bits - 1)) & 1;
        if (negative)
            value = (bits < 64 ? (std::uint64_t{1} << bits) : 0) - value;
        prefix = negative ? "-" : field.plus ? "+" : field.space ? " " : "";
    }
    const unsigned base = conv == u'o' ? 8 : (conv == u'x' || conv == u'X') ? 16 : 10;
    const char* digitSet = conv == u'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    char digits[24];
    char* start = digits + sizeof digits;
    for (std::uint64_t v = value; v != 0; v /= base)
        *--start = digitSet[v % base];
    std::size_t count = digits + sizeof digits - start;
    std::size_t zeros = 0;
    if (field.precision >= 0 && static_cast<std::size_t>(field.precision) > count) {
        zeros = field.precision - count;
    } else if (field.precision < 0 && count == 0) {
        zeros = 1;  // zero prints as "0" unless an explicit precision of 0 hides it
    }
    if (field.alternate && value != 0 && base == 16)
        prefix = conv == u'X' ? "0X" : "0x";
    if (field.alternate && base == 8 && zeros == 0)
        zeros = 1;
    EmitNumberField(out, field, prefix, zeros, std::string_view(start, count), field.precision < 0);
    return true;
}

bool FormatChar(Output& out, const Field& field, const FormatArg* arg) {
    if (!IsInteger(arg))
        return false;
    const auto c = static_cast<char16_t>(field.size == SizeModifier::Short ? arg->bits & 0xFF
                                                                           : arg->bits & 0xFFFF);
    const std::size_t pad = field.width > 1 ? field.width - 1 : 0;
    if (!field.left)
        out.Fill(u' ', pad);
    out.Put(c);
    if (field.left)
        out.Fill(u' ', pad);
    return true;
}

bool FormatPointer(Output& out, const Field& field, const FormatArg* arg) {
    if (!arg || (arg->kind != Kind::Pointer && arg->kind != Kind::WideString &&
                 arg->kind != Kind::NarrowString)) {
        return false;
    }
    char digits[sizeof(void*) * 2];
    auto value = reinterpret_cast<std::uintptr_t>(arg->pointer);
    for (std::size_t i = sizeof digits; i-- > 0; value >>= 4)
        digits[i] = "0123456789ABCDEF"[value & 15];
    EmitNumberField(out, field, "", 0, std::string_view(digits, sizeof digits), false);
    return true;
}

// A wide string's units up to the precision, never reading past a known length.
std::u16string_view WideText(const FormatArg& arg, int precision) {
    const auto* text = static_cast<const char16_t*>(arg.pointer);
    const std::size_t limit = precision < 0 ? kNoLimit : precision;
    std::size_t n = 0;
    const std::size_t known = arg.length;
    while (n < limit && n < known && text[n] != 0)
        ++n;
    // A precision that cuts a surrogate pair in half drops the orphaned high half.
    if (n == limit && n > 0 && n < known && utf::IsHighSurrogate(text[n - 1]))
        --n;
    return {text, n};
}

// A narrow (UTF-8) string's bytes up to its terminator: at most three per UTF-16 unit the
// precision allows, and never past a known length.
std::string_view NarrowBytes(const FormatArg& arg, int precision) {
    const auto* text = static_cast<const char*>(arg.pointer);
    std::size_t limit = arg.length;
    if (precision >= 0 && static_cast<std::size_t>(precision) * 3 < limit)
        limit = precision * 3;
    return {text, strnlen(text, limit)};
}

// Decodes UTF-8 to UTF-16 units, up to `limit` units; with a null output it only counts.
std::size_t EmitUtf8(Output* out, std::string_view bytes, std::size_t limit) {
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        char16_t pair[2];
        const int n = utf::EncodeUtf16(utf::DecodeUtf8(bytes, pos), pair);
        if (units + n > limit)
            break;
        if (out)
            out->Write(pair, n);
        units += n;
    }
    return units;
}

bool FormatString(Output& out, const Field& field, const FormatArg* arg) {
    if (!arg)
        return false;
    const bool narrowWanted = field.size == SizeModifier::Short ||
                              (field.conversion == u'S' && field.size != SizeModifier::Long &&
                               field.size != SizeModifier::Wide);
    const Kind wanted = narrowWanted ? Kind::NarrowString : Kind::WideString;
    const bool isNull = (arg->kind == wanted || arg->kind == Kind::Pointer) && !arg->pointer;
    if (arg->kind != wanted && !isNull)
        return false;

    std::size_t length;
    std::string_view narrow;
    std::u16string_view wide = u"(null)";
    if (isNull) {
        if (field.precision >= 0 && wide.size() > static_cast<std::size_t>(field.precision)) {
            wide = wide.substr(0, field.precision);
        }
        length = wide.size();
    } else if (wanted == Kind::WideString) {
        wide = WideText(*arg, field.precision);
        length = wide.size();
    } else {
        narrow = NarrowBytes(*arg, field.precision);
        length = EmitUtf8(nullptr, narrow, field.precision < 0 ? kNoLimit : field.precision);
    }
    const std::size_t pad = field.width > length ? field.width - length : 0;
    if (!field.left)
        out.Fill(u' ', pad);
    if (wanted == Kind::NarrowString && !isNull) {
        EmitUtf8(&out, narrow, length);
    } else {
        out.Write(wide.data(), wide.size());
    }
    if (field.left)
        out.Fill(u' ', pad);
    return true;
}

bool Convert(Output& out, const Field& field, ArgCursor& args) {
    switch (field.conversion) {
        case u'd':
        case u'i':
        case u'u':
        case u'x':
        case u'X':
        case u'o':
            return FormatInteger(out, field, args.Next());
        case u'c':
            return FormatChar(out, field, args.Next());
        case u's':
        case u'S':
            return FormatString(out, field, args.Next());
        case u'p':
            return FormatPointer(out, field, args.Next());
        case u'f':
        case u'F':
        case u'e':
        case u'E':
        case u'g':
        case u'G': {
            const FormatArg* arg = args.Next();
            return arg && arg->kind == Kind::Double && FormatDouble(out, field, arg->real);
        }
        default:
            return false;  // unknown, and %n, which would write through an argument
    }
}

}  // namespace
}  // namespace format_detail

FormatResult FormatInto(WCHAR* buffer, std::size_t capacity, const WCHAR* format,
                        std::span<const FormatArg> args) {
    using namespace format_detail;
    Output out(buffer, capacity);
    ArgCursor cursor(args);
    const auto bad = [&] {
        out.Clear();
        return FormatResult{FormatStatus::BadFormat, 0};
    };
    if (!format)
        return bad();
    for (const char16_t* p = format; *p;) {
        const char16_t* run = p;
        while (*p && *p != u'%')
            ++p;
        out.Write(run, p - run);
        if (!*p)
            break;
        if (*++p == u'%') {
            out.Put(u'%');
            ++p;
            continue;
        }
        Field field;
        if (!ParseField(p, field, cursor) || !Convert(out, field, cursor))
            return bad();
    }
    out.Terminate();
    return {out.Fits() ? FormatStatus::Ok : FormatStatus::Truncated, out.Length()};
}

int FormatW(WCHAR* buffer, std::size_t capacity, const WCHAR* format,
            std::span<const FormatArg> args) {
    const FormatResult result = FormatInto(buffer, capacity, format, args);
    if (result.status == FormatStatus::Ok && result.length <= STRSAFE_MAX_CCH) {
        return static_cast<int>(result.length);
    }
    if (capacity > 0)
        buffer[0] = 0;
    return -1;
}

bool FormatSpanTo(std::u16string& text, const WCHAR* format, std::span<const FormatArg> args) {
    text.clear();
    const FormatResult measured = FormatInto(nullptr, 0, format, args);
    if (measured.status == FormatStatus::BadFormat)
        return false;
    text.resize(measured.length);
    FormatInto(text.data(), text.size() + 1, format, args);  // the string owns room for the nul
    return true;
}

std::u16string FormatSpan(const WCHAR* format, std::span<const FormatArg> args) {
    std::u16string text;
    FormatSpanTo(text, format, args);
    return text;
}

HRESULT StringCchPrintfSpan(WCHAR* dest, std::size_t cchDest, const WCHAR* format,
                            std::span<const FormatArg> args) {
    if (!dest || cchDest == 0 || cchDest > STRSAFE_MAX_CCH) {
        if (dest && cchDest != 0)
            dest[0] = 0;
        return STRSAFE_E_INVALID_PARAMETER;
    }
    switch (FormatInto(dest, cchDest, format, args).status) {
        case FormatStatus::Ok:
            return S_OK;
        case FormatStatus::Truncated:
            return STRSAFE_E_INSUFFICIENT_BUFFER;
        default:
            return STRSAFE_E_INVALID_PARAMETER;
    }
}

int SnwprintfSpan(WCHAR* buffer, std::size_t count, const WCHAR* format,
                  std::span<const FormatArg> args) {
    if (!buffer && count != 0)
        return -1;
    const FormatResult result = FormatInto(buffer, count, format, args);
    if (result.status != FormatStatus::Ok || result.length > STRSAFE_MAX_CCH)
        return -1;
    return static_cast<int>(result.length);
}

}  // namespace platform
