#include "recognition/page_driver.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

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
#include "toolbox/held_messages.h"
#include "toolbox/messages.h"
#include "toolbox/page_view.h"
#include "toolbox/progress.h"
#include "toolbox/system.h"
#include "toolbox/work_threads.h"

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

// What the staff loop makes of a staff before any stage, from its detection.
enum class AccueilPortee { AReconnaitre, Ignoree, Tablature };

AccueilPortee AccueillePortee(const Portee& portee) {
    if (portee.Echantillons.empty() || portee.Echantillons[0].Y == -1.0f)
        return AccueilPortee::Ignoree;
    if (portee.NbLignesPortee > 5) return AccueilPortee::Tablature;
    return AccueilPortee::AReconnaitre;
}

// A staff no stage works on: what it says and the marks it leaves.
void PassePortee(EtatPage& etat, int i, AccueilPortee accueil) {
    if (accueil == AccueilPortee::Ignoree) {
        // One damaged staff must not lose the whole page: it is skipped, and
        // reaches the later stages as a staff without symbols.
        Trace("Portee trop bizarre. Ignoree");
        ProgressionCourante().Avertissement(FormateTexte(MessageNumero(100).c_str(), i + 1));
    } else {
        etat.Portees[i].Tablature = 1;
        if (i > 0) etat.Portees[i - 1].TablatureAssociee = 1;
        Trace("Portee tablature ignoree");
    }
}

bool ReconnaitSymbolesPortee(EtatPage& etat, const ReglagesReconnaissance& reglages, VuePage& vue) {
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
    vue.DessineSymbolesPortee(i);
    Etapes.ViderTableCaracteres(etat);
    return resultat;
}

// The stages of staff i on its band, which they own and dispose; the band
// and the symbols are drawn into `vue`.
bool ReconnaitBande(EtatPage& etat, const ReglagesReconnaissance& reglages, int i, Offscreen bande,
                    VuePage& vue) {
    etat.PorteeImage = bande;
    etat.PorteeImageIntacte = DupliqueOffscreen(etat.PorteeImage);
    Etapes.EffaceLignesPortee(etat, reglages, i, etat.PorteeImage);

    vue.DefiniOrigineBande(etat.Portees[i].CadreBande);
    vue.DessineZoneBande(etat.Portees[i].CadreBande);

    bool resultat = false;
    if (Etapes.RechercheLiaisons(etat, reglages)) {
        if (Etapes.RechercheLignesVert(etat, reglages)) {
            resultat = ReconnaitSymbolesPortee(etat, reglages, vue);
            Etapes.LibereLignesVert(etat);
        }
    }
    vue.DessineZoneBande(etat.Portees[i].CadreBande);

    vue.RestaurePort();
    DisposeOffscreen(etat.PorteeImage);
    if (etat.PorteeImageIntacte) DisposeOffscreen(etat.PorteeImageIntacte);
    return resultat;
}

// A tie number `local` given by a staff that numbered its ties from 1, as
// the page's running numbers from `depart` give it: they run from 1 to
// 65535 and start again at 1, 0 being no tie.
uint16_t NumeroLiaisonPage(uint16_t local, uint16_t depart) {
    if (local == 0) return 0;
    return static_cast<uint16_t>((uint32_t{depart} - 1 + local - 1) % 65535 + 1);
}

// One staff recognised on a thread of its own, until it joins the page.
struct PorteeFaite {
    bool prete = false;
    bool resultat = true;
    Portee portee;
    // The staff's running numbers after its stages, counted from 1.
    uint32_t numeroSymbole = 1;
    uint16_t numeroLiaison = 1;
    std::vector<MessagesRetenus::Ligne> messages;
    std::exception_ptr exception;  // thrown on its thread, thrown again on the caller's
};

// The staff joins the page: its notes and ties take the page's running
// numbers where one thread would have given them, then it is reported and
// drawn.
bool JointPortee(EtatPage& etat, int i, PorteeFaite& faite) {
    etat.PorteeCourante = static_cast<int16_t>(i);
    const AccueilPortee accueil = AccueillePortee(etat.Portees[i]);
    if (accueil != AccueilPortee::AReconnaitre) {
        PassePortee(etat, i, accueil);
        return true;
    }
    Portee& portee = etat.Portees[i];
    portee = std::move(faite.portee);
    const uint32_t decalage = etat.NumeroSymbole - 1;
    for (NotePortee& note : portee.Symboles) {
        note.IdNote += decalage;
        note.Debut.Numero = NumeroLiaisonPage(note.Debut.Numero, etat.NumeroLiaison);
        note.Fin.Numero = NumeroLiaisonPage(note.Fin.Numero, etat.NumeroLiaison);
    }
    etat.NumeroSymbole += faite.numeroSymbole - 1;
    etat.NumeroLiaison = NumeroLiaisonPage(faite.numeroLiaison, etat.NumeroLiaison);
    MessagesRetenus::Envoie(faite.messages);

    VuePage& vue = VuePageCourante();
    vue.DefiniOrigineBande(portee.CadreBande);
    vue.DessineZoneBande(portee.CadreBande);
    vue.DessineSymbolesPortee(i);
    vue.DessineZoneBande(portee.CadreBande);
    vue.RestaurePort();
    return faite.resultat;
}

