#include "batch/batch_run.h"

#include <signal.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <system_error>

#include "batch/batch_log.h"
#include "batch/batch_progress.h"
#include "batch/document_outputs.h"
#include "batch/worker_process.h"
#include "toolbox/messages.h"
#include "toolbox/system.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSortieTravailleur = "worker.out";
constexpr const char* kErreursTravailleur = "worker.err";
constexpr size_t kTailleLueMax = 1 << 20;
// A worker asked to stop gets this long to leave before it is killed.
constexpr auto kDelaiArret = std::chrono::seconds(10);

volatile sig_atomic_t arretDemande = 0;

void SurSignalArret(int) {
    arretDemande = 1;
}

// The stop signals are the batch's own while it runs, then as before.
class SignauxArret {
  public:
    SignauxArret() {
        arretDemande = 0;
        struct sigaction action {};
        action.sa_handler = SurSignalArret;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < std::size(kSignaux); ++i)
            sigaction(kSignaux[i], &action, &anciens_[i]);
    }
    ~SignauxArret() {
        for (size_t i = 0; i < std::size(kSignaux); ++i)
            sigaction(kSignaux[i], &anciens_[i], nullptr);
    }

  private:
    static constexpr int kSignaux[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction anciens_[std::size(kSignaux)]{};
};

void Pause() {
    const timespec attente{0, 50 * 1000 * 1000};
    nanosleep(&attente, nullptr);
}

std::vector<std::string> ArgumentsTravailleur(const DemandeLot& d, const DocumentLot& doc,
                                              int fils) {
    std::vector<std::string> a = {d.programme, "recognize", "-q", "--threads",
                                  std::to_string(fils)};
    switch (doc.genre) {
        case GenreDocument::Images:
            a.insert(a.end(), doc.pages.begin(), doc.pages.end());
            break;
        case GenreDocument::ListePages:  // its copy in the staging folder, named as the outputs
            a.push_back(doc.nom + ".lfs");
            return a;
        case GenreDocument::Pdf:
            a.push_back(fs::absolute(doc.source).lexically_normal().string());
            break;
    }
    a.push_back("-o");
    a.push_back(doc.nom);
    return a;
}

struct EnCours {
    DocumentLot document;
    std::chrono::steady_clock::time_point debut;
};

class Lot {
  public:
    Lot(const DemandeLot& demande, JournalLot& journal, AffichageLot& affichage, int total)
        : d_(demande), journal_(journal), affichage_(affichage) {
        compte_.total = total;
    }

    void Traite(const DocumentLot& doc) {
        while (static_cast<int>(enCours_.size()) >= Travailleurs() && !arretDemande) Attend();
        if (arretDemande) return;
        if (d_.reprise && DocumentComplet(d_.sortie, doc.nom)) {
            Termine(Bilan(doc, "skipped"));
            return;
        }
        if (doc.genre == GenreDocument::Pdf && !d_.pdfLisible) {
            BilanDocument b = Bilan(doc, "failed");
            b.messages.push_back("PDF input is not available in this build of Ruzo");
            Termine(b);
            return;
        }
        Lance(doc);
    }

    void AttendTous() {
        while (!enCours_.empty()) Attend();
    }

    const CompteLot& Compte() const { return compte_; }

  private:
    int Travailleurs() const { return d_.travailleurs > 0 ? d_.travailleurs : CoeursDisponibles(); }

    // The cores are shared among the workers that can run at once: each
    // worker recognises the staves of its pages on its share, so that
    // workers and their threads together do not outnumber the cores. A
    // batch of fewer documents than workers gives each document more.
    int FilsParTravailleur() const {
        const int ensemble = std::max(1, std::min(Travailleurs(), compte_.total));
        return std::max(1, CoeursDisponibles() / ensemble);
    }

    static BilanDocument Bilan(const DocumentLot& doc, const char* statut) {
        BilanDocument b;
        b.source = doc.source;
        b.nom = doc.nom;
        b.statut = statut;
        b.pages = static_cast<int>(doc.pages.size());
        return b;
    }

    void Lance(const DocumentLot& doc) {
        std::string erreur;
        const std::string dossier = DossierPreparation(d_.sortie, doc.nom);
        if (PrepareDossier(d_.sortie, doc.nom, erreur) && doc.genre == GenreDocument::ListePages) {
            std::error_code e;
            fs::copy_file(doc.source, fs::path(dossier) / (doc.nom + ".lfs"), e);
            if (e)
                erreur =
                    FormateTexte(TexteLangue("can't copy the page list: %s"), e.message().c_str());
        }
        const pid_t pid =
            erreur.empty() ? LanceTravailleur(ArgumentsTravailleur(d_, doc, FilsParTravailleur()),
                                              dossier, kSortieTravailleur, kErreursTravailleur)
                           : -1;
        if (pid < 0) {
            BilanDocument b = Bilan(doc, "failed");
            b.messages.push_back(erreur.empty() ? "can't start a worker process" : erreur);
            EffaceDossier(d_.sortie, doc.nom);
            Termine(b);
            return;
        }
        enCours_[pid] = EnCours{doc, std::chrono::steady_clock::now()};
        ++compte_.enCours;
    }

