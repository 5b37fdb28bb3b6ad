#include "desktop/key_time_model.h"

#include <algorithm>
#include <charconv>

namespace {

std::string TexteChiffre(int16_t valeur) {
    return std::to_string(valeur < 1 ? 4 : valeur);
}

bool LitChiffre(const std::string& texte, int16_t& valeur) {
    int lu = 0;
    const char* fin = texte.data() + texte.size();
    const auto [p, erreur] = std::from_chars(texte.data(), fin, lu);
    if (erreur != std::errc() || p != fin || texte.empty() || lu < 1 || lu > kMaxChiffreMesure)
        return false;
    valeur = static_cast<int16_t>(lu);
    return true;
}

}  // namespace

bool TonaliteADemander(const OptionsReconnaissance& options) {
    return options.ModeArmature == 0;
}

std::string LibelleTonalite(int16_t code) {
    if (code == 0) return "no sharps or flats";
    if (code >= 1 && code <= 7) return std::to_string(code) + (code == 1 ? " sharp" : " sharps");
    if (code >= 8 && code <= 14) {
        const int bemols = code - 7;
        return std::to_string(bemols) + (bemols == 1 ? " flat" : " flats");
    }
    return "unknown key";
}

ModeleDialogueTonalite::ModeleDialogueTonalite(const TonaliteEtMesure& valeurs)
    : numerateur_(TexteChiffre(valeurs.Numerateur)),
      denominateur_(TexteChiffre(valeurs.Denominateur)) {
    const auto it = std::find(kOrdreTonalites.begin(), kOrdreTonalites.end(), valeurs.Tonalite);
    if (it != kOrdreTonalites.end()) element_ = static_cast<int>(it - kOrdreTonalites.begin());
}

void ModeleDialogueTonalite::ChoisitElement(int element) {
    if (element >= 0 && element < static_cast<int>(kOrdreTonalites.size())) element_ = element;
}

bool ModeleDialogueTonalite::Valide(TonaliteEtMesure& valeurs, std::string& erreur) const {
    int16_t numerateur = 0;
    int16_t denominateur = 0;
    if (!LitChiffre(numerateur_, numerateur) || !LitChiffre(denominateur_, denominateur)) {
        erreur = "The time signature needs two whole numbers from 1 to " +
                 std::to_string(kMaxChiffreMesure) + ".";
        return false;
    }
    valeurs.Tonalite = kOrdreTonalites[element_];
    valeurs.Numerateur = numerateur;
    valeurs.Denominateur = denominateur;
    return true;
}
