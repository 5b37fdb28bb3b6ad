#include "image/pict_loader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "image/colour_conversion.h"
#include "toolbox/messages.h"

namespace {

constexpr long kTailleEntetePICT = 512;

// Opcodes of version 2 pictures (version 1 uses the low byte of the first ones).
constexpr int kOpVersion = 0x0011;
constexpr int kOpRegionDecoupe = 0x0001;
constexpr int kOpBitsRect = 0x0090;
constexpr int kOpBitsRgn = 0x0091;
constexpr int kOpPackBitsRect = 0x0098;
constexpr int kOpPackBitsRgn = 0x0099;
constexpr int kOpDirectBitsRect = 0x009A;
constexpr int kOpDirectBitsRgn = 0x009B;
constexpr int kOpFin = 0x00FF;

struct ErreurPICT {
    std::string texte;
    bool pasUnePicture = false;  // no picture version after the frame: not a PICT at all
};

// Big-endian reading of the picture held in memory; every read is checked
// against the end of the data.
class Lecteur {
  public:
    explicit Lecteur(const std::vector<uint8_t>& donnees) : d_(donnees) {}

    size_t Position() const { return pos_; }
    size_t Reste() const { return d_.size() - pos_; }
    void Saute(size_t n) {
        if (n > Reste())
            throw ErreurPICT{TexteLangue("the picture ends in the middle of an opcode")};
        pos_ += n;
    }
    void AligneMot() {
        if (pos_ % 2 == 1) Saute(std::min<size_t>(1, Reste()));
    }
    uint8_t Octet() {
        Saute(1);
        return d_[pos_ - 1];
    }
    uint16_t Mot() {
        Saute(2);
        return static_cast<uint16_t>((d_[pos_ - 2] << 8) | d_[pos_ - 1]);
    }
    uint32_t Long() {
        const uint32_t haut = Mot();
        return (haut << 16) | Mot();
    }
    Rect Rectangle() {
        Rect r;
        r.top = static_cast<int16_t>(Mot());
        r.left = static_cast<int16_t>(Mot());
        r.bottom = static_cast<int16_t>(Mot());
        r.right = static_cast<int16_t>(Mot());
        return r;
    }
    const uint8_t* Octets(size_t n) {
        Saute(n);
        return d_.data() + pos_ - n;
    }

  private:
    const std::vector<uint8_t>& d_;
    size_t pos_ = 0;
};

// The description of a pixel map or bitmap as the bitmap opcodes give it.
struct CartePixels {
    int pasLigne = 0;
    Rect bornes;
    int typeCompactage = 0;
    int bitsParPixel = 1;
    int nbComposantes = 1;
    bool direct = false;
    std::array<uint8_t, 256> table{};  // colour table entries to indices

