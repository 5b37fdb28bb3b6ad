#include "document/named_settings.h"

#include <charconv>
#include <cmath>

#include "toolbox/messages.h"

namespace {

using O = OptionsReconnaissance;
using P = ParametresReglage;

// A flag, a three-way mode, and the grace-note percentage, which is any
// 16-bit number.
constexpr ChampOption Drapeau(const char* nom, uint8_t O::*membre) {
    return {nom, membre, nullptr, 0, 1};
}
constexpr ChampOption Mode(const char* nom, uint8_t O::*membre) {
    return {nom, membre, nullptr, 0, 2};
}

constexpr ChampOption kOptions[] = {
    Mode("ModeArmature", &O::ModeArmature),
    Mode("RechercherClef", &O::RechercherClef),
    Drapeau("NotationAbregee", &O::NotationAbregee),
    Drapeau("TigeObligatoire", &O::TigeObligatoire),
    Drapeau("AutoriserAppogiatures", &O::AutoriserAppogiatures),
    Drapeau("AutoriserTuplets", &O::AutoriserTuplets),
    Drapeau("AutoriserCorpsInverse", &O::AutoriserCorpsInverse),
    Drapeau("AutoriserEffets", &O::AutoriserEffets),
    Drapeau("AutoriserLiaisons", &O::AutoriserLiaisons),
    Drapeau("AutoriserRondes", &O::AutoriserRondes),
    Drapeau("AutoriserRuptures", &O::AutoriserRuptures),
    Drapeau("calculerTailleTige", &O::calculerTailleTige),
    {"PourcentGraceNote", nullptr, &O::PourcentGraceNote, INT16_MIN, INT16_MAX},
};
static_assert(std::size(kOptions) == 13);

// Upper bounds keep every product with an interline or a score far inside
// the integer ranges the stages convert to.
constexpr float kMaxPixels = 10000.0f;
constexpr float kMaxInterlignes = 100.0f;
constexpr float kMaxScore = 32000.0f;

constexpr ChampParametre kParametres[] = {
    {"RecherchePorteeNbPixelsConsectifs", &P::RecherchePorteeNbPixelsConsectifs, kMaxPixels},
    {"RecherchePorteeNbTransitions", &P::RecherchePorteeNbTransitions, kMaxPixels},
    {"RecherchePorteeValSeuil", &P::RecherchePorteeValSeuil, kMaxInterlignes},
    {"LigneVertDistanceMaxSansPoint", &P::LigneVertDistanceMaxSansPoint, kMaxInterlignes},
    {"LigneVertEpaisseurLimite", &P::LigneVertEpaisseurLimite, kMaxInterlignes},
    {"LigneVertHauteurMinimale", &P::LigneVertHauteurMinimale, kMaxInterlignes},
    {"LigneVertToleranceLigneConfonduesX", &P::LigneVertToleranceLigneConfonduesX, kMaxInterlignes},
    {"LigneVertToleranceLigneConfonduesY", &P::LigneVertToleranceLigneConfonduesY, kMaxInterlignes},
    {"LigneIncertitudePosition", &P::LigneIncertitudePosition, kMaxInterlignes},
    {"AccrocheLargeurMinimaleBarre", &P::AccrocheLargeurMinimaleBarre, kMaxInterlignes},
    {"AccrocheMargeXIntersecteLigneVert", &P::AccrocheMargeXIntersecteLigneVert, kMaxInterlignes},
    {"AccrocheMargeYIntersecteLigneVert", &P::AccrocheMargeYIntersecteLigneVert, kMaxInterlignes},
    {"AccrocheLargeurMinimaleMorceauAccroche", &P::AccrocheLargeurMinimaleMorceauAccroche,
     kMaxInterlignes},
    {"AccrocheEpaisseurMinimaleBarreSimple", &P::AccrocheEpaisseurMinimaleBarreSimple,
     kMaxInterlignes},
    {"AccrochePenteLimite", &P::AccrochePenteLimite, kMaxInterlignes},
    {"TigeToleranceX", &P::TigeToleranceX, kMaxInterlignes},
    {"TigeToleranceY", &P::TigeToleranceY, kMaxInterlignes},
    {"MesureToleranceRecherche", &P::MesureToleranceRecherche, kMaxInterlignes},
    {"SeuilReconnaissanceCroche", &P::SeuilReconnaissanceCroche, kMaxScore},
    {"SeuilReconnaissanceAlteration", &P::SeuilReconnaissanceAlteration, kMaxScore},
    {"SeuilReconnaissancePointe", &P::SeuilReconnaissancePointe, kMaxScore},
    {"SeuilReconnaissanceNote", &P::SeuilReconnaissanceNote, kMaxScore},
    {"SeuilReconnaissanceClef", &P::SeuilReconnaissanceClef, kMaxScore},
    {"SeuilReconnaissanceAlterationClef", &P::SeuilReconnaissanceAlterationClef, kMaxScore},
    {"SeuilReconnaissanceNotationAbregee", &P::SeuilReconnaissanceNotationAbregee, kMaxScore},
    {"SeuilReconnaissanceChiffre", &P::SeuilReconnaissanceChiffre, kMaxScore},
};
static_assert(std::size(kParametres) == 26);

// The whole text as a decimal whole number.
bool EntierComplet(std::string_view texte, long& valeur) {
    const char* fin = texte.data() + texte.size();
    const auto [p, erreur] = std::from_chars(texte.data(), fin, valeur);
    return erreur == std::errc() && p == fin && !texte.empty();
}

// The whole text as a finite number.
bool ReelComplet(std::string_view texte, float& valeur) {
    const char* fin = texte.data() + texte.size();
    const auto [p, erreur] = std::from_chars(texte.data(), fin, valeur);
    return erreur == std::errc() && p == fin && !texte.empty() && std::isfinite(valeur);
}

}  // namespace

