#include "recognition/page_driver.h"

#include "records/options.h"
#include "image/temporary_files.h"
#include "image/command_areas.h"
#include "recognition/document.h"
#include "records/etat_page.h"
#include "staff/beams.h"
#include "staff/page_state.h"
#include "structure/key_signature.h"
#include "staff/line_removal.h"
#include "staff/staff_detection.h"
#include "structure/systems_measures.h"
#include "staff/vertical_lines.h"
#include "symbols/accidentals_dots.h"
#include "symbols/candidates.h"
#include "structure/note_stage.h"
#include "symbols/notes.h"
#include "symbols/ties.h"
#include "symbols/tuplets_ornaments.h"
#include "toolbox/messages.h"
#include "toolbox/page_view.h"
#include "toolbox/progress.h"
#include "toolbox/system.h"

EtapesReconnaissance EtapesParDefaut() {
    return EtapesReconnaissance{
        RecherchePortees,   EffaceLignesPortee,
        RechercheLiaisons,  RechercheLignesVert,
        LibereLignesVert,   RechercheAccroches,
        ExtractionCaracteresProbables, TailleCaracteresPortee,
        TraiteArmatureDebutPortee,     TraiteNotes,
        TraiteTuplets,      TraitePointes,
        TraiteEffets,       ViderTableCaracteres,
        DoAnalyseSystemes,  AnalyseMesures,
    };
}

EtapesReconnaissance Etapes = EtapesParDefaut();

namespace {

constexpr int64_t kMargeMemoire = 1048576;

// Brings the page bitmap back from the working copy when it is not in memory.
void RechargePage(std::FILE* copieTravail) {
    if (!Document.ImagePage) Document.ImagePage = GetOffscreenFromFile(copieTravail);
}

// Command areas: the page as loaded is parked first, so that the areas never
// reach the page the user sees. Returns the parked copy, or none.
std::FILE* AppliqueAiresCommande() {
    const EntreePage* page = PageCourante();
    if (!AiresActives(page, Document.ImagePage)) return nullptr;
    std::FILE* copieSansAires = PushOffscreen(Document.ImagePage);
    AppliqueAires(*page, Document.ImagePage);
    return copieSansAires;
}

// Puts the page as loaded back in place of the page with its areas applied.
void RestaurePageSansAires(std::FILE*& copieSansAires) {
    if (!copieSansAires) return;
    if (Document.ImagePage) DisposeOffscreen(Document.ImagePage);
    Document.ImagePage = GetOffscreenFromFile(copieSansAires);
    VuePageCourante().AffichePage();
    EffaceFichierTemporaire(copieSansAires);
}

// Pushes the working copy from which every staff band is cut.
std::FILE* PousseCopieTravail() {
    if (!Document.ImagePage) return nullptr;
    bool complet = false;
    std::FILE* copie = PushOffscreen(Document.ImagePage, &complet);
    if (copie && !complet) EffaceFichierTemporaire(copie);
    return copie;
}

void PrepareEtatPage(const std::string& nomPage) {
    LibereEtatPage();
    if (Document.ImagePage) Etat.CadrePage = Document.ImagePage->Bornes();
    Etat.NomPage = nomPage.substr(0, 255);
}

// The staves, then systems and measures, with their progress figures.
bool ReconnaitPortees(std::FILE* copieTravail) {
    Progression& progression = ProgressionCourante();
    const int64_t taillePage = int64_t{Etat.CadrePage.Hauteur()} * Etat.CadrePage.Largeur();
    if (MemoireLibre() >= taillePage + kMargeMemoire) RechargePage(copieTravail);
    VuePageCourante().AffichePage();
    progression.Etape(3);

    bool resultat = true;
    const int n = Etat.NbPorteesTrouvees();
    for (int i = 0; i < n && resultat; ++i) {
        progression.Pourcentage(15 + (60 * i) / n);
        resultat = ReconnaitPortee(i, copieTravail);
    }
    if (!resultat) return false;

    progression.Pourcentage(80);
    progression.Etape(4);
    RechargePage(copieTravail);
    if (Etapes.DoAnalyseSystemes()) {
        progression.Pourcentage(90);
        resultat = Etapes.AnalyseMesures();
        progression.Pourcentage(100);
    }
    return resultat;
}

void TermineAffichage() {
    VuePage& vue = VuePageCourante();
    vue.EffaceSelection();
    vue.RestaurePort();
    vue.CurseurFleche();
}

}  // namespace