    // Waits for one worker to end, passing on a stop to the workers.
    void Attend() {
        FinTravailleur fin;
        while (!RecueilleFinTravailleur(fin) || enCours_.count(fin.pid) == 0) {
            if (enCours_.empty()) return;
            if (arretDemande) ArreteTous();
            affichage_.Rafraichit(compte_);
            Pause();
        }
        Fin(fin);
    }

    void ArreteTous() {
        const auto maintenant = std::chrono::steady_clock::now();
        if (!arretEnvoye_) {
            arretEnvoye_ = true;
            arretDebut_ = maintenant;
            for (const auto& [pid, t] : enCours_) ArreteTravailleur(pid, false);
        } else if (!forceEnvoye_ && maintenant - arretDebut_ > kDelaiArret) {
            forceEnvoye_ = true;
            for (const auto& [pid, t] : enCours_) ArreteTravailleur(pid, true);
        }
    }

    void Fin(const FinTravailleur& fin) {
        const EnCours travail = enCours_[fin.pid];
        enCours_.erase(fin.pid);
        --compte_.enCours;
        const std::string dossier = DossierPreparation(d_.sortie, travail.document.nom);
        BilanDocument b = Bilan(travail.document, "failed");
        b.pages = 0;
        b.code = fin.code;
        b.memoireMo = fin.memoireMo;
        b.secondes =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - travail.debut).count();
        AjouteFiguresPages(LitTexteFichier(dossier + "/" + kSortieTravailleur, kTailleLueMax), b);
        b.messages =
            LignesMessages(LitTexteFichier(dossier + "/" + kErreursTravailleur, kTailleLueMax));
        const bool reussi = std::find(d_.codesReussite.begin(), d_.codesReussite.end(), fin.code) !=
                            d_.codesReussite.end();
        std::string erreur;
        if (reussi && PlaceDocument(d_.sortie, travail.document.nom, erreur)) {
            b.statut = fin.code == 0 ? "ok" : "partial";
        } else if (reussi) {
            b.messages.push_back(erreur);
        } else if (arretDemande) {
            b.statut = "cancelled";
        } else if (fin.signal != 0) {
            b.messages.push_back("the worker was ended by signal " + std::to_string(fin.signal));
        }
        EffaceDossier(d_.sortie, travail.document.nom);
        Termine(b);
    }

    void Termine(const BilanDocument& b) {
        if (b.statut == "ok" || b.statut == "partial")
            ++compte_.reussis;
        else if (b.statut == "skipped")
            ++compte_.sautes;
        else if (b.statut == "cancelled")
            ++compte_.annules;
        else
            ++compte_.echoues;
        if (b.statut != "skipped") compte_.pages += b.pages;
        compte_.memoireMaxMo = std::max(compte_.memoireMaxMo, b.memoireMo);
        if (!journal_.Ecrit(b) && !journalEnPanne_) {
            journalEnPanne_ = true;
            Alerte("Can't write to the batch log; the outputs are still written");
        }
        affichage_.DocumentFini(b, compte_);
    }

    const DemandeLot& d_;
    JournalLot& journal_;
    AffichageLot& affichage_;
    CompteLot compte_;
    std::map<pid_t, EnCours> enCours_;
    bool arretEnvoye_ = false;
    bool forceEnvoye_ = false;
    bool journalEnPanne_ = false;
    std::chrono::steady_clock::time_point arretDebut_;
};

bool PrepareSortie(const std::string& sortie) {
    std::error_code e;
    fs::create_directories(sortie, e);
    if (e || !fs::is_directory(sortie, e)) {
        Alerte("Can't make the output folder '%s'", sortie.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string JournalParDefaut(const DemandeLot& d) {
    const std::string nom = d.partDonnee ? "ruzo-batch-" + std::to_string(d.part.k) + "-of-" +
                                               std::to_string(d.part.n) + ".jsonl"
                                         : "ruzo-batch.jsonl";
    return (fs::path(d.sortie) / nom).string();
}

ResultatLot ExecuteLot(const DemandeLot& d) {
    ResultatLot r;
    InventaireLot inventaire = TrouveDocuments(d.entrees);
    for (const std::string& e : inventaire.erreurs) Alerte("%s", e.c_str());
    if (!inventaire.erreurs.empty() || !PrepareSortie(d.sortie)) {
        r.entreesValides = false;
        return r;
    }
    const std::vector<DocumentLot> documents =
        d.partDonnee ? ChoisitPart(inventaire.documents, d.part) : inventaire.documents;
    const std::string cheminJournal = d.journal.empty() ? JournalParDefaut(d) : d.journal;
    JournalLot journal;
    if (!journal.Ouvre(cheminJournal)) {
        Alerte("Can't open the batch log '%s' for writing", cheminJournal.c_str());
        r.entreesValides = false;
        return r;
    }
    SignauxArret signaux;
    AffichageLot affichage;
    Lot lot(d, journal, affichage, static_cast<int>(documents.size()));
    for (const DocumentLot& doc : documents) lot.Traite(doc);
    lot.AttendTous();
    affichage.Resume(lot.Compte(), cheminJournal);
    r.arrete = arretDemande != 0;
    r.echoues = lot.Compte().echoues;
    r.documents = lot.Compte().total;
    return r;
}