    int Largeur() const { return bornes.Largeur(); }
    int Hauteur() const { return bornes.Hauteur(); }
};

// The source pixels of one opcode, as indices, before they are drawn.
struct ImageSource {
    int largeur = 0;
    int hauteur = 0;
    std::vector<uint8_t> indices;
};

void LitTableCouleurs(Lecteur& l, CartePixels& c) {
    l.Long();  // seed
    const uint16_t drapeaux = l.Mot();
    const int taille = static_cast<int16_t>(l.Mot()) + 1;
    if (taille < 0 || taille > 256) throw ErreurPICT{TexteLangue("bad colour table size")};
    c.table.fill(IndexNoir);
    for (int i = 0; i < taille; ++i) {
        const uint16_t valeur = l.Mot();
        const uint16_t r = l.Mot(), g = l.Mot(), b = l.Mot();
        const int position = (drapeaux & 0x8000) ? i : (valeur & 0xFF);
        c.table[position] = IndexDeRVB(static_cast<uint8_t>(r >> 8), static_cast<uint8_t>(g >> 8),
                                       static_cast<uint8_t>(b >> 8));
    }
}

// The fields of a pixel map after its row bytes and bounds.
void LitChampsCarte(Lecteur& l, CartePixels& c) {
    l.Mot();  // version
    c.typeCompactage = l.Mot();
    l.Long();  // packed size
    l.Long();  // horizontal resolution
    l.Long();  // vertical resolution
    const uint16_t typePixel = l.Mot();
    c.bitsParPixel = l.Mot();
    c.nbComposantes = l.Mot();
    l.Mot();   // component size
    l.Long();  // plane bytes
    l.Long();  // colour table handle
    l.Long();  // reserved
    c.direct = typePixel == 16;
}

void VerifieCarte(const CartePixels& c, int dimensionMax) {
    if (c.bornes.EstVide()) throw ErreurPICT{TexteLangue("empty pixel map")};
    if (c.Largeur() > dimensionMax || c.Hauteur() > dimensionMax)
        throw ErreurPICT{TexteLangue("pixel map too large")};
    const bool indexe = !c.direct && (c.bitsParPixel == 1 || c.bitsParPixel == 2 ||
                                      c.bitsParPixel == 4 || c.bitsParPixel == 8);
    const bool direct = c.direct && (c.bitsParPixel == 16 || c.bitsParPixel == 32);
    if (!indexe && !direct)
        throw ErreurPICT{
            FormateTexte(TexteLangue("%d bits per pixel are not supported"), c.bitsParPixel)};
    if (c.direct && c.bitsParPixel == 32 && c.nbComposantes != 3 && c.nbComposantes != 4)
        throw ErreurPICT{TexteLangue("bad component count")};
    if (int64_t{c.Largeur()} * c.bitsParPixel > int64_t{c.pasLigne} * 8)
        throw ErreurPICT{TexteLangue("row bytes too small for the pixel map")};
}

// PackBits: a flag byte n, then n + 1 literal units (n < 128) or one unit
// repeated 257 - n times (n > 128); 128 does nothing. Units are bytes or, for
// 16-bit pixels, words.
void DecompacteLigne(const uint8_t* source, size_t taille, int unite, std::vector<uint8_t>& ligne) {
    size_t i = 0, o = 0;
    while (i < taille) {
        const int n = source[i++];
        if (n == 128) continue;
        const size_t unites = n < 128 ? size_t(n) + 1 : size_t(257 - n);
        const size_t octets = unites * unite;
        if (o + octets > ligne.size())
            throw ErreurPICT{TexteLangue("packed row overruns its row bytes")};
        if (n < 128) {
            if (i + octets > taille) throw ErreurPICT{TexteLangue("packed row cut short")};
            std::copy_n(source + i, octets, ligne.begin() + static_cast<long>(o));
            i += octets;
        } else {
            if (i + unite > taille) throw ErreurPICT{TexteLangue("packed row cut short")};
            for (size_t k = 0; k < unites; ++k)
                std::copy_n(source + i, unite, ligne.begin() + static_cast<long>(o + k * unite));
            i += unite;
        }
        o += octets;
    }
}

// The bytes of one stored row, unpacked. `compacte` says whether rows carry
// a byte count and PackBits data.
void LitLigne(Lecteur& l, const CartePixels& c, bool compacte, size_t tailleDepliee, int unite,
              std::vector<uint8_t>& ligne) {
    std::fill(ligne.begin(), ligne.end(), 0);
    if (!compacte) {
        const uint8_t* brut = l.Octets(tailleDepliee);
        std::copy_n(brut, tailleDepliee, ligne.begin());
        return;
    }
    const size_t compte = c.pasLigne > 250 ? l.Mot() : l.Octet();
    DecompacteLigne(l.Octets(compte), compte, unite, ligne);
}

uint8_t Developpe5(int v) {
    return static_cast<uint8_t>((v << 3) | (v >> 2));
}

// One unpacked row to indices.
void ConvertitLigne(const CartePixels& c, const std::vector<uint8_t>& ligne, bool plans,
                    ConvertisseurCouleurs& conversion, uint8_t* indices) {
    const int largeur = c.Largeur();
    for (int x = 0; x < largeur; ++x) {
        if (!c.direct) {
            const int bits = c.bitsParPixel;
            const int parOctet = 8 / bits;
            const int decalage = 8 - bits * (x % parOctet + 1);
            indices[x] = c.table[(ligne[x / parOctet] >> decalage) & ((1 << bits) - 1)];
        } else if (c.bitsParPixel == 16) {
            const int v = (ligne[2 * x] << 8) | ligne[2 * x + 1];
            indices[x] = conversion.Index(Developpe5((v >> 10) & 31), Developpe5((v >> 5) & 31),
                                          Developpe5(v & 31));
        } else if (plans) {
            // Component planes: alpha (when four components), red, green, blue.
            const int premier = c.nbComposantes == 4 ? largeur : 0;
            indices[x] = conversion.Index(ligne[premier + x], ligne[premier + largeur + x],
                                          ligne[premier + 2 * largeur + x]);
        } else if (c.typeCompactage == 2) {
            indices[x] = conversion.Index(ligne[3 * x], ligne[3 * x + 1], ligne[3 * x + 2]);
        } else {
            indices[x] = conversion.Index(ligne[4 * x + 1], ligne[4 * x + 2], ligne[4 * x + 3]);
        }
    }
}

ImageSource LitPixels(Lecteur& l, const CartePixels& c, bool compactable) {
    const int largeur = c.Largeur(), hauteur = c.Hauteur();
    int type = c.typeCompactage;
    if (c.direct && type == 0) type = c.bitsParPixel == 16 ? 3 : 4;
    bool compacte = compactable && c.pasLigne >= 8;
    bool plans = false;
    size_t tailleDepliee = static_cast<size_t>(c.pasLigne);
    int unite = 1;
    if (c.direct && c.pasLigne >= 8) {
        if (type == 1) {
            compacte = false;
        } else if (type == 2 && c.bitsParPixel == 32) {
            compacte = false;
            tailleDepliee = size_t(largeur) * 3;
        } else if (type == 3 && c.bitsParPixel == 16) {
            unite = 2;
        } else if (type == 4 && c.bitsParPixel == 32) {
            plans = true;
            tailleDepliee = size_t(largeur) * c.nbComposantes;
        } else {
            throw ErreurPICT{FormateTexte(TexteLangue("packing type %d is not supported"), type)};
        }
    }
    // Each stored row takes at least its byte count (packed) or its whole
    // size: a header announcing more rows than the data can hold is refused
    // before anything is allocated.
    const size_t minimumParLigne = compacte ? 1 : tailleDepliee;
    if (size_t(hauteur) * minimumParLigne > l.Reste())
        throw ErreurPICT{TexteLangue("pixel data cut short")};

    ImageSource image;
    image.largeur = largeur;
    image.hauteur = hauteur;
    image.indices.resize(size_t(largeur) * hauteur);
    std::vector<uint8_t> ligne(std::max(tailleDepliee, static_cast<size_t>(c.pasLigne)));
    ConvertisseurCouleurs conversion;
    for (int y = 0; y < hauteur; ++y) {
        LitLigne(l, c, compacte, tailleDepliee, unite, ligne);
        ConvertitLigne(c, ligne, plans, conversion, image.indices.data() + size_t(y) * largeur);
    }
    return image;
}

// Draws the source rectangle of the image into the destination rectangle
// of the picture, scaled to it, clipped to the page.
void Dessine(const ImageSource& image, const Rect& bornes, const Rect& source,
             const Rect& destination, const Rect& cadre, Offscreen page) {
    if (source.EstVide() || destination.EstVide()) return;
    const VuePixels base = VueOffscreen(page);
    const int64_t ls = source.Largeur(), hs = source.Hauteur();
    const int64_t ld = destination.Largeur(), hd = destination.Hauteur();
    for (int64_t dy = 0; dy < hd; ++dy) {
        const int y = static_cast<int>(destination.top + dy - cadre.top);
        if (y < 0 || y >= page->hauteur) continue;
        const int64_t sy = source.top + dy * hs / hd - bornes.top;
        if (sy < 0 || sy >= image.hauteur) continue;
        const uint8_t* ligne = image.indices.data() + sy * image.largeur;
        for (int64_t dx = 0; dx < ld; ++dx) {
            const int x = static_cast<int>(destination.left + dx - cadre.left);
            const int64_t sx = source.left + dx * ls / ld - bornes.left;
            if (x < 0 || x >= page->largeur || sx < 0 || sx >= image.largeur) continue;
            EcritPixel(base, x, y, ligne[sx]);
        }
    }
}

void SauteRegion(Lecteur& l) {
    const uint16_t taille = l.Mot();
    if (taille < 10) throw ErreurPICT{TexteLangue("bad region size")};
    l.Saute(taille - 2u);
}

// BitsRect, BitsRgn, PackBitsRect, PackBitsRgn, DirectBitsRect, DirectBitsRgn.
void TraiteBits(Lecteur& l, int op, const Rect& cadre, Offscreen page, int dimensionMax) {
    CartePixels c;
    const bool direct = op == kOpDirectBitsRect || op == kOpDirectBitsRgn;
    if (direct) l.Long();  // base address
    const uint16_t pasLigne = l.Mot();
    c.pasLigne = pasLigne & 0x3FFF;
    c.bornes = l.Rectangle();
    if (direct || (pasLigne & 0x8000)) {
        LitChampsCarte(l, c);
        if (direct != c.direct)
            throw ErreurPICT{TexteLangue("pixel type does not match the opcode")};
        if (!direct) LitTableCouleurs(l, c);
    } else {
        c.table.fill(IndexBlanc);
        c.table[1] = IndexNoir;
    }
    VerifieCarte(c, dimensionMax);
    const Rect source = l.Rectangle();
    const Rect destination = l.Rectangle();
    l.Mot();  // transfer mode: every mode is drawn as a copy
    if (op == kOpBitsRgn || op == kOpPackBitsRgn || op == kOpDirectBitsRgn) SauteRegion(l);
    const bool compactable = op != kOpBitsRect && op != kOpBitsRgn;
    const ImageSource image = LitPixels(l, c, compactable);
    Dessine(image, c.bornes, source, destination, cadre, page);
}

// A pixel pattern (opcodes 0x12 to 0x14): read only to be skipped.
void SauteMotifPixels(Lecteur& l, int dimensionMax) {
    const uint16_t type = l.Mot();
    l.Saute(8);
    if (type == 2) return l.Saute(6);  // a dither pattern: one colour
    if (type != 1) return;
    CartePixels c;
    c.pasLigne = l.Mot() & 0x3FFF;
    c.bornes = l.Rectangle();
    LitChampsCarte(l, c);
    LitTableCouleurs(l, c);
    c.direct = false;
    VerifieCarte(c, dimensionMax);
    LitPixels(l, c, true);
}

// The data length of the opcodes that are not drawn; -1 for those read by
// their own function.
void SauteOpcode(Lecteur& l, int op, int dimensionMax) {
    static constexpr std::array<int8_t, 0x30> kLongueurs = {
        0, -1, 8,  2,  1,  2,  4,  4,  2,  8,  8,  4,  4,  2,  4,  4,   // 0x00
        8, 1,  -1, -1, -1, 2,  2,  0,  0,  0,  6,  6,  0,  6,  0,  6,   // 0x10
        8, 4,  6,  2,  -2, -2, -2, -2, -3, -4, -4, -5, -2, -2, -2, -2,  // 0x20
    };
    if (op < 0x30) {
        const int n = kLongueurs[op];
        if (n >= 0) return l.Saute(size_t(n));
        if (n == -1)
            return op == kOpRegionDecoupe ? SauteRegion(l) : SauteMotifPixels(l, dimensionMax);
        if (n == -2) return l.Saute(l.Mot());
        const size_t avantTexte = n == -3 ? 4 : n == -5 ? 2 : 1;
        l.Saute(avantTexte);
        return l.Saute(l.Octet());
    }
    if (op < 0xB0) {
        const int famille = op & 0xF8;
        if (famille == 0x30 || famille == 0x40 || famille == 0x50) return l.Saute(8);
        if ((op & 0xF0) == 0x60) return l.Saute((op & 0x08) ? 4 : 12);
        if (op >= 0x70 && op <= 0x77) {
            const uint16_t taille = l.Mot();
            if (taille < 2) throw ErreurPICT{TexteLangue("bad polygon size")};
            return l.Saute(taille - 2u);
        }
        if (op >= 0x80 && op <= 0x87) return SauteRegion(l);
        if ((op & 0x08) && op < 0x90) return;  // the "same" shape opcodes
        if (op == 0xA0) return l.Saute(2);
        if (op == 0xA1) {
            l.Mot();
            return l.Saute(l.Mot());
        }
        return l.Saute(l.Mot());  // reserved opcodes with a length word
    }
    if (op < 0xD0) return;
    if (op < 0x100) return l.Saute(l.Long());
    if (op < 0x8000) return l.Saute(size_t(op >> 8) * 2);
    if (op < 0x8100) return;
    l.Saute(l.Long());
}

void DessinePicture(Lecteur& l, const Rect& cadre, bool version2, Offscreen page,
                    int dimensionMax) {
    for (;;) {
        if (version2) l.AligneMot();
        const int op = version2 ? l.Mot() : l.Octet();
        if (op == kOpFin) return;
        if (op == kOpVersion) {
            l.Saute(version2 ? 2 : 1);
        } else if (op == kOpBitsRect || op == kOpBitsRgn || op == kOpPackBitsRect ||
                   op == kOpPackBitsRgn || op == kOpDirectBitsRect || op == kOpDirectBitsRgn) {
            TraiteBits(l, op, cadre, page, dimensionMax);
        } else {
            SauteOpcode(l, op, dimensionMax);
        }
    }
}

// After the size word and the frame: "11 01" starts a version 1 picture,
// "00 11 02 FF" a version 2 one.
bool LitVersion(Lecteur& l) {
    const uint8_t a = l.Octet(), b = l.Octet();
    if (a == 0x11 && b == 0x01) return false;
    if (a == 0x00 && b == 0x11 && l.Mot() == 0x02FF) return true;
    throw ErreurPICT{TexteLangue("unknown picture version"), true};
}

Offscreen Decode(const std::vector<uint8_t>& donnees, int dimensionMax) {
    Lecteur l(donnees);
    l.Mot();  // picture size: only its low 16 bits, useless for large pictures
    const Rect cadre = l.Rectangle();
    const bool version2 = LitVersion(l);  // before the frame is trusted with a size
    if (!TailleImageAcceptable("PICT", cadre.Largeur(), cadre.Hauteur(), dimensionMax))
        return nullptr;
    Offscreen page = CreeOffscreen(cadre.Largeur(), cadre.Hauteur(), 8);
    if (!page) throw ErreurPICT{TexteLangue("not enough memory for the page")};
    try {
        DessinePicture(l, cadre, version2, page, dimensionMax);
    } catch (...) {
        DisposeOffscreen(page);
        throw;
    }
    return page;
}

}  // namespace

