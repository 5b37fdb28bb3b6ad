#include "recognition/page_driver.h"

#include <utility>

#include "image/command_areas.h"
#include "image/temporary_files.h"
#include "recognition/document.h"
#include "records/etat_page.h"
#include "records/options.h"
#include "staff/beams.h"
#include "staff/line_removal.h"
#include "staff/page_state.h"
#include "staff/staff_detection.h"
#include "staff/vertical_lines.h"
#include "structure/key_signature.h"
#include "structure/note_stage.h"
#include "structure/systems_measures.h"
#include "structure/time_check.h"
#include "symbols/accidentals_dots.h"
#include "symbols/candidates.h"
#include "symbols/notes.h"
#include "symbols/ties.h"
#include "symbols/tuplets_ornaments.h"
#include "toolbox/messages.h"
#include "toolbox/page_view.h"
#include "toolbox/progress.h"
#include "toolbox/system.h"

EtapesReconnaissance EtapesParDefaut() {
    return EtapesReconnaissance{
        RecherchePortees,
        EffaceLignesPortee,
        RechercheLiaisons,
        RechercheLignesVert,
        LibereLignesVert,
        RechercheAccroches,
        ExtractionCaracteresProbables,
        TailleCaracteresPortee,
        TraiteArmatureDebutPortee,
        TraiteNotes,
        TraiteTuplets,
        TraitePointes,
        TraiteEffets,
        ViderTableCaracteres,
        DoAnalyseSystemes,
        AnalyseMesures,
    };
}

EtapesReconnaissance Etapes = EtapesParDefaut();

