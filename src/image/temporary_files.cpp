#include "image/temporary_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace {

constexpr const char* kPrefixe = "Ruzo";
constexpr int kCroissanceSlots = 10;

struct SlotTemporaire {
    bool enUsage = false;
    char nom[33] = {};
    std::FILE* fichier = nullptr;
};

// The slots and the name counter are shared by every recognition running in
// the process; the lock guards both.
std::mutex verrouSlots;
std::vector<SlotTemporaire> slots;
long compteurNoms = 0;

std::string CheminTemporaire(const char* nom) {
    return DossierTemporaire() + "/" + nom;
}

// Creates the file exclusively and locks it. The lock is taken on the very
// file the name still points to: a clean-up running between the creation and
// the lock could have removed the name, in which case the next one is tried.
std::FILE* OuvreNouveauFichier(char nom[33]) {
    CreeDossier(DossierTemporaire());
    for (int essais = 0; essais < 100000; ++essais) {
        std::snprintf(nom, 33, "%s%ld.tmp", kPrefixe, compteurNoms++);
        const std::string chemin = CheminTemporaire(nom);
        const int fd = open(chemin.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        struct stat ouvert {
        }, nomme{};
        if (flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &ouvert) != 0 ||
            stat(chemin.c_str(), &nomme) != 0 || ouvert.st_ino != nomme.st_ino) {
            close(fd);
            continue;
        }
        std::FILE* f = fdopen(fd, "wb+");
        if (!f) {
            close(fd);
            unlink(chemin.c_str());
        }
        return f;
    }
    return nullptr;
}

SlotTemporaire* SlotLibre() {
    for (auto& s : slots)
        if (!s.enUsage) return &s;
    slots.resize(slots.size() + kCroissanceSlots);
    for (auto& s : slots)
        if (!s.enUsage) return &s;
    return nullptr;
}

}  // namespace

std::FILE* CreeFichierTemporaire() {
    const std::lock_guard<std::mutex> verrou(verrouSlots);
    SlotTemporaire* slot = SlotLibre();
    std::FILE* f = OuvreNouveauFichier(slot->nom);
    if (!f) {
        Alerte("Can't open temporary file");
        return nullptr;
    }
    slot->enUsage = true;
    slot->fichier = f;
    return f;
}

void EffaceFichierTemporaire(std::FILE*& fichier) {
    if (!fichier) return;
    const std::lock_guard<std::mutex> verrou(verrouSlots);
    for (auto& s : slots) {
        if (s.enUsage && s.fichier == fichier) {
            std::fclose(fichier);
            unlink(CheminTemporaire(s.nom).c_str());
            s = SlotTemporaire{};
            fichier = nullptr;
            return;
        }
    }
    Alerte("EffaceFichierTemporaire; file not found");
}

int NombreSlotsTemporaires() {
    const std::lock_guard<std::mutex> verrou(verrouSlots);
    return static_cast<int>(slots.size());
}

std::FILE* PushOffscreen(Offscreen o, bool* complet) {
    if (complet) *complet = false;
    std::FILE* f = CreeFichierTemporaire();
    if (!f) return nullptr;
    const uint32_t magic = kMagicOffscreen;
    const int16_t entete[3] = {o->largeur, o->hauteur, static_cast<int16_t>(o->pasLigne)};
    // The rows follow one another in memory as in the file: one write.
    const size_t taille = static_cast<size_t>(o->pasLigne) * o->hauteur;
    const bool ok = std::fwrite(&magic, 4, 1, f) == 1 && std::fwrite(entete, 2, 3, f) == 3 &&
                    std::fwrite(o->PremiereLigne(), 1, taille, f) == taille;
    if (std::fflush(f) != 0 || !ok)
        Alerte("Can't write the page to a temporary file");
    else if (complet)
        *complet = true;
    return f;
}

