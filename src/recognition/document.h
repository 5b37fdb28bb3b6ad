// The current document: its pages with their load options, command areas
// and saved recognition states, and the current page bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image/offscreen.h"
#include "toolbox/rect.h"

#pragma pack(push, 2)
// A rectangle the user drew on a page: 1 erase area, 2 symbol area.
struct AireCommande {
    Rect Aire;
    uint8_t Commande = 0;
    uint8_t Zero = 0;
    uint32_t CommandeParam = 0;  // for a symbol area, the symbol code
};
#pragma pack(pop)
static_assert(sizeof(AireCommande) == 14);
static_assert(offsetof(AireCommande, Commande) == 8 && offsetof(AireCommande, CommandeParam) == 10);

constexpr uint8_t kAireEfface = 1;
constexpr uint8_t kAireSymbole = 2;

struct EntreePage {
    std::string LibPath;     // folder of the image
    std::string NomFichier;  // image file name
    int16_t VideoInverse = -1;  // 0 keep, 1 invert, -1 decide at load
    int16_t NbRotations = 0;
    uint8_t Seuillage = 0;
    int32_t Seuil = 182000;
    uint8_t MangeMarge = 1;
    uint8_t Depoussiere = 0;
    int16_t NiveauDepoussiere = 3;
    float ForceEchellePdf = 0.0f;  // set to 1.0 when a PDF file is given as a page
    int16_t Hauteur = 0;  // of the image after loading
    int16_t Largeur = 0;
    std::FILE* EtatSauve = nullptr;  // the page's recognition results
    std::vector<AireCommande> Aires;

    std::string CheminImage() const;
};

struct ListePages {
    std::vector<EntreePage> Pages;
    int16_t NumPage = 0;              // the current page
    Offscreen ImagePage = nullptr;    // the current page bitmap
    std::string Chemin;               // the page list file, the document's name
};

extern ListePages Document;

EntreePage* PageCourante();

// Releases the current page bitmap and every page's saved state.
void FermeDocument();
