#include "tools/drm/drm_terms.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/rights/common/ascii.h"
#include "platform/rights/dcf/dcf.h"
#include "platform/rights/rel/iso8601.h"

namespace drmtool {
namespace {

namespace rights = platform::rights;

struct OptionShape {
    std::string_view name;
    bool takesValue;
    bool combined;  // pack-cd takes it
    bool separate;  // pack-sd takes it
};

constexpr OptionShape kOptions[] = {
    {"--permission", true, true, true}, {"--count", true, true, true},
    {"--start", true, true, true},      {"--end", true, true, true},
    {"--interval", true, true, true},   {"--ri", true, false, true},
    {"--wbxml", false, false, true},
};

const OptionShape* FindOption(std::string_view name) {
    for (const OptionShape& shape : kOptions) {
        if (shape.name == name)
            return &shape;
    }
    return nullptr;
}

bool Takes(const OptionShape& shape, PackKind kind) {
    return kind == PackKind::Combined ? shape.combined
                                      : kind == PackKind::Separate && shape.separate;
}

std::optional<rights::Permission> ParsePermission(std::string_view word) {
    constexpr std::pair<std::string_view, rights::Permission> kNames[] = {
        {"display", rights::Permission::Display},
        {"play", rights::Permission::Play},
        {"execute", rights::Permission::Execute},
        {"print", rights::Permission::Print},
    };
    for (const auto& [name, permission] : kNames) {
        if (rights::EqualsAsciiNoCase(word, name))
            return permission;
    }
    return std::nullopt;
}

// Plain decimal digits only: no sign, no blanks, nothing after.
std::optional<std::uint32_t> ParseCount(std::string_view word) {
    std::uint32_t value = 0;
    if (word.empty() || word.front() < '0' || word.front() > '9')
        return std::nullopt;
    const auto [end, problem] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (problem != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

// Applies one option to `terms`; false with `error` set when its value is refused.
bool Apply(std::string_view name, const std::string& value, PackTerms& terms, std::string& error) {
    const std::string quoted = std::string(name) + " \"" + value + "\"";
    if (name == "--permission") {
        terms.permission = ParsePermission(value);
        if (!terms.permission)
            error = quoted + ": expected display, play, execute or print";
    } else if (name == "--count") {
        terms.constraint.count = ParseCount(value);
        if (!terms.constraint.count)
            error = quoted + ": expected a whole number from 0 to 4294967295";
    } else if (name == "--start" || name == "--end") {
        auto& field = name == "--start" ? terms.constraint.start : terms.constraint.end;
        field = rights::ParseIsoDateTime(value);
        // The rights object must be writable, which needs a four-digit year.
        if (!field || !rights::FormatIsoDateTime(*field))
            error = quoted + ": expected an ISO 8601 date and time such as 2027-01-01T00:00:00Z";
    } else if (name == "--interval") {
        terms.constraint.interval = rights::ParseIsoDuration(value);
        if (!terms.constraint.interval || *terms.constraint.interval <= 0)
            error = quoted + ": expected an ISO 8601 duration longer than zero, such as P1D";
    } else if (name == "--ri") {
        terms.rightsIssuer = value;
        if (value.empty() || !rights::IsDcfHeaderValue(value))
            error = quoted + ": expected an address on one line";
    }
    return error.empty();
}

}  // namespace

std::optional<PackWords> ParsePackWords(std::span<const std::string> words, PackKind kind,
                                        std::string& error) {
    PackWords result;
    std::vector<std::string_view> seen;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--") {
            // Everything after "--" is a file name, even one that starts with "--".
            result.files.insert(result.files.end(), words.begin() + i + 1, words.end());
            break;
        }
        if (!word.starts_with("--")) {
            result.files.push_back(word);
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string_view name = std::string_view(word).substr(0, equals);
        const OptionShape* shape = FindOption(name);
        if (!shape || !Takes(*shape, kind)) {
            error = "unknown option " + std::string(name) + " for this command";
            return std::nullopt;
        }
        for (std::string_view earlier : seen) {
            if (earlier == shape->name) {
                error = std::string(name) + " given twice";
                return std::nullopt;
            }
        }
        seen.push_back(shape->name);
        if (!shape->takesValue) {
            if (equals != std::string::npos) {
                error = std::string(name) + " takes no value";
                return std::nullopt;
            }
            result.terms.wbxml = true;
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            error = std::string(name) + " needs a value";
            return std::nullopt;
        }
        if (!Apply(shape->name, value, result.terms, error))
            return std::nullopt;
    }
    const rights::Constraint& constraint = result.terms.constraint;
    if (constraint.start && constraint.end && *constraint.end <= *constraint.start) {
        error = "--end must be later than --start, or the rights are never valid";
        return std::nullopt;
    }
    return result;
}

std::string ContentTypeForName(const std::string& path) {
    constexpr std::pair<std::string_view, std::string_view> kTypes[] = {
        {".jpg", "image/jpeg"},  {".jpeg", "image/jpeg"}, {".png", "image/png"},
        {".gif", "image/gif"},   {".bmp", "image/bmp"},   {".wbmp", "image/vnd.wap.wbmp"},
        {".mp3", "audio/mpeg"},  {".mp4", "video/mp4"},   {".3gp", "video/3gpp"},
        {".wav", "audio/x-wav"}, {".amr", "audio/amr"},
    };
    const std::string extension = std::filesystem::path(path).extension().string();
    for (const auto& [suffix, type] : kTypes) {
        if (rights::EqualsAsciiNoCase(extension, suffix))
            return std::string(type);
    }
    return "application/octet-stream";
}

platform::rights::Permission DefaultPermission(const std::string& contentType) {
    return contentType.starts_with("image/") ? rights::Permission::Display
                                             : rights::Permission::Play;
}

}  // namespace drmtool
