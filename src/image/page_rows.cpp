#include "image/page_rows.h"

#include <algorithm>
#include <new>

#include "toolbox/pixmap.h"

bool LignesPage::Reserve(int largeur, int hauteur) {
    if (largeur <= 0 || hauteur <= 0 || largeur > kDimensionMax || hauteur > kDimensionMax)
        return false;
    largeur_ = largeur;
    hauteur_ = hauteur;
    pasLigne_ = PasLignePourLargeur(largeur);
    recues_ = 0;
    pixels_.clear();
    // Reserving writes nothing: the system hands out the memory of a row
    // only when that row is written.
    try {
        pixels_.reserve(static_cast<size_t>(pasLigne_) * static_cast<size_t>(hauteur));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

uint8_t* LignesPage::NouvelleLigne() {
    if (recues_ >= hauteur_) return nullptr;
    const size_t debut = pixels_.size();
    pixels_.resize(debut + static_cast<size_t>(pasLigne_));  // within the reserve, not cleared
    uint8_t* ligne = pixels_.data() + debut;
    std::fill(ligne, ligne + pasLigne_, 0);  // 0 is white
    ++recues_;
    return ligne;
}

bool LignesPage::AjouteLigneRVB(const uint8_t* rvb) {
    uint8_t* ligne = NouvelleLigne();
    if (!ligne) return false;
    for (int x = 0; x < largeur_; ++x, rvb += 3)
        ligne[x] = conversion_.Index(rvb[0], rvb[1], rvb[2]);
    return true;
}

bool LignesPage::AjouteLigneGrise(const uint8_t* gris) {
    uint8_t* ligne = NouvelleLigne();
    if (!ligne) return false;
    // Most of a page is white paper, which the fresh row already holds:
    // eight white pixels at a time are passed over.
    const bool papierDejaLa = conversion_.Gris(255) == 0;
    constexpr uint64_t kHuitBlancs = ~uint64_t{0};
    for (int x = 0; x < largeur_; ++x) {
        if (papierDejaLa && x + 8 <= largeur_ && HuitPixels(gris + x) == kHuitBlancs) {
            x += 7;
            continue;
        }
        ligne[x] = conversion_.Gris(gris[x]);
    }
    return true;
}

Offscreen LignesPage::Termine() {
    if (recues_ != hauteur_ || hauteur_ == 0) return nullptr;
    // Made one row high, then given the decoded rows: the page is counted
    // among the offscreens like any other, and its pixels are not copied.
    Offscreen page = CreeOffscreen(largeur_, 1, 8);
    if (!page) return nullptr;
    page->hauteur = static_cast<int16_t>(hauteur_);
    page->pixels = std::move(pixels_);
    pixels_ = {};
    recues_ = 0;
    return page;
}
