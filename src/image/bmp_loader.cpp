#include "image/bmp_loader.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "image/colour_conversion.h"
#include "image/temporary_files.h"
#include "toolbox/messages.h"

namespace {

constexpr int kTailleEnteteFichier = 14;
constexpr uint32_t kTailleEnteteInfoMin = 40;
constexpr uint32_t kTailleEnteteInfoMax = 124;  // the version 5 header
constexpr uint32_t kSansCompression = 0;
constexpr uint32_t kRLE8 = 1;
constexpr uint32_t kRLE4 = 2;
constexpr uint32_t kChampsDeBits = 3;

struct EnteteBMP {
    uint32_t debutPixels = 0;  // from the start of the file
    uint32_t tailleInfo = 0;
    int64_t largeur = 0;
    int64_t hauteurStockee = 0;  // negative: top row first
    int bits = 0;
    uint32_t compression = 0;
    uint32_t couleursUtilisees = 0;

    int64_t Hauteur() const { return hauteurStockee < 0 ? -hauteurStockee : hauteurStockee; }
    bool HautEnPremier() const { return hauteurStockee < 0; }
    int64_t PasLigne() const { return ((int64_t{bits} * largeur + 31) / 32) * 4; }
};

// Indices of the colour table, entries the file does not hold left black.
using TableBMP = std::array<uint8_t, 256>;

uint32_t Mot32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
uint16_t Mot16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

class Fichier {
  public:
    explicit Fichier(std::FILE* f) : f_(f) {}
    ~Fichier() {
        if (f_) std::fclose(f_);
    }
    Fichier(const Fichier&) = delete;
    Fichier& operator=(const Fichier&) = delete;
    std::FILE* get() const { return f_; }