bool ReadEnteteOffscreenFromFile(std::FILE* fichier, EnteteOffscreen& entete) {
    uint32_t magic = 0;
    if (std::fseek(fichier, 0, SEEK_SET) != 0 || std::fread(&magic, 4, 1, fichier) != 1 ||
        magic != kMagicOffscreen) {
        Alerte("ReadEnteteOffscreenFromFile:Bad temporay file");
        return false;
    }
    int16_t valeurs[3];
    if (std::fread(valeurs, 2, 3, fichier) != 3) {
        Alerte("ReadEnteteOffscreenFromFile:Bad temporay file");
        return false;
    }
    entete = {valeurs[0], valeurs[1], valeurs[2]};
    return true;
}

Offscreen GetOffscreenFromFile(std::FILE* fichier) {
    EnteteOffscreen entete;
    if (!fichier || !ReadEnteteOffscreenFromFile(fichier, entete)) return nullptr;
    // Every byte is read from the file, or erased when the file falls short.
    Offscreen o = CreeOffscreenAEcrire(entete.largeur, entete.hauteur, 8);
    if (!o) return nullptr;
    if (o->pasLigne != entete.pasLigne || o->largeur != entete.largeur ||
        o->hauteur != entete.hauteur) {
        std::fill(o->pixels.begin(), o->pixels.end(), IndexBlanc);
        Alerte("GetOffscreenFromFile: Bad Size");
        return o;
    }
    const size_t lus = std::fread(o->PremiereLigne(), 1, o->pixels.size(), fichier);
    if (lus < o->pixels.size()) {
        std::fill(o->pixels.begin() + static_cast<std::ptrdiff_t>(lus), o->pixels.end(),
                  IndexBlanc);
        Alerte("GetOffscreenFromFile: Read error");
    }
    return o;
}

Offscreen DupliquePartieOffscreenFromFile(std::FILE* fichier, const Rect& r) {
    EnteteOffscreen entete;
    if (!fichier || !ReadEnteteOffscreenFromFile(fichier, entete)) return nullptr;
    Offscreen o = CreeOffscreen(r.Largeur(), r.Hauteur(), 8);
    if (!o) {
        Alerte("DupliquePartieOffscreenFromFile: not enough memory");
        return nullptr;
    }
    // The caller keeps the rectangle inside the pushed image; what lies
    // outside it is left white rather than read from elsewhere in the file.
    const int gauche = std::max<int>(r.left, 0);
    const int droite = std::min<int>(r.right, entete.largeur);
    if (droite <= gauche) return o;
    for (int k = 0; k < r.Hauteur(); ++k) {
        const int ligne = r.top + k;
        if (ligne < 0 || ligne >= entete.hauteur) continue;
        const long position =
            kTailleEnteteOffscreen + static_cast<long>(ligne) * entete.pasLigne + gauche;
        uint8_t* dest =
            o->PremiereLigne() + static_cast<size_t>(k) * o->pasLigne + (gauche - r.left);
        if (std::fseek(fichier, position, SEEK_SET) != 0 ||
            std::fread(dest, 1, droite - gauche, fichier) != static_cast<size_t>(droite - gauche)) {
            Alerte("A temporary copy of the page is shorter than the page");
            break;
        }
    }
    return o;
}

void NettoieFichiersTemporairesAuDemarrage() {
    DIR* dossier = opendir(DossierTemporaire().c_str());
    if (!dossier) return;
    const size_t longueurPrefixe = std::strlen(kPrefixe);
    while (dirent* entree = readdir(dossier)) {
        const std::string nom = entree->d_name;
        if (nom.size() < longueurPrefixe + 4 || nom.compare(0, longueurPrefixe, kPrefixe) != 0 ||
            nom.compare(nom.size() - 4, 4, ".tmp") != 0)
            continue;
        const std::string chemin = CheminTemporaire(nom.c_str());
        const int fd = open(chemin.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {  // another process is using it
            close(fd);
            continue;
        }
        const bool efface = unlink(chemin.c_str()) == 0;
        close(fd);
        if (!efface) break;
    }
    closedir(dossier);
}

void EffaceTousFichiersTemporaires() {
    const std::lock_guard<std::mutex> verrou(verrouSlots);
    for (auto& s : slots) {
        if (!s.enUsage) continue;
        std::fclose(s.fichier);
        unlink(CheminTemporaire(s.nom).c_str());
    }
    slots.clear();
    slots.shrink_to_fit();
}
