#include "image/png_loader.h"

#include <cstdio>
#include <cstring>

#include "image/colour_conversion.h"
#include "image/page_rows.h"
#include "toolbox/messages.h"
#include "toolbox/png_io.h"

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The signature and the image header chunk that must follow it.
struct DebutPNG {
    unsigned char octets[24] = {};
    size_t lus = 0;

    bool Signature() const { return lus >= 8 && std::memcmp(octets, kSignature, 8) == 0; }
    long Mot(int position) const {
        return (long{octets[position]} << 24) | (long{octets[position + 1]} << 16) |
               (long{octets[position + 2]} << 8) | long{octets[position + 3]};
    }
};

DebutPNG LitDebut(const std::string& nom) {
    DebutPNG debut;
    std::FILE* f = std::fopen(nom.c_str(), "rb");
    if (!f) return debut;
    debut.lus = std::fread(debut.octets, 1, sizeof debut.octets, f);
    std::fclose(f);
    return debut;
}

}  // namespace

bool EstPNG(const std::string& nom) {
    return LitDebut(nom).Signature();
}

Offscreen ChargePNG(const std::string& nom, int dimensionMax) {
    // The size is checked here, so that the user is told why a huge picture
    // is refused; the decoder checks it again.
    const DebutPNG debut = LitDebut(nom);
    if (debut.lus == sizeof debut.octets && std::memcmp(debut.octets + 12, "IHDR", 4) == 0 &&
        !TailleImageAcceptable("PNG", debut.Mot(16), debut.Mot(20), dimensionMax))
        return nullptr;
    class VersPage : public DestinationPNG {
      public:
        bool Dimensions(int largeur, int hauteur) override {
            return page.Reserve(largeur, hauteur);
        }
        bool Ligne(const uint8_t* rvb) override { return page.AjouteLigneRVB(rvb); }
        bool PrendGris() const override { return true; }
        bool LigneGrise(const uint8_t* gris) override { return page.AjouteLigneGrise(gris); }
        LignesPage page;
    } destination;
    std::string erreur;
    if (!LitPNGParLignes(nom, destination, erreur, dimensionMax)) {
        Alerte("PNG error: %s", erreur.c_str());
        return nullptr;
    }
    return destination.page.Termine();
}
