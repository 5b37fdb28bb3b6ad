#include "recognition/page_list_file.h"

#include <strings.h>

#include "document/file_names.h"
#include "document/keyword_file.h"
#include "document/keyword_stream.h"
#include "document/options_file.h"
#include "recognition/command_area_file.h"
#include "recognition/page_loading.h"
#include "toolbox/messages.h"

namespace {

constexpr const char* kEnteteListe[] = {
    "Ruzo Document File\n",
    "Pages of one score, each an image file with its load options\n",
    "and command areas, with the recognition options of the document.\n",
    "Written by Ruzo; keywords as in every Ruzo settings file.\n",
    "Blocks open with a Debut keyword and close with the matching Fin.\n",
};

// "VideoInverse" and "Depoussiere" are flags to every reader of page lists,
// and a flag set means invert or despeckle. A choice left to the program at
// load is therefore written as the flag off, which is what it most often
// turns out to be, and told by a keyword of its own that other readers skip
// ("InversionAutomatique", "DepoussiereAutomatique"). New pages leave
// despeckling to the program: a clean page loses nothing by it and a noisy
// one is read far better.
bool EcritInversion(const EntreePage& p) {
    const bool automatique = p.VideoInverse == kVideoAutomatique;
    return EcritEntier("VideoInverse", automatique ? kVideoNormale : p.VideoInverse) &&
           EcritEntier("InversionAutomatique", int16_t{automatique});
}

bool EcritDepoussiere(const EntreePage& p) {
    const bool automatique = p.Depoussiere == kDepoussiereAutomatique;
    return EcritEntier("Depoussiere",
                       automatique ? int16_t{kDepoussiereNon} : int16_t{p.Depoussiere}) &&
           EcritEntier("DepoussiereAutomatique", int16_t{automatique});
}

bool EcritPage(const EntreePage& p) {
    return EcritDebut("DebutPage") && EcritEntier("VolRefNum", p.VolRefNum) &&
           EcritLong("VRefNum", p.VRefNum) && EcritChaine("LibPath", p.LibPath.c_str()) &&
           EcritChaine("NomFichier", p.NomFichier.c_str()) && EcritInversion(p) &&
           EcritEntier("NumPage", p.NumPage) && EcritReel("ForceEchellePdf", p.ForceEchellePdf) &&
           EcritEntier("NbRotations", p.NbRotations) && EcritEntier("Seuillage", p.Seuillage) &&
           EcritLong("Seuil", p.Seuil) && EcritEntier("MangeMarge", p.MangeMarge) &&
           EcritDepoussiere(p) && EcritEntier("NiveauDepoussiere", p.NiveauDepoussiere) &&
           EcritReel("EpaisseurAccroche", Reglage.AccrocheLargeurMinimaleBarre) &&
           EcritReel("PenteAccroche", Reglage.AccrochePenteLimite) && EcritAiresCommande(p) &&
           EcritFin("FinPage");
}

// The pages, stopping at the first that cannot be written; the closing
// keyword is written all the same.
bool EcritPages() {
    if (!EcritDebut("DebutListe")) return false;
    bool ok = true;
    for (const EntreePage& page : Document.Pages) {
        ok = EcritPage(page);
        if (!ok) break;
    }
    return EcritFin("FinListe") && ok;
}

bool EcritEntete() {
    for (const char* ligne : kEnteteListe)
        if (!EcritTexte(ligne)) return false;
    return true;
}

bool ExtensionListe(const std::string& chemin) {
    const size_t point = chemin.find_last_of("./");
    return point != std::string::npos && chemin[point] == '.' &&
           strcasecmp(chemin.c_str() + point + 1, "lfs") == 0;
}

// `chemin` is a copy: callers may pass the document's own path, which
// closing the document clears.
void RemplaceDocument(ContenuListe& contenu, std::string chemin) {
    FermeDocument();
    Document.Pages = std::move(contenu.Pages);
    Document.Chemin = chemin;
    const int n = static_cast<int>(Document.Pages.size());
    Document.NumPage = (contenu.NumPage >= 0 && contenu.NumPage < n) ? contenu.NumPage : 0;
    Document.NbPagesTraites = contenu.NbPagesTraites;
    Document.DureeTraitementTotal = contenu.DureeTraitementTotal;
    Options = contenu.Options;
    TonaliteForcee = contenu.Tonalite;
    Reglage = contenu.Reglage;
}

}  // namespace

bool EcritListePages() {
    if (!EcritEntete() || !EcritDebut("DebutDocument") || !EcritMot("Version", "1.0") ||
        !EcritEntier("NbPages", static_cast<int16_t>(Document.Pages.size())) ||
        !EcritEntier("NumPage", Document.NumPage) ||
        !EcritLong("NbPagesTraites", Document.NbPagesTraites) ||
        !EcritLong("DureeTraitementTotal", Document.DureeTraitementTotal) ||
        !EcritEntier("TonaliteForcee", TonaliteForcee.Tonalite) ||
        !EcritEntier("NbNoteRefParMesure", TonaliteForcee.Numerateur) ||
        !EcritEntier("NbNoteRefParRonde", TonaliteForcee.Denominateur) ||
        !EcritBlocOptions(Options))
        return false;
    const bool pages = EcritPages();
    return EcritFin("FinDocument") && pages;
}

std::string NomProposeListe() {
    if (!Document.Chemin.empty()) return Document.Chemin;
    if (Document.Pages.empty()) return "";
    return RemplaceExtension(Document.Pages.front().NomFichier, "lfs");
}

bool ChargeListe(const std::string& chemin, bool avertir, bool chargePage) {
    ContenuListe contenu;
    ChargeOptionsStandard(contenu.Options);
    bool debut = false, valide = false;
    const bool ouvert = LitFichierMotsCles(chemin, [&] {
        debut = LitBloc("DebutDocument");
        valide = debut && LitContenuListe(contenu);
    });
    if (!ouvert) {
        if (avertir) Alerte("File '%s', not found", chemin.c_str());
        return false;
    }
    if (!valide && !contenu.Refus.empty()) {
        Alerte("'%s' is not a valid LFS file: line %d: %s", chemin.c_str(), contenu.LigneRefus,
               contenu.Refus.c_str());
        return false;
    }
    if (!valide) {
        Alerte("'%s' is not a valid LFS file", chemin.c_str());
        return false;
    }
    RemplaceDocument(contenu, chemin);
    if (chargePage && !Document.Pages.empty()) ChargePageDocument(Document.NumPage);
    return true;
}

bool SauveListe(const std::string& chemin) {
    if (!chemin.empty())
        Document.Chemin = ExtensionListe(chemin) ? chemin : RemplaceExtension(chemin, "lfs");
    if (Document.Chemin.empty()) return false;
    if (!EcritFichierMotsCles(Document.Chemin, EcritListePages, "Can't open '%s' for writing"))
        return false;
    Document.Modifie = false;
    return true;
}
