#include "platform/gdi/text/font_match.h"

#include <map>
#include <mutex>
#include <tuple>
#include <utility>

#include "platform/core/no_destructor.h"
#include "platform/core/wstring.h"
#include "platform/gdi/font.h"
#include "platform/gdi/text/freetype_handles.h"

namespace platform::text {
namespace {

constexpr const char* kSansFamily = "DejaVu Sans";
// Fallback answers are kept per code point; the map is dropped when it grows past this.
constexpr std::size_t kMaxFallbackAnswers = 4096;

bool IsHandheldSans(std::u16string_view name) {
    return name.empty() || EqualsNoCase(name, u"Tahoma");
}

auto KeyOf(const FaceRequest& r) {
    return std::make_tuple(r.faceName, r.weight, r.italic);
}
using RequestKey = decltype(KeyOf(FaceRequest{}));

FcPatternPtr MakePattern(FcConfig* config, const FaceRequest& request) {
    FcPatternPtr pattern(FcPatternCreate());
    if (!pattern)
        return nullptr;
    if (IsHandheldSans(request.faceName)) {
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(kSansFamily));
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>("sans-serif"));
    } else {
        const std::string family = ToUtf8(request.faceName);
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(family.c_str()));
    }
    const int weight = request.weight <= 0 ? 400 : std::min<LONG>(request.weight, 1000);
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    return pattern;
}

std::optional<FaceSource> SourceOf(const FcPattern* font, const FaceRequest& request) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file)
        return std::nullopt;
    FaceSource source;
    source.path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch)
        source.index = index;
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    // A matched pattern may already say so (fontconfig's synthetic-bold rule rewrites its
    // weight); the sorted fallback list holds the fonts' own weights.
    FcBool embolden = FcFalse;
    FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden);
    source.embolden = embolden || (request.weight >= FW_SEMIBOLD && weight < FC_WEIGHT_DEMIBOLD);
    source.oblique = request.italic && slant == FC_SLANT_ROMAN;
    return source;
}

class Matcher {
  public:
    Matcher() : config_(FcInitLoadConfigAndFonts()) {}

    std::optional<FaceSource> Match(const FaceRequest& request) {
        std::lock_guard lock(mutex_);
        const RequestKey key = KeyOf(request);
        if (auto it = matches_.find(key); it != matches_.end())
            return it->second;
        std::optional<FaceSource> source;
        if (FcPatternPtr pattern = config_ ? MakePattern(config_, request) : nullptr) {
            FcResult result = FcResultNoMatch;
            FcPatternPtr font(FcFontMatch(config_, pattern.get(), &result));
            if (font)
                source = SourceOf(font.get(), request);
        }
        matches_.emplace(key, source);
        return source;
    }

    std::optional<FaceSource> Fallback(const FaceRequest& request, char32_t codePoint) {
        std::lock_guard lock(mutex_);
        if (fallbackAnswers_.size() > kMaxFallbackAnswers)
            fallbackAnswers_.clear();
        const auto answerKey = std::make_pair(KeyOf(request), codePoint);
        if (auto it = fallbackAnswers_.find(answerKey); it != fallbackAnswers_.end())
            return it->second;
        std::optional<FaceSource> source;
        if (const FcFontSet* set = SortedSet(request)) {
            for (int i = 0; i < set->nfont && !source; ++i) {
                FcCharSet* chars = nullptr;
                if (FcPatternGetCharSet(set->fonts[i], FC_CHARSET, 0, &chars) == FcResultMatch &&
                    FcCharSetHasChar(chars, codePoint)) {
                    source = SourceOf(set->fonts[i], request);
                }
            }
        }
        fallbackAnswers_.emplace(answerKey, source);
        return source;
    }

  private:
    // fontconfig's fallback order for the request, trimmed to the fonts that add coverage.
    const FcFontSet* SortedSet(const FaceRequest& request) {
        const RequestKey key = KeyOf(request);
        if (auto it = sorted_.find(key); it != sorted_.end())
            return it->second.get();
        FcFontSetPtr set;
        if (FcPatternPtr pattern = config_ ? MakePattern(config_, request) : nullptr) {
            FcResult result = FcResultNoMatch;
            set.reset(FcFontSort(config_, pattern.get(), FcTrue, nullptr, &result));
        }
        return sorted_.emplace(key, std::move(set)).first->second.get();
    }

    std::mutex mutex_;
    FcConfig* config_;
    std::map<RequestKey, std::optional<FaceSource>> matches_;
    std::map<RequestKey, FcFontSetPtr> sorted_;
    std::map<std::pair<RequestKey, char32_t>, std::optional<FaceSource>> fallbackAnswers_;
};

Matcher& TheMatcher() {
    static NoDestructor<Matcher> matcher;
    return *matcher;
}

}  // namespace

std::optional<FaceSource> MatchFace(const FaceRequest& request) {
    return TheMatcher().Match(request);
}

std::optional<FaceSource> MatchFallback(const FaceRequest& request, char32_t codePoint) {
    return TheMatcher().Fallback(request, codePoint);
}

}  // namespace platform::text

// fontconfig 2.14 leaks a few hundred bytes once while parsing its configuration files; the leak
// checker of sanitizer builds is told so, or every program that draws text would fail it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
