// The document's records: its pages with their load options and command
// areas, and the page list with the current page bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "records/aire_commande.h"
#include "records/etat_page.h"
#include "toolbox/pixmap.h"
#include "toolbox/rect.h"

// "VideoInverse": keep, invert, or decide from the page's darkness at load.
constexpr int16_t kVideoNormale = 0;
constexpr int16_t kVideoInversee = 1;
constexpr int16_t kVideoAutomatique = -1;

// "Depoussiere": off, on at the page's level, or left to the program, which
// despeckles at the page's level when the page measures as noisy at load.
constexpr uint8_t kDepoussiereNon = 0;
constexpr uint8_t kDepoussiereOui = 1;
constexpr uint8_t kDepoussiereAutomatique = 2;

// Largest despeckle level a page keeps: the clean-up time grows with the
// level (about 20 s for a 300 dpi page at 100), so a page list asking for
// more gets this.
constexpr int16_t kNiveauDepoussiereMax = 50;

// Most pages a page list holds (its page count is 16-bit), and most areas
// on one page; a file holding more is refused, so nothing may make more.
constexpr size_t kNbMaxPages = 32767;
constexpr size_t kNbMaxAires = 4096;

// Longest folder and file name a page list can hold ("LibPath", "NomFichier").
constexpr size_t kLongueurMaxDossier = 511;
constexpr size_t kLongueurMaxNomFichier = 255;

struct EntreePage {
    int16_t VolRefNum = 0;  // kept for the file; Linux has no volume numbers
    int32_t VRefNum = 0;
    std::string LibPath;           // folder of the image
    std::string NomFichier;        // image file name
    int16_t NumPage = 0;           // page inside a multi-page image file
    float ForceEchellePdf = 0.0f;  // set to 1.0 when a PDF file is given as a page
    uint8_t IconeFaite = 0;        // the thumbnail exists (built by the desktop program)
    int16_t TailleIcone = 16;      // thumbnail height
    int16_t VideoInverse = kVideoAutomatique;
    int16_t NbRotations = 0;
    uint8_t Seuillage = 0;
    int32_t Seuil = 182000;
    uint8_t MangeMarge = 1;
    uint8_t Depoussiere = kDepoussiereAutomatique;
    int16_t NiveauDepoussiere = 3;
    int16_t Hauteur = 0;  // of the image after loading
    int16_t Largeur = 0;
    std::FILE* ImagePreparee = nullptr;  // the decoded and cleaned image
    int64_t DateImagePreparee = 0;       // the image file's date when it was made
    std::FILE* EtatSauve = nullptr;      // the page's recognition results
    std::vector<AireCommande> Aires;

    std::string CheminImage() const;
};

struct ListePages {
    std::string Chemin;  // the page list file, the document's name; "" for a new one
    bool Modifie = false;
    std::vector<EntreePage> Pages;
    int16_t NumPage = 0;               // the current page
    int32_t NbPagesTraites = 0;        // pages of the last whole recognition
    int32_t DureeTraitementTotal = 0;  // its duration in ticks
    PixMap* ImagePage = nullptr;       // the current page bitmap
    EtatPage Etat;                     // the recognition state of the current page
    // The staves the orientation check found on the current page bitmap at
    // load: recognising the page takes them rather than finding them again.
    PorteesGardees PorteesChargees;
    // Running numbers of the recognised symbols and of the ties, set to 1
    // when a document or a page alone starts being recognised.
    uint32_t NumeroSymbole = 1;
    uint16_t NumeroLiaison = 1;
};

extern ListePages Document;

// The current page; none when the list has no page at its index.
EntreePage* PageCourante(ListePages& document);
EntreePage* PageCourante();  // of Document
