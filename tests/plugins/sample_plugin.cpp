// A sample acquire plug-in, built with the tests: it delivers a gray page
// read from a binary PGM file, in strips of rows sent bottom strip first and,
// at 8 bits, each strip as its left and right halves, rows a few bytes
// further apart than they need be. What it does is set by the environment:
//   RUZO_SAMPLE_PAGE    the PGM file (P5, 8-bit)
//   RUZO_SAMPLE_DEPTH   1 (black and white, a set bit white) or 8 (default)
//   RUZO_SAMPLE_PLANES  the plane count announced (default 1)
//   RUZO_SAMPLE_NULL    when set, the first continue call returns no data
//   RUZO_SAMPLE_DPI     the resolution announced (default 300)
//   RUZO_SAMPLE_LOG     a file where loads, unloads and selectors are noted
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "acquisition/acquire_record.h"

namespace {

constexpr int kHauteurBande = 16;
constexpr int kMarge = 5;  // extra bytes between rows

int Nombre(const char* variable, int defaut) {
    const char* v = std::getenv(variable);
    return v != nullptr && *v != '\0' ? std::atoi(v) : defaut;
}

void Note(const std::string& texte) {
    const char* journal = std::getenv("RUZO_SAMPLE_LOG");
    if (journal == nullptr) return;
    if (std::FILE* f = std::fopen(journal, "a")) {
        std::fprintf(f, "%s\n", texte.c_str());
        std::fclose(f);
    }
}

struct Page {
    int largeur = 0, hauteur = 0;
    std::vector<uint8_t> gris;
};

bool LitPGM(const char* chemin, Page& page) {
    std::FILE* f = chemin ? std::fopen(chemin, "rb") : nullptr;
    if (f == nullptr) return false;
    int maxval = 0;
    const bool entete = std::fscanf(f, "P5 %d %d %d", &page.largeur, &page.hauteur, &maxval) == 3 &&
                        std::fgetc(f) != EOF && maxval == 255 && page.largeur > 0 &&
                        page.hauteur > 0 && page.largeur <= 32767 && page.hauteur <= 32767;
    if (entete) page.gris.resize(static_cast<size_t>(page.largeur) * page.hauteur);
    const bool ok =
        entete && std::fread(page.gris.data(), 1, page.gris.size(), f) == page.gris.size();
    std::fclose(f);
    return ok;
}

struct Session {
    Page page;
    int profondeur = 8;
    int pas = 0;                   // bytes between delivered rows
    std::vector<uint8_t> rangees;  // the whole image at `pas` bytes a row
    std::vector<RectPlugIn> envois;
    size_t prochain = 0;
};

void PrepareRangees(Session& s) {
    const int largeur = s.page.largeur;
    s.pas = (s.profondeur == 1 ? (largeur + 7) / 8 : largeur) + kMarge;
    s.rangees.assign(static_cast<size_t>(s.pas) * s.page.hauteur, 0);
    for (int y = 0; y < s.page.hauteur; ++y)
        for (int x = 0; x < largeur; ++x) {
            const uint8_t g = s.page.gris[static_cast<size_t>(y) * largeur + x];
            uint8_t* rangee = s.rangees.data() + static_cast<size_t>(y) * s.pas;
            if (s.profondeur == 8)
                rangee[x] = g;
            else if (g >= 128)
                rangee[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    const int moitie = (largeur / 2) & ~7;  // a byte boundary at either depth
    for (int haut = (s.page.hauteur - 1) / kHauteurBande * kHauteurBande; haut >= 0;
         haut -= kHauteurBande) {
        const int16_t bas = static_cast<int16_t>(std::min(haut + kHauteurBande, s.page.hauteur));
        if (s.profondeur == 8 && moitie > 0) {
            s.envois.push_back({static_cast<int16_t>(haut), 0, bas, static_cast<int16_t>(moitie)});
            s.envois.push_back({static_cast<int16_t>(haut), static_cast<int16_t>(moitie), bas,
                                static_cast<int16_t>(largeur)});
        } else {
            s.envois.push_back({static_cast<int16_t>(haut), 0, bas, static_cast<int16_t>(largeur)});
        }
    }
}

void Debut(AcquireRecord* r, Session& s, int16_t* resultat) {
    if (!LitPGM(std::getenv("RUZO_SAMPLE_PAGE"), s.page)) {
        *resultat = 1;
        return;
    }
    s.profondeur = Nombre("RUZO_SAMPLE_DEPTH", 8);
    r->imageMode = s.profondeur == 1 ? 0 : 1;
    r->imageSize = {static_cast<int16_t>(s.page.hauteur), static_cast<int16_t>(s.page.largeur)};
    r->depth = static_cast<int16_t>(s.profondeur);
    r->planes = static_cast<int16_t>(Nombre("RUZO_SAMPLE_PLANES", 1));
    r->imageHRes = r->imageVRes = Nombre("RUZO_SAMPLE_DPI", 300) << 16;
    PrepareRangees(s);
}

void Suite(AcquireRecord* r, Session& s) {
    if (s.prochain >= s.envois.size() || (s.prochain == 0 && std::getenv("RUZO_SAMPLE_NULL"))) {
        r->data = nullptr;
        return;
    }
    const RectPlugIn& envoi = s.envois[s.prochain++];
    r->theRect = envoi;
    r->rowBytes = s.pas;
    r->data = s.rangees.data() + static_cast<size_t>(envoi.top) * s.pas +
              static_cast<size_t>(envoi.left) * s.profondeur / 8;
    if (r->progressProc)
        r->progressProc(static_cast<int32_t>(s.prochain), static_cast<int32_t>(s.envois.size()));
}

struct Journal {
    Journal() { Note("load"); }
    ~Journal() { Note("unload"); }
} journal;

}  // namespace

extern "C" __attribute__((visibility("default"))) void ENTRYPOINT(int16_t selector, void* record,
                                                                  intptr_t* data, int16_t* result) {
    Note("selector " + std::to_string(selector));
    *result = 0;
    if (selector == kSelecteurAPropos) return;
    auto* r = static_cast<AcquireRecord*>(record);
    if (selector == kSelecteurPrepare) {
        *data = reinterpret_cast<intptr_t>(new Session);
        return;
    }
    auto* s = reinterpret_cast<Session*>(*data);
    if (s == nullptr) {
        *result = 1;
        return;
    }
    if (selector == kSelecteurDebut) Debut(r, *s, result);
    if (selector == kSelecteurSuite) Suite(r, *s);
    if (selector == kSelecteurFin) {
        delete s;
        *data = 0;
    }
}
