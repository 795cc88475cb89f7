#include "platform/fs/pattern.h"

#include "platform/core/wstring.h"

namespace platform::fs {

namespace {

bool SameUnit(char16_t a, char16_t b) {
    return a == b || ToUpperChar(a) == ToUpperChar(b);
}

// Greedy matching that backtracks only to the last '*': linear in practice and never
// exponential, whatever the pattern.
bool Glob(std::u16string_view name, std::u16string_view pattern) {
    size_t n = 0, p = 0;
    size_t starP = std::u16string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || SameUnit(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

}  // namespace

bool HasWildcards(std::u16string_view text) {
    return text.find_first_of(u"*?") != std::u16string_view::npos;
}

bool MatchesPattern(std::u16string_view name, std::u16string_view pattern) {
    if (Glob(name, pattern))
        return true;
    const bool hasDot = name.find(u'.') != std::u16string_view::npos;
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == u".*" && !hasDot) {
        return Glob(name, pattern.substr(0, pattern.size() - 2));
    }
    if (!pattern.empty() && pattern.back() == u'.' && !hasDot) {
        return Glob(name, pattern.substr(0, pattern.size() - 1));
    }
    return false;
}

}  // namespace platform::fs