Offscreen ChargePICT(const std::string& nom, int dimensionMax) {
    std::FILE* f = std::fopen(nom.c_str(), "rb");
    if (!f) return nullptr;
    long taille = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) taille = std::ftell(f);
    if (taille <= kTailleEntetePICT) {
        std::fclose(f);
        Trace("'%s' : pas d'image PICT hors ressources", nom.c_str());
        return nullptr;
    }
    std::vector<uint8_t> donnees;
    bool lu = false;
    try {
        donnees.resize(static_cast<size_t>(taille - kTailleEntetePICT));
        lu = std::fseek(f, kTailleEntetePICT, SEEK_SET) == 0 &&
             std::fread(donnees.data(), 1, donnees.size(), f) == donnees.size();
    } catch (const std::bad_alloc&) {
    }
    std::fclose(f);
    if (!lu) {
        Alerte("Read error on pict file %s", nom.c_str());
        return nullptr;
    }
    try {
        return Decode(donnees, dimensionMax);
    } catch (const ErreurPICT& e) {
        // Every file no other loader took ends here, so a file that is no
        // picture at all is left to "not a valid graphic file". A damaged
        // picture says what is wrong with it first, which the user could
        // not learn otherwise.
        if (e.pasUnePicture)
            Trace("'%s' : pas une image PICT (%s)", nom.c_str(), e.texte.c_str());
        else
            Alerte("PICT error: %s", e.texte.c_str());
    } catch (const std::bad_alloc&) {
        Alerte("PICT error: %s", "not enough memory");
    }
    return nullptr;
}
