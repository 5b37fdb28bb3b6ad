#include "toolbox/music_font.h"

#include <fontconfig/fontconfig.h>
#include <glob.h>

#include "toolbox/messages.h"

namespace {

constexpr const char* kDossiersLilypond = "/usr/share/lilypond/*/fonts/otf";

std::string nomFont = kNomFontMusique;
bool fontCherchee = false;
std::string cheminFont;

void AjouteDossiersLilypond(FcConfig* config) {
    glob_t trouves{};
    if (glob(kDossiersLilypond, GLOB_ONLYDIR, nullptr, &trouves) == 0) {
        for (size_t i = 0; i < trouves.gl_pathc; ++i)
            FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(trouves.gl_pathv[i]));
    }
    globfree(&trouves);
}

std::string FichierDeFamille(FcConfig* config, const std::string& nom) {
    FcPattern* motif = FcPatternCreate();
    FcPatternAddString(motif, FC_FAMILY, reinterpret_cast<const FcChar8*>(nom.c_str()));
    FcConfigSubstitute(config, motif, FcMatchPattern);
    FcDefaultSubstitute(motif);
    FcResult resultat = FcResultNoMatch;
    FcPattern* trouve = FcFontMatch(config, motif, &resultat);
    std::string fichier;
    FcChar8* famille = nullptr;
    FcChar8* chemin = nullptr;
    if (trouve && FcPatternGetString(trouve, FC_FAMILY, 0, &famille) == FcResultMatch &&
        FcStrCmpIgnoreCase(famille, reinterpret_cast<const FcChar8*>(nom.c_str())) == 0 &&
        FcPatternGetString(trouve, FC_FILE, 0, &chemin) == FcResultMatch)
        fichier = reinterpret_cast<const char*>(chemin);
    if (trouve) FcPatternDestroy(trouve);
    FcPatternDestroy(motif);
    return fichier;
}

}  // namespace

std::string ChercheFontMusique(const std::string& nom) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return "";
    AjouteDossiersLilypond(config);
    std::string fichier = FichierDeFamille(config, nom);
    FcConfigDestroy(config);
    return fichier;
}

const std::string& CheminFontMusique() {
    if (!fontCherchee) {
        fontCherchee = true;
        cheminFont = ChercheFontMusique(nomFont);
        if (cheminFont.empty()) Alerte("%s", MessageNumero(50).c_str());
    }
    return cheminFont;
}

void ChoisitFontMusique(const std::string& nom) {
    nomFont = nom;
    fontCherchee = false;
    cheminFont.clear();
}