  private:
    std::FILE* f_;
};

long TailleFichier(std::FILE* f) {
    if (std::fseek(f, 0, SEEK_END) != 0) return -1;
    const long taille = std::ftell(f);
    std::rewind(f);
    return taille;
}

bool LitEntete(std::FILE* f, long tailleFichier, EnteteBMP& e, std::string& erreur) {
    uint8_t fichier[kTailleEnteteFichier];
    if (std::fread(fichier, 1, sizeof fichier, f) != sizeof fichier || Mot16(fichier) != 19778) {
        erreur = TexteLangue("BMP: Bad header.");
        return false;
    }
    e.debutPixels = Mot32(fichier + 10);
    uint8_t info[kTailleEnteteInfoMax] = {};
    erreur = TexteLangue("Can't extract bitMapInfo.");
    if (std::fread(info, 1, 4, f) != 4) return false;
    e.tailleInfo = Mot32(info);
    if (e.tailleInfo < kTailleEnteteInfoMin || e.tailleInfo > kTailleEnteteInfoMax) return false;
    if (std::fread(info + 4, 1, e.tailleInfo - 4, f) != e.tailleInfo - 4) return false;
    e.largeur = static_cast<int32_t>(Mot32(info + 4));
    e.hauteurStockee = static_cast<int32_t>(Mot32(info + 8));
    e.bits = Mot16(info + 14);
    e.compression = Mot32(info + 16);
    e.couleursUtilisees = Mot32(info + 32);
    if (e.debutPixels < kTailleEnteteFichier + e.tailleInfo || e.debutPixels > tailleFichier)
        return false;
    erreur.clear();
    return true;
}

bool LitTableCouleurs(std::FILE* f, const EnteteBMP& e, TableBMP& table, std::string& erreur) {
    table.fill(IndexNoir);
    uint32_t n = e.couleursUtilisees;
    if (n == 0 && e.bits <= 8) n = 1u << e.bits;
    if (n > 256) {
        erreur = TexteLangue("Can't extract bitMapInfo.");
        return false;
    }
    // Bit-field masks, when present, sit between the header and the table.
    long debut = kTailleEnteteFichier + static_cast<long>(e.tailleInfo);
    if (e.compression == kChampsDeBits && e.tailleInfo == kTailleEnteteInfoMin) debut += 12;
    std::vector<uint8_t> entrees(size_t{n} * 4);
    if (std::fseek(f, debut, SEEK_SET) != 0 ||
        std::fread(entrees.data(), 1, entrees.size(), f) != entrees.size()) {
        erreur = TexteLangue("Can't extract bitMapInfo.");
        return false;
    }
    for (uint32_t i = 0; i < n && e.bits <= 8; ++i)
        table[i] = IndexDeRVB(entrees[4 * i + 2], entrees[4 * i + 1], entrees[4 * i]);
    return true;
}

// Refusals that need no pixel: sizes, bit counts, compressions, and a file
// too short for the rows its header announces.
bool VerifieEntete(const EnteteBMP& e, long tailleFichier, int dimensionMax, std::string& erreur) {
    if (e.bits != 1 && e.bits != 4 && e.bits != 8 && e.bits != 24) {
        erreur = FormateTexte(TexteLangue("Can't draw a %d bits BMP"), e.bits);
        return false;
    }
    if (e.compression == kRLE4) return true;  // refused by its own alert
    if (e.compression != kSansCompression && e.compression != kRLE8 &&
        e.compression != kChampsDeBits) {
        erreur = FormateTexte(TexteLangue("BMP compression %u is not supported"), e.compression);
        return false;
    }
    if (e.compression == kRLE8 && e.bits != 8) {
        erreur = FormateTexte(TexteLangue("RLE8 compression in a %d bits BMP"), e.bits);
        return false;
    }
    if (!TailleImageAcceptable("BMP", static_cast<long>(e.largeur), static_cast<long>(e.Hauteur()),
                               dimensionMax))
        return false;
    if (e.compression != kRLE8 && e.debutPixels + e.PasLigne() * e.Hauteur() > tailleFichier) {
        erreur = TexteLangue("BMP: the file is shorter than its header says");
        return false;
    }
    return true;
}

class SortieLigne {
  public:
    SortieLigne(std::FILE* f, size_t taille) : f_(f), ligne_(taille, 0) {}
    std::vector<uint8_t>& Ligne() { return ligne_; }
    bool Ecrit() { return std::fwrite(ligne_.data(), 1, ligne_.size(), f_) == ligne_.size(); }