std::span<const ChampOption> ChampsOptions() {
    return kOptions;
}
std::span<const ChampParametre> ChampsParametres() {
    return kParametres;
}

const ChampOption* ChercheOption(std::string_view nom) {
    for (const ChampOption& champ : kOptions)
        if (nom == champ.nom) return &champ;
    return nullptr;
}

const ChampParametre* ChercheParametre(std::string_view nom) {
    for (const ChampParametre& champ : kParametres)
        if (nom == champ.nom) return &champ;
    return nullptr;
}

int ValeurOption(const OptionsReconnaissance& options, const ChampOption& champ) {
    return champ.octet ? options.*champ.octet : options.*champ.entier;
}

void DonneOption(OptionsReconnaissance& options, const ChampOption& champ, long valeur) {
    if (champ.octet)
        options.*champ.octet = static_cast<uint8_t>(valeur);
    else
        options.*champ.entier = static_cast<int16_t>(valeur);
}

std::string ValeursPermises(const ChampOption& champ) {
    if (champ.max == 1) return "0 or 1";
    if (champ.max == 2) return "0, 1 or 2";
    return FormateTexte(TexteLangue("a whole number from %s to %s"),
                        std::to_string(champ.min).c_str(), std::to_string(champ.max).c_str());
}

std::string ValeursPermises(const ChampParametre& champ) {
    return FormateTexte(TexteLangue("a number from 0 to %s"), TexteParametre(champ.max).c_str());
}

bool DonneOptionTexte(OptionsReconnaissance& options, const ChampOption& champ,
                      std::string_view texte, std::string& erreur) {
    long valeur = 0;
    if (!EntierComplet(texte, valeur) || valeur < champ.min || valeur > champ.max) {
        erreur = std::string(champ.nom) + " must be " + ValeursPermises(champ) + ", not '" +
                 std::string(texte) + "'";
        return false;
    }
    DonneOption(options, champ, valeur);
    return true;
}

bool DonneParametreTexte(ParametresReglage& reglage, const ChampParametre& champ,
                         std::string_view texte, std::string& erreur) {
    float valeur = 0.0f;
    if (!ReelComplet(texte, valeur) || valeur < 0.0f || valeur > champ.max) {
        erreur = std::string(champ.nom) + " must be " + ValeursPermises(champ) + ", not '" +
                 std::string(texte) + "'";
        return false;
    }
    reglage.*champ.membre = valeur;
    return true;
}

bool DonneReglage(std::string_view nom, std::string_view texte, OptionsReconnaissance& options,
                  ParametresReglage& reglage, std::string& erreur) {
    if (const ChampOption* option = ChercheOption(nom))
        return DonneOptionTexte(options, *option, texte, erreur);
    if (const ChampParametre* parametre = ChercheParametre(nom))
        return DonneParametreTexte(reglage, *parametre, texte, erreur);
    erreur =
        "unknown option or tuning parameter '" + std::string(nom) + "' (`ruzo options` lists them)";
    return false;
}

bool DonneAffectation(std::string_view affectation, OptionsReconnaissance& options,
                      ParametresReglage& reglage, std::string& erreur) {
    const size_t egal = affectation.find('=');
    if (egal == std::string_view::npos) {
        erreur = FormateTexte(TexteLangue("expected NAME=VALUE, not '%s'"),
                              std::string(affectation).c_str());
        return false;
    }
    return DonneReglage(affectation.substr(0, egal), affectation.substr(egal + 1), options, reglage,
                        erreur);
}

std::string TexteParametre(float valeur) {
    // "%g" in the C locale, whatever the process locale is.
    char texte[64];
    const auto [fin, erreur] = std::to_chars(
        texte, texte + sizeof texte, static_cast<double>(valeur), std::chars_format::general, 6);
    if (erreur != std::errc()) return "0";
    return std::string(texte, fin);
}
