#include <algorithm>

#include "document/keyword_stream.h"
#include "document/music_file.h"
#include "document/preferences.h"
#include "document/result_file_reader.h"
#include "document/rhythm.h"
#include "records/etat_page.h"
#include "records/page_entry.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"
#include "toolbox/system.h"

// Each stage runs only when the one before it went through.
bool AligneRythme(DocumentMusical& document) {
    Progression& progression = ProgressionCourante();
    progression.Etape(11);
    progression.Pourcentage(15);
    if (!RecalageAccords(document)) return false;
    progression.Etape(12);
    progression.Pourcentage(20);
    if (!RecalageDivisionsTemporelles(document)) return false;
    progression.Etape(13);
    progression.Pourcentage(25);
    return RecaleNotesSurDivTemporelles(document);
}

namespace {

ResultatExport Exporte(const std::string& cheminResultat, const std::string& cheminMusique,
                       DocumentMusical& document, bool joueAussitot) {
    if (!LitFichierResultat(cheminResultat, document)) return ResultatExport::ResultatIllisible;
    std::FILE* fichier = std::fopen(cheminMusique.c_str(), "wb");
    if (fichier == nullptr) {
        Alerte("Can't open result file '%s' for writing", cheminMusique.c_str());
        return ResultatExport::MusiqueNonCreee;
    }
    EgaliseNombreMesures(document);
    bool annule = !AligneRythme(document);
    bool ecrit = false;
    if (!annule) {
        ProgressionCourante().Etape(14);
        ProgressionCourante().Pourcentage(100);
        FichierCourantTemporaire courant(fichier);
        ecrit = EcritFichierMusical(document, joueAussitot, annule);
    }
    // A music file that did not reach the disk whole must not pass for one.
    const bool ferme = std::fclose(fichier) == 0;
    if (annule) return ResultatExport::Annule;
    if (!ecrit || !ferme) {
        Alerte("Can't write the music file '%s'", cheminMusique.c_str());
        return ResultatExport::MusiqueNonCreee;
    }
    return ResultatExport::Reussi;
}

}  // namespace

ResultatExport ExporteFichierMusical(const std::string& cheminResultat,
                                     const std::string& cheminMusique, DocumentMusical& document) {
    ProgressionCourante().Etape(10);
    ProgressionCourante().Pourcentage(0);
    const uint32_t debut = Ticks();
    LibereModele(document);
    const ResultatExport resultat =
        Exporte(cheminResultat, cheminMusique, document, Prefs.JoueAussitot != 0);
    const uint32_t secondes = (Ticks() - debut) / 60 + Document.Etat.DureeTraitement;
    Document.Etat.DureeTraitement = static_cast<uint16_t>(std::min<uint32_t>(secondes, UINT16_MAX));
    return resultat;
}