namespace {

constexpr int64_t kMargeMemoire = 1048576;

// Brings the page bitmap back from the working copy when it is not in memory.
void RechargePage(ListePages& document, std::FILE* copieTravail) {
    if (!document.ImagePage) document.ImagePage = GetOffscreenFromFile(copieTravail);
}

// Command areas: the page as loaded is parked first, so that the areas never
// reach the page the user sees. Returns the parked copy, or none.
std::FILE* AppliqueAiresCommande(ListePages& document) {
    const EntreePage* page = PageCourante(document);
    if (!AiresActives(page, document.ImagePage)) return nullptr;
    std::FILE* copieSansAires = PushOffscreen(document.ImagePage);
    AppliqueAires(*page, document.ImagePage);
    return copieSansAires;
}

// Puts the page as loaded back in place of the page with its areas applied.
void RestaurePageSansAires(ListePages& document, std::FILE*& copieSansAires) {
    if (!copieSansAires) return;
    if (document.ImagePage) DisposeOffscreen(document.ImagePage);
    document.ImagePage = GetOffscreenFromFile(copieSansAires);
    VuePageCourante().AffichePage();
    EffaceFichierTemporaire(copieSansAires);
}

// Pushes the working copy from which every staff band is cut.
std::FILE* PousseCopieTravail(ListePages& document) {
    if (!document.ImagePage) return nullptr;
    bool complet = false;
    std::FILE* copie = PushOffscreen(document.ImagePage, &complet);
    if (copie && !complet) EffaceFichierTemporaire(copie);
    return copie;
}

// What the document hands the page: its name and index, the running
// numbers and the command areas.
void RenseigneEtatPage(ListePages& document, EtatPage& etat, const std::string& nomPage) {
    if (document.ImagePage) etat.CadrePage = document.ImagePage->Bornes();
    etat.NomPage = nomPage.substr(0, 255);
    etat.NumPage = document.NumPage;
    etat.NumeroSymbole = document.NumeroSymbole;
    etat.NumeroLiaison = document.NumeroLiaison;
    if (const EntreePage* page = PageCourante(document)) etat.Aires = page->Aires;
}

// A clear page state with what the document hands the page.
void PrepareEtatPage(ListePages& document, EtatPage& etat, const std::string& nomPage) {
    LibereEtatPage(etat);
    RenseigneEtatPage(document, etat, nomPage);
}

// The staves of the page bitmap: those found at load when the bitmap is still
// the one they were found on (no command area applied since, no detection
// setting changed), else found now, which consumes the bitmap. Either way
// the kept staves are used up.
bool TrouvePorteesPage(ListePages& document, EtatPage& etat,
                       const ReglagesReconnaissance& reglages) {
    PorteesGardees gardees = std::exchange(document.PorteesChargees, PorteesGardees{});
    const bool reprises = gardees.Empreinte != 0 && Etapes.RecherchePortees == RecherchePortees &&
                          document.ImagePage &&
                          EmpreinteDetection(*document.ImagePage, reglages) == gardees.Empreinte;
    if (!reprises) return Etapes.RecherchePortees(etat, reglages, document.ImagePage);
    Trace("Portees reprises du chargement de la page");
    RenseigneEtatPage(document, gardees.Etat, etat.NomPage);
    etat = std::move(gardees.Etat);
    return true;
}

// The running numbers go on from the page's last ones.
void RendNumeros(ListePages& document, const EtatPage& etat) {
    document.NumeroSymbole = etat.NumeroSymbole;
    document.NumeroLiaison = etat.NumeroLiaison;
}

// The staves, then systems and measures, with their progress figures.
bool ReconnaitPortees(ListePages& document, EtatPage& etat, const ReglagesReconnaissance& reglages,
                      std::FILE* copieTravail) {
    Progression& progression = ProgressionCourante();
    const int64_t taillePage = int64_t{etat.CadrePage.Hauteur()} * etat.CadrePage.Largeur();
    if (MemoireLibre() >= taillePage + kMargeMemoire) RechargePage(document, copieTravail);
    VuePageCourante().AffichePage();
    progression.Etape(3);

    bool resultat = true;
    const int n = etat.NbPorteesTrouvees();
    for (int i = 0; i < n && resultat; ++i) {
        progression.Pourcentage(15 + (60 * i) / n);
        resultat = ReconnaitPortee(etat, reglages, i, copieTravail);
    }
    if (!resultat) return false;

    progression.Pourcentage(80);
    progression.Etape(4);
    RechargePage(document, copieTravail);
    if (Etapes.DoAnalyseSystemes(etat, document.ImagePage)) {
        progression.Pourcentage(90);
        resultat = Etapes.AnalyseMesures(etat);
        // A signature the user gave is not second-guessed.
        if (reglages.Options.ModeArmature != 0 || !reglages.TonaliteForcee.MesureDonnee)
            VerifieChiffrages(etat);
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

bool ReconnaitPage(ListePages& document, EtatPage& etat, const ReglagesReconnaissance& reglages,
                   const std::string& nomPage) {
    const uint32_t debut = Ticks();
    if (TestAnnulation()) return false;
    Progression& progression = ProgressionCourante();
    progression.Etape(1);
    progression.Ouvre(0, "");
    progression.Pourcentage(0);

    PrepareEtatPage(document, etat, nomPage);
    std::FILE* copieSansAires = AppliqueAiresCommande(document);
    std::FILE* copieTravail = PousseCopieTravail(document);
    bool resultat = copieTravail != nullptr;

    if (resultat) {
        progression.Pourcentage(5);
        progression.Etape(2);
        if (!TrouvePorteesPage(document, etat, reglages)) {
            RechargePage(document, copieTravail);
            VuePageCourante().AffichePage();
            resultat = false;
        } else {
            resultat = ReconnaitPortees(document, etat, reglages, copieTravail);
        }
        RechargePage(document, copieTravail);
        VuePageCourante().AffichePage();
        EffaceFichierTemporaire(copieTravail);
    }
    RestaurePageSansAires(document, copieSansAires);
    RendNumeros(document, etat);

    if (resultat) {
        if (VuePageCourante().SuitReconnaissance())
            VuePageCourante().DefileVersPortee(etat.PorteeCourante);
        const uint32_t ticks = Ticks() - debut;
        etat.DureeTraitement = static_cast<uint16_t>(ticks / 60);
        progression.AjouteTempsPage(ticks);
        Trace("Page : %d secondes", etat.DureeTraitement);
    }
    TermineAffichage();
    return resultat;
}

bool ReconnaitPortee(EtatPage& etat, const ReglagesReconnaissance& reglages, int i,
                     std::FILE* copieTravail) {
    etat.PorteeCourante = static_cast<int16_t>(i);
    Portee& portee = etat.Portees[i];

    if (portee.Echantillons.empty() || portee.Echantillons[0].Y == -1.0f) {
        // One damaged staff must not lose the whole page: it is skipped, and
        // reaches the later stages as a staff without symbols.
        Trace("Portee trop bizarre. Ignoree");
        ProgressionCourante().Avertissement(FormateTexte(MessageNumero(100).c_str(), i + 1));
        return true;
    }
    if (portee.NbLignesPortee > 5) {
        portee.Tablature = 1;
        if (i > 0) etat.Portees[i - 1].TablatureAssociee = 1;
        Trace("Portee tablature ignoree");
        return true;
    }

    etat.PorteeImage = DupliquePartieOffscreenFromFile(copieTravail, portee.CadreBande);
    if (!etat.PorteeImage) return false;
    etat.PorteeImageIntacte = DupliqueOffscreen(etat.PorteeImage);
    Etapes.EffaceLignesPortee(etat, reglages, i, etat.PorteeImage);

    VuePage& vue = VuePageCourante();
    vue.DefiniOrigineBande(portee.CadreBande);
    vue.DessineZoneBande(portee.CadreBande);

    bool resultat = false;
    if (Etapes.RechercheLiaisons(etat, reglages)) {
        if (Etapes.RechercheLignesVert(etat, reglages)) {
            resultat = ReconnaitSymbolesPortee(etat, reglages);
            Etapes.LibereLignesVert(etat);
        }
    }
    vue.DessineZoneBande(portee.CadreBande);

    vue.RestaurePort();
    DisposeOffscreen(etat.PorteeImage);
    if (etat.PorteeImageIntacte) DisposeOffscreen(etat.PorteeImageIntacte);
    return resultat;
}

bool ReconnaitSymbolesPortee(EtatPage& etat, const ReglagesReconnaissance& reglages) {
    if (!Etapes.RechercheAccroches(etat, reglages)) return false;
    const int i = etat.PorteeCourante;
    bool resultat = false;
    if (Etapes.ExtractionCaracteresProbables(etat, reglages, etat.Portees[i].Interligne)) {
        Portee& portee = etat.Portees[i];
        portee.TailleSymboles = Etapes.TailleCaracteresPortee(portee.Interligne);
        Etapes.TraiteArmatureDebutPortee(etat, reglages, i, etat.PorteeImage);
        resultat = Etapes.TraiteNotes(etat, reglages) && Etapes.TraiteTuplets(etat, reglages) &&
                   Etapes.TraitePointes(etat, reglages) && Etapes.TraiteEffets(etat);
    }
    VuePageCourante().DessineSymbolesPortee(i);
    Etapes.ViderTableCaracteres(etat);
    return resultat;
}

bool ReconnaitZone(ListePages& document, EtatPage& etat, const ReglagesReconnaissance& reglages,
                   const Rect& zone) {
    const uint32_t debut = Ticks();
    EffaceAnnulation();
    VuePageCourante().CurseurAttente();

    const EntreePage* page = PageCourante(document);
    const std::string nomPage = page ? page->NomFichier : std::string(etat.NomPage);
    PrepareEtatPage(document, etat, nomPage);
    std::FILE* copieSansAires = AppliqueAiresCommande(document);
    std::FILE* copieTravail = PousseCopieTravail(document);
    bool resultat = copieTravail != nullptr;
    if (resultat) {
        const bool portees = TrouvePorteesPage(document, etat, reglages);
        RechargePage(document, copieTravail);
        VuePageCourante().AffichePage();
        if (portees) {
            for (int i = 0; i < etat.NbPorteesTrouvees(); ++i) {
                if (!RectsSeCoupent(etat.Portees[i].CadreBande, zone)) continue;
                if (!ReconnaitPortee(etat, reglages, i, copieTravail)) resultat = false;
            }
        } else {
            resultat = false;
        }
        EffaceFichierTemporaire(copieTravail);
    }
    RestaurePageSansAires(document, copieSansAires);
    RendNumeros(document, etat);
    etat.DureeTraitement = static_cast<uint16_t>((Ticks() - debut) / 60);
    TermineAffichage();
    return resultat;
}
