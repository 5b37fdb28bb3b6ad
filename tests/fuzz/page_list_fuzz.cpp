// Feeds arbitrary bytes to the page list reader as the document block of a
// page list file, then writes what was read and reads it again: no input may
// crash, overrun or hang the reader, and whatever it accepts must survive
// its own writer. The same bytes as a page list file go through load and
// save as every command does it: a list that is refused must come out of
// that byte for byte as it went in.
//
// Built with cmake -DRUZO_FUZZ=ON; `make fuzz SECONDS=N` runs every target.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "document/keyword_stream.h"
#include "recognition/page_list_file.h"
#include "toolbox/messages.h"

namespace {

bool Lit(std::FILE* f, ContenuListe& contenu) {
    FichierCourantTemporaire courant(f);
    return LitBloc("DebutDocument") && LitContenuListe(contenu);
}

std::string LitTout(const std::string& chemin) {
    std::string texte;
    std::FILE* f = std::fopen(chemin.c_str(), "rb");
    if (!f) return texte;
    char tampon[4096];
    size_t n;
    while ((n = std::fread(tampon, 1, sizeof tampon, f)) > 0) texte.append(tampon, n);
    std::fclose(f);
    return texte;
}

// Loaded then saved, as the commands do; a refused list stays as it was.
void VerifieRefusIntact(const uint8_t* octets, size_t taille) {
    static const std::string chemin =
        "/tmp/ruzo-page-list-fuzz-" + std::to_string(getpid()) + ".lfs";
    const std::string avant(reinterpret_cast<const char*>(octets), taille);
    std::FILE* f = std::fopen(chemin.c_str(), "wb");
    if (!f) return;
    std::fwrite(avant.data(), 1, avant.size(), f);
    std::fclose(f);
    FermeDocument();
    const bool accepte = ChargeListe(chemin, false, false);
    if (accepte) SauveListe();
    if (!accepte && LitTout(chemin) != avant) std::abort();
    FermeDocument();
    std::remove(chemin.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
    static const bool silence = (DefinitPuitsAlertes([](const std::string&) {}), true);
    (void)silence;
    VerifieRefusIntact(octets, taille);
    std::vector<uint8_t> copie(octets, octets + taille);
    std::FILE* f = fmemopen(copie.empty() ? nullptr : copie.data(), copie.size(), "rb");
    if (!f) return 0;
    ContenuListe contenu;
    const bool lu = Lit(f, contenu);
    std::fclose(f);
    if (!lu) return 0;

    // Written back as the current document, it must read the same pages.
    FermeDocument();
    Document.Pages = std::move(contenu.Pages);
    char* texte = nullptr;
    size_t longueur = 0;
    std::FILE* sortie = open_memstream(&texte, &longueur);
    bool ecrit = false;
    {
        FichierCourantTemporaire courant(sortie);
        ecrit = EcritListePages();
    }
    std::fclose(sortie);
    if (ecrit) {
        std::FILE* relu = fmemopen(texte, longueur, "rb");
        ContenuListe encore;
        if (!relu || !Lit(relu, encore) || encore.Pages.size() != Document.Pages.size())
            std::abort();
        for (size_t i = 0; i < encore.Pages.size(); ++i)
            if (encore.Pages[i].Aires.size() != Document.Pages[i].Aires.size()) std::abort();
        std::fclose(relu);
    }
    std::free(texte);
    FermeDocument();
    return 0;
}
