// Feeds arbitrary bytes to the page list reader as the document block of a
// page list file, then writes what was read and reads it again: no input may
// crash, overrun or hang the reader, and whatever it accepts must survive
// its own writer.
//
// Built with cmake -DRUZO_FUZZ=ON; `make fuzz SECONDS=N` runs every target.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "document/keyword_stream.h"
#include "recognition/page_list_file.h"
#include "toolbox/messages.h"

namespace {

bool Lit(std::FILE* f, ContenuListe& contenu) {
    FichierCourantTemporaire courant(f);
    return LitBloc("DebutDocument") && LitContenuListe(contenu);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
    static const bool silence = (DefinitPuitsAlertes([](const std::string&) {}), true);
    (void)silence;
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
