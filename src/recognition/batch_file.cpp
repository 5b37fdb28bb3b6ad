#include "recognition/batch_file.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "document/editor_link.h"
#include "document/preferences.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace {

constexpr const char* kNomFichierCommande = "PirlScan.cmd";
constexpr int kLongueurMaxLigne = 254;

std::array<unsigned char, 256> ConstruitTablePliage() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<unsigned char>(c - 'a' + 'A');
    const auto plie = [&t](std::initializer_list<int> codes, char base) {
        for (int c : codes) t[c] = static_cast<unsigned char>(base);
    };
    plie({130, 141}, 'C');
    plie({131, 142, 143, 144, 145, 230, 232, 233}, 'E');
    plie({132}, 'N');
    plie({133, 151, 152, 153, 154, 155, 238, 239, 241}, 'O');
    plie({134, 156, 157, 158, 159, 242, 243, 244}, 'U');
    plie({135, 136, 137, 138, 139, 140, 203, 204, 229, 231}, 'A');
    plie({146, 147, 148, 149, 234, 235, 236, 237}, 'I');
    return t;
}

}  // namespace

bool MemesNomsSansCasseNiAccents(const std::string& a, const std::string& b) {
    static const std::array<unsigned char, 256> pliage = ConstruitTablePliage();
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (pliage[static_cast<unsigned char>(a[i])] != pliage[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

std::string CheminFichierCommande() {
    return FichierPreferences(kNomFichierCommande);
}

void EffaceFichierCommande() {
    std::remove(CheminFichierCommande().c_str());
}

bool ContientEntreeCommande(const std::string& cheminMusique) {
    std::FILE* f = std::fopen(CheminFichierCommande().c_str(), "r");
    if (!f) return false;
    char ligne[kLongueurMaxLigne + 2];
    bool trouve = false;
    while (!trouve && std::fgets(ligne, sizeof ligne, f)) {
        size_t n = std::strlen(ligne);
        if (n > 0 && ligne[n - 1] == '\n') ligne[--n] = '\0';
        trouve = MemesNomsSansCasseNiAccents(ligne, cheminMusique);
    }
    std::fclose(f);
    return trouve;
}

bool AjouteEntreeCommande(const EntreeCommande& e) {
    if (ContientEntreeCommande(e.cheminMusique)) return true;
    std::FILE* f = std::fopen(CheminFichierCommande().c_str(), "a+");
    if (!f) {
        Alerte("Can't open result file '%s'", kNomFichierCommande);
        return false;
    }
    std::fprintf(f, "%s\n", e.cheminMusique.c_str());
    std::fprintf(f, "%d\n", e.volume);
    std::fprintf(f, "%s\n", e.dossier.c_str());
    std::fprintf(f, "%ld\n", e.repertoire);
    return std::fclose(f) == 0;
}

bool AnnonceExport(int chargeAuto, bool documentEntier) {
    return chargeAuto == 1 || (chargeAuto == 2 && documentEntier);
}

bool AnnonceFichierMusical(const std::string& cheminMusique, bool documentEntier) {
    if (!AnnonceExport(Prefs.ChargeAuto, documentEntier)) return false;
    // The editor runs elsewhere: it needs the full path.
    std::error_code erreur;
    const std::filesystem::path chemin = std::filesystem::absolute(cheminMusique, erreur);
    EntreeCommande entree;
    entree.cheminMusique = erreur ? cheminMusique : chemin.string();
    entree.dossier = erreur ? "." : chemin.parent_path().string();
    if (!AjouteEntreeCommande(entree)) return false;
    if (Prefs.DuokalPremierPlan && LienEditeur.connu) LanceEditeur(LienEditeur.lien);
    return true;
}