bool ReconnaitPage(const std::string& nomPage) {
    const uint32_t debut = Ticks();
    if (TestAnnulation()) return false;
    Progression& progression = ProgressionCourante();
    progression.Etape(1);
    progression.Ouvre(0, "");
    progression.Pourcentage(0);

    PrepareEtatPage(nomPage);
    std::FILE* copieSansAires = AppliqueAiresCommande();
    std::FILE* copieTravail = PousseCopieTravail();
    bool resultat = copieTravail != nullptr;

    if (resultat) {
        progression.Pourcentage(5);
        progression.Etape(2);
        if (!Etapes.RecherchePortees(Document.ImagePage)) {
            RechargePage(copieTravail);
            VuePageCourante().AffichePage();
            resultat = false;
        } else {
            resultat = ReconnaitPortees(copieTravail);
        }
        RechargePage(copieTravail);
        VuePageCourante().AffichePage();
        EffaceFichierTemporaire(copieTravail);
    }
    RestaurePageSansAires(copieSansAires);

    if (resultat) {
        if (VuePageCourante().SuitReconnaissance())
            VuePageCourante().DefileVersPortee(Etat.PorteeCourante);
        const uint32_t ticks = Ticks() - debut;
        Etat.DureeTraitement = static_cast<uint16_t>(ticks / 60);
        progression.AjouteTempsPage(ticks);
        Trace("Page : %d secondes", Etat.DureeTraitement);
    }
    TermineAffichage();
    return resultat;
}

bool ReconnaitPortee(int i, std::FILE* copieTravail) {
    Etat.PorteeCourante = static_cast<int16_t>(i);
    Portee& portee = Etat.Portees[i];

    if (portee.Echantillons.empty() || portee.Echantillons[0].Y == -1.0f) {
        // One damaged staff must not lose the whole page: it is skipped, and
        // reaches the later stages as a staff without symbols.
        Trace("Portee trop bizarre. Ignoree");
        ProgressionCourante().Avertissement(FormateTexte(MessageNumero(100).c_str(), i + 1));
        return true;
    }
    if (portee.NbLignesPortee > 5) {
        portee.Tablature = 1;
        if (i > 0) Etat.Portees[i - 1].TablatureAssociee = 1;
        Trace("Portee tablature ignoree");
        return true;
    }

    Etat.PorteeImage = DupliquePartieOffscreenFromFile(copieTravail, portee.CadreBande);
    if (!Etat.PorteeImage) return false;
    Etat.PorteeImageIntacte = DupliqueOffscreen(Etat.PorteeImage);
    Etapes.EffaceLignesPortee(i, Etat.PorteeImage);

    VuePage& vue = VuePageCourante();
    vue.DefiniOrigineBande(portee.CadreBande);
    vue.DessineZoneBande(portee.CadreBande);

    bool resultat = false;
    if (Etapes.RechercheLiaisons()) {
        if (Etapes.RechercheLignesVert()) {
            resultat = ReconnaitSymbolesPortee();
            Etapes.LibereLignesVert();
        }
    }
    vue.DessineZoneBande(portee.CadreBande);

    vue.RestaurePort();
    DisposeOffscreen(Etat.PorteeImage);
    if (Etat.PorteeImageIntacte) DisposeOffscreen(Etat.PorteeImageIntacte);
    return resultat;
}

bool ReconnaitSymbolesPortee() {
    if (!Etapes.RechercheAccroches()) return false;
    const int i = Etat.PorteeCourante;
    bool resultat = false;
    if (Etapes.ExtractionCaracteresProbables(Etat.Portees[i].Interligne)) {
        Portee& portee = Etat.Portees[i];
        portee.TailleSymboles = Etapes.TailleCaracteresPortee(portee.Interligne);
        Etapes.TraiteArmatureDebutPortee(i, Etat.PorteeImage);
        resultat = Etapes.TraiteNotes() && Etapes.TraiteTuplets() && Etapes.TraitePointes() &&
                   Etapes.TraiteEffets();
    }
    VuePageCourante().DessineSymbolesPortee(i);
    Etapes.ViderTableCaracteres();
    return resultat;
}

bool ReconnaitZone(const Rect& zone) {
    const uint32_t debut = Ticks();
    EffaceAnnulation();
    VuePageCourante().CurseurAttente();

    const EntreePage* page = PageCourante();
    const std::string nomPage = page ? page->NomFichier : std::string(Etat.NomPage);
    PrepareEtatPage(nomPage);
    std::FILE* copieSansAires = AppliqueAiresCommande();
    std::FILE* copieTravail = PousseCopieTravail();
    bool resultat = copieTravail != nullptr;
    if (resultat) {
        const bool portees = Etapes.RecherchePortees(Document.ImagePage);
        RechargePage(copieTravail);
        VuePageCourante().AffichePage();
        if (portees) {
            for (int i = 0; i < Etat.NbPorteesTrouvees(); ++i) {
                if (!RectsSeCoupent(Etat.Portees[i].CadreBande, zone)) continue;
                if (!ReconnaitPortee(i, copieTravail)) resultat = false;
            }
        } else {
            resultat = false;
        }
        EffaceFichierTemporaire(copieTravail);
    }
    RestaurePageSansAires(copieSansAires);
    Etat.DureeTraitement = static_cast<uint16_t>((Ticks() - debut) / 60);
    TermineAffichage();
    return resultat;
}
