#include "recognition/page_list_reader.h"

#include <algorithm>
#include <cstring>

#include "document/keyword_stream.h"
#include "document/options_file.h"
#include "recognition/command_area_file.h"

namespace {

bool Egal(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

// "VideoInverse": a page whose inversion is decided at load keeps that
// choice across a save and a reload; any other non-zero value inverts.
int16_t LitVideoInverse() {
    const int16_t valeur = LitEntier();
    if (valeur == kVideoAutomatique || valeur == kVideoNormale) return valeur;
    return kVideoInversee;
}

bool LitCleDePage(EntreePage& page, ContenuListe& contenu, const char* mot) {
    char texte[kLongueurMaxDossier + 2];
    if (Egal(mot, "VolRefNum")) {
        page.VolRefNum = LitEntier();
    } else if (Egal(mot, "VRefNum")) {
        page.VRefNum = LitLong();
    } else if (Egal(mot, "LibPath")) {
        LitChaine(texte, kLongueurMaxDossier + 1);
        page.LibPath = texte;
    } else if (Egal(mot, "NomFichier")) {
        LitChaine(texte, kLongueurMaxNomFichier);
        page.NomFichier = texte;
    } else if (Egal(mot, "NumPage")) {
        page.NumPage = LitEntier();
    } else if (Egal(mot, "ForceEchellePdf")) {
        page.ForceEchellePdf = LitReel();
    } else if (Egal(mot, "VideoInverse")) {
        page.VideoInverse = LitVideoInverse();
    } else if (Egal(mot, "NbRotations")) {
        page.NbRotations = LitEntier();
    } else if (Egal(mot, "Seuillage")) {
        page.Seuillage = LitBooleen();
    } else if (Egal(mot, "Seuil")) {
        page.Seuil = LitLong();
    } else if (Egal(mot, "MangeMarge")) {
        page.MangeMarge = LitBooleen();
    } else if (Egal(mot, "Depoussiere")) {
        page.Depoussiere = static_cast<uint8_t>(LitEntier());
    } else if (Egal(mot, "NiveauDepoussiere")) {
        page.NiveauDepoussiere = std::clamp<int16_t>(LitEntier(), 0, kNiveauDepoussiereMax);
    } else if (Egal(mot, "EpaisseurAccroche")) {
        contenu.Reglage.AccrocheLargeurMinimaleBarre = LitReel();
    } else if (Egal(mot, "PenteAccroche")) {
        contenu.Reglage.AccrochePenteLimite = LitReel();
    } else if (Egal(mot, "DebutAireCommande")) {
        return LitAireCommande(page);
    } else {
        SauteLigne();
    }
    return true;
}

bool LitPage(ContenuListe& contenu) {
    if (contenu.Pages.size() >= kNbMaxPages) return false;
    contenu.Pages.push_back(NouvelleEntreePage(contenu.Pages));
    return LitBloc("FinPage", [&contenu](const char* mot) {
        return LitCleDePage(contenu.Pages.back(), contenu, mot);
    });
}

bool LitListe(ContenuListe& contenu) {
    return LitBloc("FinListe", [&contenu](const char* mot) {
        if (Egal(mot, "DebutPage")) return LitPage(contenu);
        SauteLigne();
        return true;
    });
}

bool LitCleDeDocument(ContenuListe& contenu, const char* mot) {
    if (Egal(mot, "DebutListe")) return LitListe(contenu);
    if (Egal(mot, "DebutConfig")) return LitBlocOptions(contenu.Options);
    if (Egal(mot, "NumPage")) {
        contenu.NumPage = LitEntier();
    } else if (Egal(mot, "TonaliteForcee")) {
        contenu.Tonalite.Tonalite = LitEntier();
    } else if (Egal(mot, "NbNoteRefParMesure")) {
        contenu.Tonalite.Numerateur = LitEntier();
    } else if (Egal(mot, "NbNoteRefParRonde")) {
        contenu.Tonalite.Denominateur = LitEntier();
    } else if (Egal(mot, "NbPagesTraites")) {
        contenu.NbPagesTraites = LitLong();
    } else if (Egal(mot, "DureeTraitementTotal")) {
        contenu.DureeTraitementTotal = LitLong();
    } else {
        SauteLigne();
    }
    return true;
}

}  // namespace

bool LitContenuListe(ContenuListe& contenu) {
    return LitBloc("FinDocument",
                   [&contenu](const char* mot) { return LitCleDeDocument(contenu, mot); });
}
