// Windows, until the fonts are built into the programs: the fontconfig calls of the display
// layer answered from the TrueType faces in the "fonts" folder beside the program. Listing
// gives every face found there (family, style, weight, slant, spacing); matching takes the face
// of the family asked for (monospace: Liberation Mono, serif: Liberation Serif, anything else:
// Liberation Sans) nearest in weight.

#include "fontconfig/fontconfig.h"
#include "win32/utf8_win32.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>
#include <windows.h>

struct FcPattern {
    std::map<std::string, std::string> strings;
    std::map<std::string, int> integers;
};
struct FcObjectSet {};

namespace {

std::string lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Every face of the fonts folder, read once.
const std::vector<FcPattern>& faces()
{
    static std::vector<FcPattern> list;
    static std::once_flag once;
    std::call_once(once, [] {
        std::wstring path(32768, L'\0');
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0 || n >= path.size()) return;
        path.resize(n);
        const std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1) + L"fonts\\";
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) != 0) return;
        std::vector<std::string> files;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"*.ttf").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do files.push_back(tarnova::win32::narrow(folder + found.cFileName));
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        std::sort(files.begin(), files.end());
        for (const std::string& file : files) {
            FT_Face face = nullptr;
            if (FT_New_Face(library, file.c_str(), 0, &face) != 0) continue;
            FcPattern p;
            p.strings[FC_FAMILY] = face->family_name ? face->family_name : "";
            p.strings[FC_FILE] = file;
            p.integers[FC_INDEX] = 0;
            p.integers[FC_WEIGHT] = (face->style_flags & FT_STYLE_FLAG_BOLD) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
            p.integers[FC_SLANT] = (face->style_flags & FT_STYLE_FLAG_ITALIC) ? 100 : 0;
            p.integers[FC_WIDTH] = 100;
            p.integers[FC_SPACING] = FT_IS_FIXED_WIDTH(face) ? FC_MONO : FC_PROPORTIONAL;
            p.integers[FC_SCALABLE] = FT_IS_SCALABLE(face) ? FcTrue : FcFalse;
            FT_Done_Face(face);
            list.push_back(std::move(p));
        }
        FT_Done_FreeType(library);
    });
    return list;
}

} // namespace

FcBool FcInit() { return FcTrue; }
FcPattern* FcPatternCreate() { return new FcPattern; }
void FcPatternDestroy(FcPattern* p) { delete p; }

FcPattern* FcNameParse(const FcChar8* name)
{
    auto* p = new FcPattern;
    p->strings[FC_FAMILY] = reinterpret_cast<const char*>(name);
    return p;
}

FcBool FcPatternAddInteger(FcPattern* p, const char* object, int value)
{
    p->integers[object] = value;
    return FcTrue;
}

FcResult FcPatternGetString(const FcPattern* p, const char* object, int n, FcChar8** value)
{
    const auto it = p->strings.find(object);
    if (n != 0 || it == p->strings.end()) return FcResultNoMatch;
    *value = reinterpret_cast<FcChar8*>(const_cast<char*>(it->second.c_str()));
    return FcResultMatch;
}

FcResult FcPatternGetInteger(const FcPattern* p, const char* object, int n, int* value)
{
    const auto it = p->integers.find(object);
    if (n != 0 || it == p->integers.end()) return FcResultNoMatch;
    *value = it->second;
    return FcResultMatch;
}

FcResult FcPatternGetBool(const FcPattern* p, const char* object, int n, FcBool* value)
{
    return FcPatternGetInteger(p, object, n, value);
}

FcResult FcPatternGetDouble(const FcPattern*, const char*, int, double*) { return FcResultNoMatch; }
FcObjectSet* FcObjectSetBuild(const char*, ...) { return new FcObjectSet; }
void FcObjectSetDestroy(FcObjectSet* set) { delete set; }

FcFontSet* FcFontList(FcConfig*, FcPattern*, FcObjectSet*)
{
    const auto& list = faces();
    auto* set = new FcFontSet{static_cast<int>(list.size()), static_cast<int>(list.size()),
                              new FcPattern*[list.size() + 1]};
    for (std::size_t i = 0; i < list.size(); ++i) set->fonts[i] = new FcPattern(list[i]);
    return set;
}

void FcFontSetDestroy(FcFontSet* set)
{
    for (int i = 0; i < set->nfont; ++i) delete set->fonts[i];
    delete[] set->fonts;
    delete set;
}

FcBool FcConfigSubstitute(FcConfig*, FcPattern*, FcMatchKind) { return FcTrue; }
void FcDefaultSubstitute(FcPattern*) {}

FcPattern* FcFontMatch(FcConfig*, FcPattern* p, FcResult* result)
{
    std::string family = lower(p->strings[FC_FAMILY]);
    if (family == "monospace") family = "liberation mono";
    else if (family == "serif") family = "liberation serif";
    const int weight = p->integers.count(FC_WEIGHT) ? p->integers[FC_WEIGHT] : FC_WEIGHT_REGULAR;
    const FcPattern* best = nullptr;
    for (const std::string& wanted : {family, std::string("liberation sans")}) {
        for (const FcPattern& face : faces()) {
            if (lower(face.strings.at(FC_FAMILY)) != wanted || face.integers.at(FC_SLANT) != 0) continue;
            if (!best || std::abs(face.integers.at(FC_WEIGHT) - weight) < std::abs(best->integers.at(FC_WEIGHT) - weight))
                best = &face;
        }
        if (best) break;
    }
    if (!best) {
        if (result) *result = FcResultNoMatch;
        return nullptr;
    }
    if (result) *result = FcResultMatch;
    return new FcPattern(*best);
}
