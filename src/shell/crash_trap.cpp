#include "shell/crash_trap.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/utsname.h>
#include <ucontext.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>

// Everything the handler does must be safe inside a signal handler: no memory
// allocation, no stdio, no locks. The texts are put together in fixed buffers
// by the small writers below, and everything that can be prepared in advance
// (paths, system name, header) is prepared when the trap is installed.

namespace {

constexpr int kSignaux[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int kProfondeurPile = 64;
constexpr size_t kTaillePileSecours = 64 * 1024;

// 0 no crash yet, 111 formatting the report, 112 writing it, 113 done.
enum EtatPiege : int { kAucunCrash = 0, kFormatage = 111, kEcriture = 112, kTermine = 113 };

volatile sig_atomic_t etat = kAucunCrash;
bool installe = false;

char cheminPrincipal[PATH_MAX];
char cheminSecours[PATH_MAX];
char systeme[200];
char pileSecours[kTaillePileSecours];

class Tampon {
  public:
    void Ajoute(const char* texte) {
        while (*texte && longueur_ + 1 < sizeof texte_) texte_[longueur_++] = *texte++;
        texte_[longueur_] = '\0';
    }
    // `largeur` digits at least, zero-padded.
    void AjouteNombre(unsigned long valeur, unsigned base, int largeur) {
        char chiffres[32];
        int n = 0;
        do {
            chiffres[n++] = "0123456789abcdef"[valeur % base];
            valeur /= base;
        } while (valeur != 0 && n < 32);
        while (n < largeur && n < 32) chiffres[n++] = '0';
        char inverse[33];
        for (int i = 0; i < n; ++i) inverse[i] = chiffres[n - 1 - i];
        inverse[n] = '\0';
        Ajoute(inverse);
    }
    void Efface() {
        longueur_ = 0;
        texte_[0] = '\0';
    }
    const char* Texte() const { return texte_; }
    size_t Longueur() const { return longueur_; }

  private:
    char texte_[4096] = {};
    size_t longueur_ = 0;
};

Tampon rapport;
Tampon annonce;

void EcritTout(int fd, const char* texte, size_t longueur) {
    while (longueur > 0) {
        const ssize_t ecrits = write(fd, texte, longueur);
        if (ecrits < 0 && errno == EINTR) continue;
        if (ecrits <= 0) return;
        texte += ecrits;
        longueur -= static_cast<size_t>(ecrits);
    }
}

void Annonce(const char* texte, const char* chemin) {
    annonce.Efface();
    annonce.Ajoute("ruzo: ");
    annonce.Ajoute(texte);
    if (chemin) {
        annonce.Ajoute(" The report is in '");
        annonce.Ajoute(chemin);
        annonce.Ajoute("'.");
    }
    annonce.Ajoute("\n");
    EcritTout(STDERR_FILENO, annonce.Texte(), annonce.Longueur());
}

const char* NomSignal(int signal) {
    switch (signal) {
        case SIGSEGV:
            return "SIGSEGV";
        case SIGBUS:
            return "SIGBUS";
        case SIGFPE:
            return "SIGFPE";
        case SIGILL:
            return "SIGILL";
        case SIGABRT:
            return "SIGABRT";
        default:
            return "signal";
    }
}

// Civil date of a count of days since 1970-01-01 (proleptic Gregorian).
void DateDeJours(long jours, long& annee, unsigned& mois, unsigned& jour) {
    jours += 719468;
    const long ere = (jours >= 0 ? jours : jours - 146096) / 146097;
    const unsigned jourEre = static_cast<unsigned>(jours - ere * 146097);
    const unsigned anneeEre = (jourEre - jourEre / 1460 + jourEre / 36524 - jourEre / 146096) / 365;
    const unsigned jourAnnee = jourEre - (365 * anneeEre + anneeEre / 4 - anneeEre / 100);
    const unsigned moisDecale = (5 * jourAnnee + 2) / 153;
    jour = jourAnnee - (153 * moisDecale + 2) / 5 + 1;
    mois = moisDecale < 10 ? moisDecale + 3 : moisDecale - 9;
    annee = static_cast<long>(anneeEre) + ere * 400 + (mois <= 2 ? 1 : 0);
}

void AjouteDateGMT() {
    const long secondes = static_cast<long>(time(nullptr));
    long annee = 0;
    unsigned mois = 0, jour = 0;
    DateDeJours(secondes / 86400, annee, mois, jour);
    const long duJour = secondes % 86400;
    rapport.AjouteNombre(jour, 10, 2);
    rapport.Ajoute("/");
    rapport.AjouteNombre(mois, 10, 2);
    rapport.Ajoute("/");
    rapport.AjouteNombre(static_cast<unsigned long>(annee % 100), 10, 2);
    rapport.Ajoute(" ");
    rapport.AjouteNombre(static_cast<unsigned long>(duJour / 3600), 10, 2);
    rapport.Ajoute(":");
    rapport.AjouteNombre(static_cast<unsigned long>(duJour / 60 % 60), 10, 2);
    rapport.Ajoute(" GMT\n");
}

void AjouteRegistres(const ucontext_t* contexte) {
#if defined(__x86_64__)
    if (!contexte) return;
    const mcontext_t& m = contexte->uc_mcontext;
    if (m.fpregs) {
        rapport.Ajoute("(cw : ");
        rapport.AjouteNombre(m.fpregs->cwd, 16, 8);
        rapport.Ajoute(" / sw : ");
        rapport.AjouteNombre(m.fpregs->swd, 16, 8);
        rapport.Ajoute(" / mxcsr : ");
        rapport.AjouteNombre(m.fpregs->mxcsr, 16, 8);
        rapport.Ajoute(")\n");
    }
    rapport.Ajoute("Instruction: ");
    rapport.AjouteNombre(static_cast<unsigned long>(m.gregs[REG_RIP]), 16, 16);
    rapport.Ajoute("   Flags: ");
    rapport.AjouteNombre(static_cast<unsigned long>(m.gregs[REG_EFL]), 16, 8);
    rapport.Ajoute("   Stack: ");
    rapport.AjouteNombre(static_cast<unsigned long>(m.gregs[REG_RSP]), 16, 16);
    rapport.Ajoute("\n");
#else
    (void)contexte;
#endif
}

void FormateRapport(int signal, const siginfo_t* info, const ucontext_t* contexte) {
    rapport.Efface();
    rapport.Ajoute("--- Ruzo " RUZO_VERSION " compiled " __DATE__ " " __TIME__ "---\n");
    rapport.Ajoute("Crash trapped on ");
    rapport.Ajoute(systeme);
    rapport.Ajoute(" on ");
    AjouteDateGMT();
    rapport.Ajoute("Signal #");
    rapport.AjouteNombre(static_cast<unsigned long>(signal), 10, 1);
    rapport.Ajoute(" (");
    rapport.Ajoute(NomSignal(signal));
    rapport.Ajoute(") code ");
    rapport.AjouteNombre(info ? static_cast<unsigned long>(info->si_code) : 0, 10, 1);
    rapport.Ajoute(" at address ");
    rapport.AjouteNombre(info ? reinterpret_cast<unsigned long>(info->si_addr) : 0, 16, 16);
    rapport.Ajoute("\n");
    AjouteRegistres(contexte);
}

int OuvreJournal(const char*& chemin) {
    for (const char* candidat : {cheminPrincipal, cheminSecours}) {
        if (!*candidat) continue;
        const int fd = open(candidat, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd >= 0) {
            chemin = candidat;
            return fd;
        }
    }
    chemin = nullptr;
    return -1;
}

// Appends the report, and the backtrace when `avecPile`; the path written to,
// or null when no file could be opened.
const char* EcritRapport(bool avecPile) {
    const char* chemin = nullptr;
    const int fd = OuvreJournal(chemin);
    if (fd < 0) return nullptr;
    EcritTout(fd, rapport.Texte(), rapport.Longueur());
    if (avecPile) {
        static const char kTitre[] =
            "Backtrace (addr2line -C -f -e EXECUTABLE +OFFSET names the source line):\n";
        EcritTout(fd, kTitre, sizeof kTitre - 1);
        void* adresses[kProfondeurPile];
        const int n = backtrace(adresses, kProfondeurPile);
        backtrace_symbols_fd(adresses, n, fd);
    }
    static const char kContact[] =
        "Please send this report, with what you were doing, to the Ruzo developers.\n\n";
    EcritTout(fd, kContact, sizeof kContact - 1);
    close(fd);
    return chemin;
}

[[noreturn]] void TerminePar(int signal) {
    struct sigaction defaut {};
    defaut.sa_handler = SIG_DFL;
    sigemptyset(&defaut.sa_mask);
    sigaction(signal, &defaut, nullptr);
    sigset_t ensemble;
    sigemptyset(&ensemble);
    sigaddset(&ensemble, signal);
    sigprocmask(SIG_UNBLOCK, &ensemble, nullptr);
    raise(signal);
    _exit(128 + signal);
}

void AnnonceRapport(const char* chemin) {
    if (chemin)
        Annonce("A crash has been encountered.", chemin);
    else
        Annonce("A crash has been encountered; the report could not be written to crash.log.",
                nullptr);
}

void PiegeErreurs(int signal, siginfo_t* info, void* contexte) {
    const int errnoSauve = errno;
    switch (etat) {
        case kAucunCrash:
            etat = kFormatage;
            FormateRapport(signal, info, static_cast<const ucontext_t*>(contexte));
            etat = kEcriture;
            AnnonceRapport(EcritRapport(true));
            etat = kTermine;
            break;
        case kFormatage:  // crashed while formatting: keep what there is
            etat = kEcriture;
            AnnonceRapport(EcritRapport(false));
            etat = kTermine;
            break;
        case kEcriture:
            etat = kTermine;
            Annonce("A crash occurred again.", nullptr);
            break;
        default:
            Annonce("There seems to be a serious crash.", nullptr);
            break;
    }
    errno = errnoSauve;
    TerminePar(signal);
}

void CopieChemin(char* destination, const std::string& dossier) {
    destination[0] = '\0';
    if (dossier.empty()) return;
    const std::string chemin = dossier + "/crash.log";
    if (chemin.size() >= PATH_MAX) return;
    std::memcpy(destination, chemin.c_str(), chemin.size() + 1);
}

void PrepareSysteme() {
    struct utsname nom {};
    if (uname(&nom) == 0)
        std::snprintf(systeme, sizeof systeme, "Linux %s %s", nom.release, nom.machine);
    else
        std::snprintf(systeme, sizeof systeme, "Linux");
}

}  // namespace

void InstallePiegeErreurs(const std::string& dossierPrincipal, const std::string& dossierSecours) {
    CopieChemin(cheminPrincipal, dossierPrincipal);
    CopieChemin(cheminSecours, dossierSecours);
    if (installe) return;
    installe = true;
    PrepareSysteme();
    // The first backtrace() loads the unwinder, which allocates: do it now
    // rather than inside the handler.
    void* adresse[1];
    backtrace(adresse, 1);

    stack_t pile{};
    pile.ss_sp = pileSecours;
    pile.ss_size = sizeof pileSecours;
    sigaltstack(&pile, nullptr);  // so that a stack overflow can be reported too

    struct sigaction action {};
    action.sa_sigaction = PiegeErreurs;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignaux) sigaction(signal, &action, nullptr);
}
