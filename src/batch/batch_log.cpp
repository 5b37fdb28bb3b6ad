#include "batch/batch_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "toolbox/json_text.h"

namespace {

constexpr size_t kMessagesMax = 10;
constexpr size_t kLongueurMessageMax = 300;

std::string NomMachine() {
    char nom[256] = {};
    if (gethostname(nom, sizeof nom - 1) != 0) return "";
    return nom;
}

std::string Decimal(double v) {
    char texte[32];
    std::snprintf(texte, sizeof texte, "%.2f", v);
    return texte;
}

}  // namespace

void AjouteFiguresPages(const std::string& sortie, BilanDocument& bilan) {
    std::istringstream lignes(sortie);
    std::string ligne;
    while (std::getline(lignes, ligne)) {
        if (ligne.rfind("page ", 0) != 0) continue;
        const size_t fin = ligne.rfind("': ");
        if (fin == std::string::npos) continue;
        ++bilan.pages;
        int portees = 0, mesures = 0, notes = 0;
        if (std::sscanf(ligne.c_str() + fin + 3, "%d staves, %d measures, %d notes", &portees,
                        &mesures, &notes) == 3) {
            bilan.portees += portees;
            bilan.mesures += mesures;
            bilan.notes += notes;
        }
    }
}

std::vector<std::string> LignesMessages(const std::string& erreurs) {
    std::vector<std::string> messages;
    std::istringstream lignes(erreurs);
    std::string ligne;
    while (std::getline(lignes, ligne) && messages.size() < kMessagesMax) {
        if (ligne.rfind("ruzo: ", 0) == 0) ligne.erase(0, 6);
        if (ligne.empty()) continue;
        if (ligne.size() > kLongueurMessageMax)
            ligne = ligne.substr(0, kLongueurMessageMax) + "...";
        messages.push_back(ligne);
    }
    return messages;
}

std::string LigneJournal(const BilanDocument& b) {
    std::string l =
        "{\"input\": " + ChaineJSON(b.source) + ", \"name\": " + ChaineJSON(b.nom) +
        ", \"status\": " + ChaineJSON(b.statut) + ", \"exit\": " + std::to_string(b.code) +
        ", \"pages\": " + std::to_string(b.pages) + ", \"staves\": " + std::to_string(b.portees) +
        ", \"measures\": " + std::to_string(b.mesures) + ", \"notes\": " + std::to_string(b.notes) +
        ", \"seconds\": " + Decimal(b.secondes) + ", \"peak_mb\": " + Decimal(b.memoireMo) +
        ", \"host\": " + ChaineJSON(NomMachine()) + ", \"messages\": [";
    for (size_t i = 0; i < b.messages.size(); ++i) l += (i ? ", " : "") + ChaineJSON(b.messages[i]);
    return l + "]}";
}

std::string LitTexteFichier(const std::string& chemin, size_t limite) {
    std::string texte;
    std::FILE* f = std::fopen(chemin.c_str(), "rb");
    if (f == nullptr) return texte;
    char tampon[4096];
    size_t lus = 0;
    while (texte.size() < limite && (lus = std::fread(tampon, 1, sizeof tampon, f)) > 0)
        texte.append(tampon, std::min(lus, limite - texte.size()));
    std::fclose(f);
    return texte;
}

bool JournalLot::Ouvre(const std::string& chemin) {
    fd_ = open(chemin.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    return fd_ >= 0;
}

JournalLot::~JournalLot() {
    if (fd_ >= 0) close(fd_);
}

bool JournalLot::Ecrit(const BilanDocument& bilan) {
    const std::string ligne = LigneJournal(bilan) + "\n";
    return fd_ >= 0 && write(fd_, ligne.data(), ligne.size()) == static_cast<ssize_t>(ligne.size());
}
