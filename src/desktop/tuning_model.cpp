#include "desktop/tuning_model.h"

#include <algorithm>

#include "document/named_settings.h"
#include "toolbox/messages.h"

namespace {

const ChampParametre& Champ(int champ) {
    return ChampsParametres()[champ];
}

}  // namespace

std::string TexteChampReglage(float valeur, int langue) {
    std::string texte = TexteParametre(valeur);
    if (langue != 1) std::replace(texte.begin(), texte.end(), '.', ',');
    return texte;
}

bool LitChampReglage(int champ, const std::string& texte, float& valeur) {
    std::string point = texte;
    std::replace(point.begin(), point.end(), ',', '.');
    ParametresReglage lu;
    std::string erreur;
    if (!DonneParametreTexte(lu, Champ(champ), point, erreur)) return false;
    valeur = lu.*Champ(champ).membre;
    return true;
}

const char* ModeleDialogueReglage::Libelle(int champ) const {
    return Champ(champ).nom;
}

void ModeleDialogueReglage::Rafraichit() {
    for (int i = 0; i < kNbChampsReglage; ++i)
        textes_[i] = TexteChampReglage(Reglage.*Champ(i).membre, LangueCourante());
}

void ModeleDialogueReglage::RegleParDefaut() {
    RegleParametresParDefaut();
    Rafraichit();
}

bool ModeleDialogueReglage::Applique() {
    bool tous = true;
    for (int i = 0; i < kNbChampsReglage; ++i) {
        float valeur = 0.0f;
        if (LitChampReglage(i, textes_[i], valeur))
            Reglage.*Champ(i).membre = valeur;
        else
            tous = false;
    }
    Rafraichit();
    return tous;
}
