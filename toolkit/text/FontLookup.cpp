// fontconfig queries behind FindFontFile; every fontconfig object is released on every path.
#include "toolkit/text/FontLookup.h"

#include <fontconfig/fontconfig.h>

#include <strings.h>
#include <map>
#include <memory>
#include <mutex>

namespace hopla {
namespace {

struct PatternFree {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternFree>;

// The best match for a pattern, if `accept` likes it.
template <typename Accept>
std::string Match(FcPattern* query, Accept accept) {
    FcConfigSubstitute(nullptr, query, FcMatchPattern);
    FcDefaultSubstitute(query);
    FcResult result = FcResultNoMatch;
    Pattern found(FcFontMatch(nullptr, query, &result));
    if (!found || result != FcResultMatch || !accept(found.get())) return {};
    FcChar8* file = nullptr;
    if (FcPatternGetString(found.get(), FC_FILE, 0, &file) != FcResultMatch) return {};
    return reinterpret_cast<const char*>(file);
}

std::string ByFamily(const std::string& family) {
    Pattern query(FcPatternCreate());
    FcPatternAddString(query.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    return Match(query.get(), [&](FcPattern* found) {
        FcChar8* name = nullptr;
        for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &name) == FcResultMatch; ++i)
            if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
        return false;
    });
}

std::string Japanese() {
    Pattern query(FcPatternCreate());
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddLangSet(query.get(), FC_LANG, langs);
    FcLangSetDestroy(langs);
    return Match(query.get(), [](FcPattern* found) {
        FcCharSet* chars = nullptr;
        if (FcPatternGetCharSet(found, FC_CHARSET, 0, &chars) != FcResultMatch) return false;
        // Full-width Latin and half-width katakana are what the game prints.
        return FcCharSetHasChar(chars, 0xFF28) && FcCharSetHasChar(chars, 0xFF8A);
    });
}

std::string SansSerif() {
    Pattern query(FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif")));
    return Match(query.get(), [](FcPattern*) { return true; });
}

std::string Lookup(const std::string& face) {
    if (!FcInit()) return {};
    for (const std::string& family : {face, std::string("MS PGothic"), std::string("IPAPGothic")})
        if (std::string file = ByFamily(family); !file.empty()) return file;
    if (std::string file = Japanese(); !file.empty()) return file;
    return SansSerif();
}

}  // namespace

// The fonts installed do not change while the game runs: each face is looked up once.
std::string FindFontFile(const std::string& face) {
    static std::mutex mutex;
    static std::map<std::string, std::string> found;
    std::lock_guard lock(mutex);
    auto it = found.find(face);
    if (it == found.end()) it = found.emplace(face, Lookup(face)).first;
    return it->second;
}

}  // namespace hopla
