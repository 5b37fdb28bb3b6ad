#include "recognition/page_list_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "document/keyword_position.h"
#include "document/keyword_stream.h"
#include "document/options_file.h"
#include "recognition/command_area_file.h"
#include "toolbox/messages.h"

namespace {

// Three 16-bit colour components at most.
constexpr long kSeuilListeMax = 196605;

// The first refusal of the file being read, with the line it is on.
ContenuListe* lecture = nullptr;
int ligneNumPage = 0;  // checked once the pages are known

bool Refuse(const std::string& raison) {
    if (lecture != nullptr && lecture->Refus.empty()) {
        lecture->Refus = raison;
        lecture->LigneRefus = LigneLue();
    }
    return false;
}

bool Egal(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

// A whole number of the line, within [min, max].
bool LitDans(const char* mot, long min, long max, long& valeur) {
    valeur = LitLong();
    if (valeur >= min && valeur <= max) return true;
    return Refuse(
        FormateTexte(TexteLangue("%s %ld is not from %ld to %ld"), mot, valeur, min, max));
}

template <typename T>
bool LitChamp(const char* mot, long min, long max, T& champ) {
    long valeur = 0;
    if (!LitDans(mot, min, max, valeur)) return false;
    champ = static_cast<T>(valeur);
    return true;
}

bool LitReelDans(const char* mot, float min, float max, float& champ) {
    const float valeur = LitReel();
    if (valeur >= min && valeur <= max) {
        champ = valeur;
        return true;
    }
    return Refuse(
        FormateTexte(TexteLangue("%s %g is out of range"), mot, static_cast<double>(valeur)));
}

// "VideoInverse" is a flag: any value but 0, -1 (65535) included, inverts
// the page. A page whose inversion is left to the load says so with
// "InversionAutomatique".
bool LitVideoInverse(int16_t& champ) {
    long valeur = 0;
    if (!LitDans("VideoInverse", INT16_MIN, UINT16_MAX, valeur)) return false;
    champ = valeur != 0 ? kVideoInversee : kVideoNormale;
    return true;
}

// "Depoussiere" 2 is how earlier lists said "despeckle when the page is
// noisy"; lists now say it with "DepoussiereAutomatique".
bool LitDepoussiere(uint8_t& champ) {
    return LitChamp("Depoussiere", kDepoussiereNon, kDepoussiereAutomatique, champ);
}

// The choices left to the load, applied when the page block ends so that
// they win over the flags whatever the order of the keys.
struct ChoixAutomatiques {
    bool inversion = false;
    bool depoussiere = false;
};

bool LitChoixAutomatique(const char* mot, bool& choix) {
    uint8_t drapeau = 0;
    if (!LitChamp(mot, 0, 1, drapeau)) return false;
    choix = drapeau != 0;
    return true;
}

bool LitTexte(const char* mot, int max, std::string& champ) {
    std::string texte(static_cast<size_t>(max) + 1, '\0');
    if (!LitChaine(texte.data(), max))
        return Refuse(FormateTexte(TexteLangue("%s has no closing quote"), mot));
    champ = texte.c_str();
    return true;
}

bool LitCleDePage(EntreePage& page, ContenuListe& contenu, const char* mot) {
    if (Egal(mot, "VolRefNum")) return LitChamp(mot, INT16_MIN, INT16_MAX, page.VolRefNum);
    if (Egal(mot, "VRefNum")) return LitChamp(mot, INT32_MIN, INT32_MAX, page.VRefNum);
    if (Egal(mot, "LibPath")) return LitTexte(mot, kLongueurMaxDossier + 1, page.LibPath);
    if (Egal(mot, "NomFichier")) return LitTexte(mot, kLongueurMaxNomFichier, page.NomFichier);
    if (Egal(mot, "NumPage")) return LitChamp(mot, 0, INT16_MAX, page.NumPage);
    if (Egal(mot, "ForceEchellePdf")) return LitReelDans(mot, 0.0f, 100.0f, page.ForceEchellePdf);
    if (Egal(mot, "VideoInverse")) return LitVideoInverse(page.VideoInverse);
    if (Egal(mot, "NbRotations")) return LitChamp(mot, 0, 3, page.NbRotations);
    if (Egal(mot, "Seuillage")) return LitChamp(mot, 0, 1, page.Seuillage);
    if (Egal(mot, "Seuil")) return LitChamp(mot, 0, kSeuilListeMax, page.Seuil);
    if (Egal(mot, "MangeMarge")) return LitChamp(mot, 0, 1, page.MangeMarge);
    if (Egal(mot, "Depoussiere")) return LitDepoussiere(page.Depoussiere);
    if (Egal(mot, "NiveauDepoussiere"))
        return LitChamp(mot, 0, kNiveauDepoussiereMax, page.NiveauDepoussiere);
    if (Egal(mot, "EpaisseurAccroche"))
        return LitReelDans(mot, 0.0f, 1000.0f, contenu.Reglage.AccrocheLargeurMinimaleBarre);
    if (Egal(mot, "PenteAccroche"))
        return LitReelDans(mot, -1000.0f, 1000.0f, contenu.Reglage.AccrochePenteLimite);
    if (Egal(mot, "DebutAireCommande"))
        return LitAireCommande(page) ||
               Refuse(TexteLangue("a command area is damaged or one too many"));
    if (Egal(mot, "DebutPage") || Egal(mot, "FinListe") || Egal(mot, "FinDocument"))
        return Refuse(FormateTexte(TexteLangue("%s inside a page: its FinPage is missing"), mot));
    return Refuse(FormateTexte(TexteLangue("unknown keyword '%s' in a page"), mot));
}

bool LitPage(ContenuListe& contenu) {
    if (contenu.Pages.size() >= kNbMaxPages)
        return Refuse(
            FormateTexte(TexteLangue("more than %d pages"), static_cast<int>(kNbMaxPages)));
    contenu.Pages.push_back(NouvelleEntreePage(contenu.Pages));
    EntreePage& page = contenu.Pages.back();
    ChoixAutomatiques choix;
    const bool lue = LitBloc("FinPage", [&](const char* mot) {
        if (Egal(mot, "InversionAutomatique")) return LitChoixAutomatique(mot, choix.inversion);
        if (Egal(mot, "DepoussiereAutomatique")) return LitChoixAutomatique(mot, choix.depoussiere);
        return LitCleDePage(page, contenu, mot);
    });
    if (!lue) return Refuse(TexteLangue("the page does not end with FinPage"));
    if (choix.inversion) page.VideoInverse = kVideoAutomatique;
    if (choix.depoussiere) page.Depoussiere = kDepoussiereAutomatique;
    return true;
}

bool LitListe(ContenuListe& contenu) {
    return LitBloc("FinListe",
                   [&contenu](const char* mot) {
                       if (Egal(mot, "DebutPage")) return LitPage(contenu);
                       if (Egal(mot, "FinDocument"))
                           return Refuse(TexteLangue(
                               "FinDocument inside the page list: its FinListe is missing"));
                       return Refuse(
                           FormateTexte(TexteLangue("unknown keyword '%s' in the page list"), mot));
                   }) ||
           Refuse(TexteLangue("the page list does not end with FinListe"));
}

bool LitCleDeDocument(ContenuListe& contenu, const char* mot) {
    if (Egal(mot, "DebutListe")) return LitListe(contenu);
    if (Egal(mot, "DebutConfig"))
        return LitBlocOptions(contenu.Options) ||
               Refuse(TexteLangue("the options block is damaged"));
    if (Egal(mot, "NumPage")) {
        ligneNumPage = LigneLue();
        return LitChamp(mot, 0, kNbMaxPages - 1, contenu.NumPage);
    }
    if (Egal(mot, "TonaliteForcee")) return LitChamp(mot, 0, 14, contenu.Tonalite.Tonalite);
    if (Egal(mot, "NbNoteRefParMesure")) return LitChamp(mot, 0, 99, contenu.Tonalite.Numerateur);
    if (Egal(mot, "NbNoteRefParRonde")) return LitChamp(mot, 0, 99, contenu.Tonalite.Denominateur);
    if (Egal(mot, "NbPagesTraites")) return LitChamp(mot, 0, INT32_MAX, contenu.NbPagesTraites);
    if (Egal(mot, "DureeTraitementTotal"))
        return LitChamp(mot, 0, INT32_MAX, contenu.DureeTraitementTotal);
    if (Egal(mot, "Version") || Egal(mot, "NbPages")) {
        SauteLigne();  // the page count comes from the page blocks
        return true;
    }
    return Refuse(FormateTexte(TexteLangue("unknown keyword '%s' in the document"), mot));
}

}  // namespace

bool LitContenuListe(ContenuListe& contenu) {
    lecture = &contenu;
    bool ok = LitBloc("FinDocument",
                      [&contenu](const char* mot) { return LitCleDeDocument(contenu, mot); }) ||
              Refuse(TexteLangue("the document does not end with FinDocument"));
    if (ok && !contenu.Pages.empty() && contenu.NumPage >= static_cast<int>(contenu.Pages.size())) {
        ok = Refuse(FormateTexte(TexteLangue("NumPage %d names no page"),
                                 static_cast<int>(contenu.NumPage)));
        contenu.LigneRefus = ligneNumPage;
    }
    lecture = nullptr;
    return ok;
}
