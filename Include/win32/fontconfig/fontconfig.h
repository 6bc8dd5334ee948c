#pragma once
// Windows, until the fonts are built into the programs: the few fontconfig calls the display
// layer makes, answered from the TrueType faces in the "fonts" folder beside the program
// (the Liberation faces the build copies there). Dropped once the fonts are built in.

#include <cstdint>

using FcChar8 = unsigned char;
using FcBool = int;
constexpr FcBool FcTrue = 1;
constexpr FcBool FcFalse = 0;
enum FcResult { FcResultMatch, FcResultNoMatch, FcResultTypeMismatch, FcResultNoId, FcResultOutOfMemory };
enum FcMatchKind { FcMatchPattern, FcMatchFont, FcMatchScan };

#define FC_FAMILY "family"
#define FC_FILE "file"
#define FC_INDEX "index"
#define FC_SPACING "spacing"
#define FC_SCALABLE "scalable"
#define FC_WEIGHT "weight"
#define FC_SLANT "slant"
#define FC_WIDTH "width"
#define FC_PIXEL_SIZE "pixelsize"
#define FC_PROPORTIONAL 0
#define FC_MONO 100
#define FC_WEIGHT_REGULAR 80
#define FC_WEIGHT_BOLD 200

struct FcPattern;
struct FcObjectSet;
struct FcConfig;
struct FcFontSet {
    int nfont;
    int sfont;
    FcPattern** fonts;
};

FcBool FcInit();
FcPattern* FcPatternCreate();
void FcPatternDestroy(FcPattern* p);
FcPattern* FcNameParse(const FcChar8* name);
FcBool FcPatternAddInteger(FcPattern* p, const char* object, int value);
FcResult FcPatternGetString(const FcPattern* p, const char* object, int n, FcChar8** value);
FcResult FcPatternGetInteger(const FcPattern* p, const char* object, int n, int* value);
FcResult FcPatternGetBool(const FcPattern* p, const char* object, int n, FcBool* value);
FcResult FcPatternGetDouble(const FcPattern* p, const char* object, int n, double* value);
FcObjectSet* FcObjectSetBuild(const char* first, ...);
void FcObjectSetDestroy(FcObjectSet* set);
FcFontSet* FcFontList(FcConfig* config, FcPattern* pattern, FcObjectSet* objects);
void FcFontSetDestroy(FcFontSet* set);
FcBool FcConfigSubstitute(FcConfig* config, FcPattern* p, FcMatchKind kind);
void FcDefaultSubstitute(FcPattern* p);
FcPattern* FcFontMatch(FcConfig* config, FcPattern* p, FcResult* result);
