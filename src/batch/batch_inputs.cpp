#include "batch/batch_inputs.h"

#include <strings.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "batch/natural_order.h"

namespace fs = std::filesystem;

namespace {

bool AExtension(const std::string& chemin, const char* extension) {
    const std::string e = fs::path(chemin).extension().string();
    return strcasecmp(e.c_str(), extension) == 0;
}

bool EstListe(const std::string& chemin) {
    return AExtension(chemin, ".lfs");
}
bool EstPdf(const std::string& chemin) {
    return AExtension(chemin, ".pdf");
}

std::string Absolu(const fs::path& p) {
    std::error_code erreur;
    const fs::path a = fs::absolute(p, erreur);
    return (erreur ? p : a).lexically_normal().string();
}

std::vector<fs::path> ContenuTrie(const fs::path& dossier, std::error_code& erreur) {
    std::vector<fs::path> contenu;
    for (fs::directory_iterator it(dossier, erreur), fin; !erreur && it != fin;
         it.increment(erreur))
        contenu.push_back(it->path());
    std::sort(contenu.begin(), contenu.end(), [](const fs::path& a, const fs::path& b) {
        return AvantEnOrdreNaturel(a.filename().string(), b.filename().string());
    });
    return contenu;
}

// "a/b/c" below the named folder becomes "a-b-c"; the folder itself keeps
// its own name.
std::string NomRelatif(const fs::path& racine, const fs::path& relatif, bool sansExtension) {
    if (relatif.empty()) {
        fs::path dossier = fs::path(Absolu(racine));
        if (dossier.filename().empty()) dossier = dossier.parent_path();
        return dossier.filename().string();
    }
    fs::path p = relatif;
    if (sansExtension) p.replace_extension();
    std::string nom;
    for (const fs::path& partie : p) nom += (nom.empty() ? "" : "-") + partie.string();
    return nom;
}

class Recherche {
  public:
    explicit Recherche(InventaireLot& inventaire) : inv_(inventaire) {}

    void Entree(const std::string& entree) {
        std::error_code erreur;
        const fs::path p(entree);
        if (fs::is_directory(p, erreur)) {
            Dossier(p.lexically_normal(), fs::path(), 0);
        } else if (!fs::is_regular_file(p, erreur)) {
            inv_.erreurs.push_back("'" + entree + "' does not exist or is not a file or folder");
        } else if (EstListe(entree) || EstPdf(entree)) {
            Fichier(p, p.stem().string());
        } else if (EstImagePage(entree)) {
            inv_.documents.push_back(
                {entree, p.stem().string(), GenreDocument::Images, {Absolu(p)}});
        } else {
            inv_.erreurs.push_back("'" + entree +
                                   "' is not a page image, a page list (.lfs), a PDF or a folder");
        }
    }

  private:
    void Fichier(const fs::path& p, const std::string& nom) {
        inv_.documents.push_back(
            {p.string(),
             nom,
             EstListe(p.string()) ? GenreDocument::ListePages : GenreDocument::Pdf,
             {}});
    }

    // The folder's own images first, then its page lists and PDFs, then
    // its sub-folders, each group in natural order.
    // Deeper than this is not a collection a person made.
    static constexpr int kProfondeurMax = 32;

    void Dossier(const fs::path& racine, const fs::path& relatif, int profondeur) {
        if (profondeur > kProfondeurMax) {
            inv_.erreurs.push_back("'" + racine.string() + "' holds folders nested deeper than " +
                                   std::to_string(kProfondeurMax));
            return;
        }
        const fs::path ici = relatif.empty() ? racine : racine / relatif;
        std::error_code erreur;
        const std::vector<fs::path> contenu = ContenuTrie(ici, erreur);
        if (erreur) {
            inv_.erreurs.push_back("can't read the folder '" + ici.string() + "'");
            return;
        }
        std::vector<fs::path> dossiers;
        DocumentLot images{
            ici.string(), NomRelatif(racine, relatif, false), GenreDocument::Images, {}};
        std::vector<fs::path> fichiers;
        for (const fs::path& p : contenu) {
            if (fs::is_directory(p, erreur)) {
                // Linked folders are not followed: a link back up would never end.
                if (!fs::is_symlink(p, erreur)) dossiers.push_back(p);
            } else if (fs::is_regular_file(p, erreur)) {
                if (EstImagePage(p.string()))
                    images.pages.push_back(Absolu(p));
                else if (EstListe(p.string()) || EstPdf(p.string()))
                    fichiers.push_back(p);
            }
        }
        if (!images.pages.empty()) inv_.documents.push_back(images);
        for (const fs::path& f : fichiers)
            Fichier(f, NomRelatif(racine, relatif / f.filename(), true));
        for (const fs::path& d : dossiers) Dossier(racine, relatif / d.filename(), profondeur + 1);
    }

    InventaireLot& inv_;
};

void VerifieNomsUniques(InventaireLot& inv) {
    std::map<std::string, const DocumentLot*> vus;
    for (const DocumentLot& d : inv.documents) {
        const auto [it, nouveau] = vus.emplace(d.nom, &d);
        if (!nouveau)
            inv.erreurs.push_back("'" + it->second->source + "' and '" + d.source +
                                  "' would both write '" + d.nom +
                                  "': name their parent folder instead, or rename one");
    }
}

}  // namespace

bool EstImagePage(const std::string& chemin) {
    for (const char* e : {".png", ".bmp", ".tif", ".tiff", ".jpg", ".jpeg", ".pict", ".pct"})
        if (AExtension(chemin, e)) return true;
    return false;
}

InventaireLot TrouveDocuments(const std::vector<std::string>& entrees) {
    InventaireLot inv;
    Recherche recherche(inv);
    for (const std::string& e : entrees) recherche.Entree(e);
    VerifieNomsUniques(inv);
    if (inv.documents.empty() && inv.erreurs.empty())
        inv.erreurs.push_back("no page images, page lists or PDFs in what was named");
    return inv;
}