// The staves on `fils` threads. Each staff is worked on in a copy of the
// page state as it stood before the staves (the stages of a staff read no
// other staff's results), then joins the page in staff order on this
// thread, which also shows the progress. The first staff that fails stops
// the page as it would on one thread: the staves after it are not started
// any more, and those already done are dropped.
bool ReconnaitPorteesSurFils(EtatPage& etat, const ReglagesReconnaissance& reglages,
                             std::FILE* copieTravail, int fils) {
    const int n = etat.NbPorteesTrouvees();
    const EtatPage avantPortees = etat;
    std::vector<PorteeFaite> faites(static_cast<size_t>(n));
    std::mutex verrou;
    std::condition_variable fin;
    int suivante = 0;  // the next staff to start
    int echec = n;     // the first staff that failed; none after it starts
    std::mutex verrouCopie;

    auto travaille = [&] {
        VuePage sansVue;
        for (;;) {
            int i = 0;
            {
                const std::lock_guard<std::mutex> garde(verrou);
                if (suivante >= n || suivante > echec) return;
                i = suivante++;
            }
            PorteeFaite faite;
            if (AccueillePortee(avantPortees.Portees[i]) == AccueilPortee::AReconnaitre) {
                MessagesRetenus retenus;
                EtatPage propre = avantPortees;
                propre.PorteeCourante = static_cast<int16_t>(i);
                propre.NumeroSymbole = 1;
                propre.NumeroLiaison = 1;
                Offscreen bande = nullptr;
                {
                    const std::lock_guard<std::mutex> garde(verrouCopie);
                    bande =
                        DupliquePartieOffscreenFromFile(copieTravail, propre.Portees[i].CadreBande);
                }
                try {
                    faite.resultat = bande && ReconnaitBande(propre, reglages, i, bande, sansVue);
                } catch (...) {
                    faite.resultat = false;
                    faite.exception = std::current_exception();
                }
                faite.portee = std::move(propre.Portees[i]);
                faite.numeroSymbole = propre.NumeroSymbole;
                faite.numeroLiaison = propre.NumeroLiaison;
                faite.messages = retenus.Prends();
            }
            const std::lock_guard<std::mutex> garde(verrou);
            if (!faite.resultat) echec = std::min(echec, i);
            faites[i] = std::move(faite);
            faites[i].prete = true;
            fin.notify_all();
        }
    };
    std::vector<std::thread> equipe;
    try {
        for (int f = 0; f < fils; ++f) equipe.emplace_back(travaille);
    } catch (const std::system_error&) {
        // The threads the system would give work on their own; with none,
        // this thread does the work before it joins the staves.
        if (equipe.empty()) travaille();
    }

    Progression& progression = ProgressionCourante();
    bool resultat = true;
    std::exception_ptr exception;
    for (int i = 0; i < n && resultat; ++i) {
        progression.Pourcentage(15 + (60 * i) / n);
        PorteeFaite faite;
        {
            std::unique_lock<std::mutex> attente(verrou);
            fin.wait(attente, [&] { return faites[i].prete; });
            faite = std::move(faites[i]);
        }
        exception = faite.exception;
        resultat = !exception && JointPortee(etat, i, faite);
    }
    for (std::thread& t : equipe) t.join();
    if (exception) std::rethrow_exception(exception);
    return resultat;
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
    const int fils = std::min(FilsTravail(), n);
    if (fils > 1) {
        resultat = ReconnaitPorteesSurFils(etat, reglages, copieTravail, fils);
    } else {
        for (int i = 0; i < n && resultat; ++i) {
            progression.Pourcentage(15 + (60 * i) / n);
            resultat = ReconnaitPortee(etat, reglages, i, copieTravail);
        }
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
    const AccueilPortee accueil = AccueillePortee(etat.Portees[i]);
    if (accueil != AccueilPortee::AReconnaitre) {
        PassePortee(etat, i, accueil);
        return true;
    }
    Offscreen bande = DupliquePartieOffscreenFromFile(copieTravail, etat.Portees[i].CadreBande);
    if (!bande) return false;
    return ReconnaitBande(etat, reglages, i, bande, VuePageCourante());
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