  private:
    std::FILE* f_;
    std::vector<uint8_t> ligne_;
};

// RLE8: pairs (count, value) repeat a value; escapes 0,0 end a row, 0,1 end
// the bitmap, 0,2,dx,dy move ahead, 0,n copies n literal bytes (padded to a
// word). The data is unpacked into `sortie` as |height| rows of `stride`
// bytes; anything that would land outside the image refuses the file.
bool DecompresseRLE8(std::FILE* source, const EnteteBMP& e, long tailleFichier, std::FILE* sortie,
                     std::string& erreur) {
    const long tailleDonnees = tailleFichier - static_cast<long>(e.debutPixels);
    std::vector<uint8_t> donnees;
    try {
        donnees.resize(static_cast<size_t>(tailleDonnees));
    } catch (const std::bad_alloc&) {
        erreur = TexteLangue("Can't decompress RLE8 : not enough memory");
        return false;
    }
    if (std::fseek(source, static_cast<long>(e.debutPixels), SEEK_SET) != 0) {
        erreur = TexteLangue("fseek failed");
        return false;
    }
    if (std::fread(donnees.data(), 1, donnees.size(), source) != donnees.size()) {
        erreur = TexteLangue("BMP: the file is shorter than its header says");
        return false;
    }
    const int64_t largeur = e.largeur, hauteur = e.Hauteur();
    SortieLigne ligne(sortie, static_cast<size_t>(e.PasLigne()));
    int64_t x = 0, y = 0;
    size_t i = 0;
    bool fin = false;
    const auto termineLigne = [&]() {
        if (!ligne.Ecrit()) return false;
        std::fill(ligne.Ligne().begin(), ligne.Ligne().end(), 0);
        ++y;
        x = 0;
        return true;
    };
    erreur = TexteLangue("RLE8 data overruns the image");
    while (!fin) {
        if (i + 2 > donnees.size()) {
            if (y >= hauteur) break;  // every row was given: the end mark alone is missing
            erreur = TexteLangue("RLE8 data ends before the end of the image");
            return false;
        }
        const uint8_t n = donnees[i], v = donnees[i + 1];
        i += 2;
        if (n > 0) {
            if (y >= hauteur || x + n > largeur) return false;
            std::fill_n(ligne.Ligne().begin() + x, n, v);
            x += n;
        } else if (v == 0) {
            if (y >= hauteur) return false;
            if (!termineLigne()) return false;
        } else if (v == 1) {
            fin = true;
        } else if (v == 2) {
            if (i + 2 > donnees.size()) return false;
            const int64_t dx = donnees[i], dy = donnees[i + 1];
            i += 2;
            if (x + dx > largeur || y + dy > hauteur || (dy > 0 && y + dy == hauteur && x + dx > 0))
                return false;
            const int64_t xCible = x + dx;
            for (int64_t k = 0; k < dy; ++k)
                if (!termineLigne()) return false;
            x = xCible;
        } else {
            const size_t avecBourrage = v + (v & 1u);
            if (y >= hauteur || x + v > largeur || i + v > donnees.size()) return false;
            std::copy_n(donnees.begin() + static_cast<long>(i), v, ligne.Ligne().begin() + x);
            x += v;
            i += std::min(avecBourrage, donnees.size() - i);
        }
    }
    // Rows the data never reached keep colour 0.
    while (y < hauteur)
        if (!termineLigne()) return false;
    erreur.clear();
    return true;
}

// One row of the file's pixels to indices, as wide as the image.
void ConvertitLigne(const uint8_t* ligne, const EnteteBMP& e, const TableBMP& table,
                    ConvertisseurCouleurs& conversion, uint8_t* indices) {
    const int64_t largeur = e.largeur;
    for (int64_t x = 0; x < largeur; ++x) {
        switch (e.bits) {
            case 1:
                indices[x] = table[(ligne[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                indices[x] = table[x % 2 == 0 ? ligne[x / 2] >> 4 : ligne[x / 2] & 0x0F];
                break;
            case 8:
                indices[x] = table[ligne[x]];
                break;
            default:
                indices[x] = conversion.Index(ligne[3 * x + 2], ligne[3 * x + 1], ligne[3 * x]);
                break;
        }
    }
}

// Each row is read whole, its padding with it, rather than skipping the
// padding with a seek: there is no seek to fail ("Error in BMP file. Fseek
// failed"), and a file cut inside the padding of its last row is refused as
// short like any other.
bool ConvertitPixels(std::FILE* source, long debut, const EnteteBMP& e, const TableBMP& table,
                     std::FILE* sortie, std::string& erreur) {
    if (std::fseek(source, debut, SEEK_SET) != 0) {
        erreur = TexteLangue("fseek : failed");
        return false;
    }
    std::vector<uint8_t> ligne(static_cast<size_t>(e.PasLigne()));
    std::vector<uint8_t> indices(static_cast<size_t>(e.largeur));
    ConvertisseurCouleurs conversion;
    for (int64_t y = 0; y < e.Hauteur(); ++y) {
        if (std::fread(ligne.data(), 1, ligne.size(), source) != ligne.size()) {
            erreur = TexteLangue("BMP: the file is shorter than its header says");
            return false;
        }
        ConvertitLigne(ligne.data(), e, table, conversion, indices.data());
        if (std::fwrite(indices.data(), 1, indices.size(), sortie) != indices.size()) {
            erreur = TexteLangue("Can't write the temporary file");
            return false;
        }
    }
    return true;
}

Offscreen RelitIndices(std::FILE* indices, const EnteteBMP& e, std::string& erreur) {
    if (std::fseek(indices, 0, SEEK_SET) != 0) {
        erreur = TexteLangue("Tmp file : seek error");
        return nullptr;
    }
    Offscreen o = CreeOffscreen(static_cast<int>(e.largeur), static_cast<int>(e.Hauteur()), 8);
    if (!o) {
        erreur = TexteLangue("Not enough memory for the page");
        return nullptr;
    }
    const VuePixels base = VueOffscreen(o);
    const int hauteur = o->hauteur;
    for (int r = 0; r < hauteur; ++r) {
        const int y = e.HautEnPremier() ? r : hauteur - 1 - r;
        if (std::fread(LignePixels(base, y), 1, static_cast<size_t>(o->largeur), indices) !=
            static_cast<size_t>(o->largeur)) {
            erreur = TexteLangue("Tmp file : read error");
            DisposeOffscreen(o);
            return nullptr;
        }
    }
    // The file holds exactly the rows converted; anything more means the
    // conversion and this reading disagree on the image's size.
    if (std::fgetc(indices) != EOF) Alerte("BMP: more data follows the last row of the image");
    return o;
}

// The error texts are shown to the user on every path, not only after an
// RLE8 decompression: "not a valid graphic file", which follows, does not
// say whether the file is damaged or of a kind Ruzo does not read (a 16-bit
// BMP, say). Only the RLE8 path puts "DrawBMP error" before its text.
Offscreen Echec(const std::string& erreur) {
    if (!erreur.empty()) Alerte("%s", erreur.c_str());
    return nullptr;
}

Offscreen EchecRLE8(const std::string& erreur) {
    if (!erreur.empty()) Alerte("DrawBMP error : %s", erreur.c_str());
    return nullptr;
}

}  // namespace

bool EstBMP(const std::string& nom) {
    std::FILE* f = std::fopen(nom.c_str(), "rb");
    if (!f) return false;
    char debut[2] = {};
    const bool lu = std::fread(debut, 1, 2, f) == 2;
    std::fclose(f);
    return lu && debut[0] == 'B' && debut[1] == 'M';
}

Offscreen ChargeBMP(const std::string& nom, int dimensionMax) {
    Fichier fichier(std::fopen(nom.c_str(), "rb"));
    const long tailleFichier = fichier.get() ? TailleFichier(fichier.get()) : -1;
    if (tailleFichier < 0) {
        Alerte("Can't load data");
        return nullptr;
    }
    EnteteBMP e;
    TableBMP table{};
    std::string erreur;
    if (!LitEntete(fichier.get(), tailleFichier, e, erreur) ||
        !VerifieEntete(e, tailleFichier, dimensionMax, erreur) ||
        (e.compression != kRLE4 && !LitTableCouleurs(fichier.get(), e, table, erreur)))
        return Echec(erreur);
    if (e.compression == kRLE4) {
        Alerte("RLE4 coding not tested: abort");
        return nullptr;
    }

    Temporaire indices;
    if (!indices.get()) {
        Alerte("Can't open temporary file");
        return nullptr;
    }
    if (e.compression == kRLE8) {
        Temporaire brut;
        if (!brut.get()) {
            Alerte("Can't open temporary file");
            return nullptr;
        }
        if (!DecompresseRLE8(fichier.get(), e, tailleFichier, brut.get(), erreur) ||
            !ConvertitPixels(brut.get(), 0, e, table, indices.get(), erreur))
            return EchecRLE8(erreur);
    } else if (!ConvertitPixels(fichier.get(), static_cast<long>(e.debutPixels), e, table,
                                indices.get(), erreur)) {
        return Echec(erreur);
    }
    Offscreen o = RelitIndices(indices.get(), e, erreur);
    return o ? o : Echec(erreur);
}
