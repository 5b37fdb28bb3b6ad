#include "image/offscreen.h"

#include <algorithm>
#include <array>
#include <forward_list>
#include <mutex>
#include <vector>

#include "toolbox/messages.h"

uint8_t IndexBlanc = 0;
uint8_t IndexNoir = 255;
uint8_t IndexRouge = 35;
uint8_t IndexBleu = 210;
uint8_t IndexVert = 185;
uint8_t IndexGris = 247;
uint8_t IndexJauneClair = 1;

namespace {

// Every offscreen made by CreeOffscreen, newest first; offscreens are made
// and disposed on any thread.
std::mutex VerrouListe;
std::forward_list<PixMap*> ListeOffscreens;

uint8_t IndexDansOffscreenTest(Offscreen test, Couleur16 c) {
    const VuePixels vue = VueOffscreen(test);
    EcritPixel(vue, 0, 0, IndexDeCouleur(c));
    return LitPixel(vue, 0, 0);
}

}  // namespace

void InitialiseCouleurs() {
    Offscreen test = CreeOffscreen(16, 16, 8);
    if (!test) return;  // the built-in values above stay
    IndexBlanc = IndexDansOffscreenTest(test, {65535, 65535, 65535});
    IndexNoir = IndexDansOffscreenTest(test, {0, 0, 0});
    IndexRouge = IndexDansOffscreenTest(test, {65535, 0, 0});
    IndexBleu = IndexDansOffscreenTest(test, {0, 0, 65535});
    IndexVert = IndexDansOffscreenTest(test, {0, 65535, 0});
    IndexGris = IndexDansOffscreenTest(test, {50000, 50000, 50000});
    IndexJauneClair = IndexDansOffscreenTest(test, {65280, 65280, 52224});
    DisposeOffscreen(test);
}

namespace {

Offscreen CreeOffscreenListee(int largeur, int hauteur, int profondeur, bool efface) {
    Offscreen o = AlloueePixMap(largeur, hauteur, profondeur, efface);
    if (!o) {
        Trace("*** Impossible de creer l'offscreen %dx%d", largeur, hauteur);
        Trace("Place demandee : %ld", static_cast<long>(largeur) * hauteur);
        return nullptr;
    }
    try {
        const std::lock_guard<std::mutex> verrou(VerrouListe);
        ListeOffscreens.push_front(o);
    } catch (...) {
        Alerte("CreeOffscreen:CreeOfscreenlist: no more mem");
    }
    return o;
}

}  // namespace

Offscreen CreeOffscreen(int largeur, int hauteur, int profondeur) {
    return CreeOffscreenListee(largeur, hauteur, profondeur, true);
}

Offscreen CreeOffscreenAEcrire(int largeur, int hauteur, int profondeur) {
    return CreeOffscreenListee(largeur, hauteur, profondeur, false);
}

void DisposeOffscreen(Offscreen& o) {
    if (!o) {
        Alerte("Internal error: a page bitmap was released twice");
        return;
    }
    bool trouve = false;
    {
        const std::lock_guard<std::mutex> verrou(VerrouListe);
        const auto avant = std::distance(ListeOffscreens.begin(), ListeOffscreens.end());
        ListeOffscreens.remove(o);
        trouve = std::distance(ListeOffscreens.begin(), ListeOffscreens.end()) != avant;
    }
    if (!trouve) Alerte("DisposeOffscreen:not found");
    delete o;
    o = nullptr;
}

int NombreOffscreensListes() {
    const std::lock_guard<std::mutex> verrou(VerrouListe);
    return static_cast<int>(std::distance(ListeOffscreens.begin(), ListeOffscreens.end()));
}

Offscreen DupliqueOffscreen(Offscreen o) {
    Offscreen copie = o ? CreeOffscreenAEcrire(o->largeur, o->hauteur, o->profondeur) : nullptr;
    if (!copie) {
        Alerte("DupliqueOffscreen: not enough memory");
        return nullptr;
    }
    std::copy(o->pixels.begin(), o->pixels.end(), copie->pixels.begin());
    return copie;
}

Offscreen CloneOffscreen(Offscreen o) {
    Offscreen clone = o ? CreeOffscreen(o->largeur, o->hauteur, o->profondeur) : nullptr;
    if (!clone) Alerte("CloneOffscreen: not enough memory");
    return clone;
}

Offscreen CreeIconeOffscreen(Offscreen o, int largeur, int hauteur) {
    Offscreen icone = o ? CreeOffscreen(largeur, hauteur, 1) : nullptr;
    if (!icone) {
        Alerte("CreeIconeOffscreen: not enough memory");
        return nullptr;
    }
    // Scaled to fit, keeping the proportions: a pixel of the icon is black
    // when any pixel of the source block it covers is black.
    const double echelle = std::max(static_cast<double>(o->largeur) / largeur,
                                    static_cast<double>(o->hauteur) / hauteur);
    for (int y = 0; y < o->hauteur; ++y) {
        const uint8_t* ligne = o->PremiereLigne() + static_cast<size_t>(y) * o->pasLigne;
        const int yi = std::min(hauteur - 1, static_cast<int>(y / echelle));
        uint8_t* dest = icone->PremiereLigne() + static_cast<size_t>(yi) * icone->pasLigne;
        for (int x = 0; x < o->largeur; ++x) {
            if (ligne[x] != IndexNoir) continue;
            dest[std::min(largeur - 1, static_cast<int>(x / echelle))] = IndexNoir;
        }
    }
    return icone;
}

VuePixels VueOffscreen(Offscreen o) {
    if (!o) return VuePixels{};
    return VuePixels{o->PremiereLigne(), o->pasLigne, o->Bornes()};
}

void RemplitComposante(const VuePixels& base, int x, int y, uint8_t ancien, uint8_t nouveau) {
    // Outside the bounds LitPixel answers white: the bounds are tested first,
    // or filling a white region would spread without end.
    const Rect& b = base.bornes;
    if (ancien == nouveau || !PointDansRect(y, x, b) || LitPixel(base, x, y) != ancien) return;
    // An explicit stack: a page-sized component would overflow the call stack.
    std::vector<std::pair<int, int>> pile;
    pile.emplace_back(x, y);
    while (!pile.empty()) {
        const auto [px, py] = pile.back();
        pile.pop_back();
        if (!PointDansRect(py, px, b) || LitPixel(base, px, py) != ancien) continue;
        EcritPixel(base, px, py, nouveau);
        // Pushed in reverse so that left, right, up, down are visited in that order.
        pile.emplace_back(px, py + 1);
        pile.emplace_back(px, py - 1);
        pile.emplace_back(px + 1, py);
        pile.emplace_back(px - 1, py);
    }
}

Trait HauteurTrait(const VuePixels& base, int x, int y) {
    const Rect& b = base.bornes;
    Trait t;
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) {
        t.haut = y + 1;
        return t;
    }
    int haut = 0;
    // At most y - top rows upward: the bound row itself is never counted.
    for (int r = y; haut < y - b.top; --r) {
        if (base.base[static_cast<intptr_t>(r) * base.pasLigne + x] == IndexBlanc) break;
        ++haut;
    }
    int bas = 0;
    for (int r = y + 1; r < b.bottom; ++r) {
        if (base.base[static_cast<intptr_t>(r) * base.pasLigne + x] == IndexBlanc) break;
        ++bas;
    }
    t.haut = y - haut + 1;
    t.longueur = haut + bas;
    return t;
}

Offscreen Rotation90Droite(Offscreen o) {
    const int W = o->largeur, H = o->hauteur;
    Offscreen r = CreeOffscreen(H, W, o->profondeur);
    if (!r) return nullptr;
    for (int ligne = 0; ligne < W; ++ligne) {
        uint8_t* dest = r->PremiereLigne() + static_cast<size_t>(ligne) * r->pasLigne;
        for (int c = 0; c < H; ++c)
            dest[c] = o->pixels[static_cast<size_t>(H - 1 - c) * o->pasLigne + ligne];
    }
    return r;
}

Offscreen Rotation90Gauche(Offscreen o) {
    const int W = o->largeur, H = o->hauteur;
    Offscreen r = CreeOffscreen(H, W, o->profondeur);
    if (!r) return nullptr;
    for (int ligne = 0; ligne < W; ++ligne) {
        uint8_t* dest = r->PremiereLigne() + static_cast<size_t>(ligne) * r->pasLigne;
        for (int c = 0; c < H; ++c)
            dest[c] = o->pixels[static_cast<size_t>(c) * o->pasLigne + (W - 1 - ligne)];
    }
    return r;
}

bool Rotation180(Offscreen o) {
    const int W = o->largeur, H = o->hauteur;
    std::vector<uint8_t> tampon;
    try {
        tampon.resize(W);
    } catch (...) {
        return false;
    }
    const VuePixels base = VueOffscreen(o);
    for (int y = 0; y < H / 2; ++y) {
        uint8_t* haut = LignePixels(base, y);
        uint8_t* bas = LignePixels(base, H - 1 - y);
        std::copy(haut, haut + W, tampon.begin());
        std::reverse_copy(bas, bas + W, haut);
        std::reverse_copy(tampon.begin(), tampon.end(), bas);
    }
    if (H % 2 == 1) {
        uint8_t* milieu = LignePixels(base, H / 2);
        std::copy(milieu, milieu + W, tampon.begin());
        std::reverse_copy(tampon.begin(), tampon.end(), milieu);
    }
    return true;
}

namespace {

void AppliqueTable(Offscreen o, const std::array<uint8_t, 256>& table) {
    const VuePixels base = VueOffscreen(o);
    for (int y = 0; y < o->hauteur; ++y) {
        uint8_t* ligne = LignePixels(base, y);
        for (int x = 0; x < o->largeur; ++x) ligne[x] = table[ligne[x]];
    }
}

std::array<uint8_t, 256> TableIdentite() {
    std::array<uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<uint8_t>(i);
    return t;
}

}  // namespace

void GrisEnNoir(Offscreen o) {
    auto table = TableIdentite();
    table[IndexGris] = IndexNoir;
    AppliqueTable(o, table);
}

void EchangeCouleurs(Offscreen o, uint8_t a, uint8_t b) {
    auto table = TableIdentite();
    table[a] = b;
    table[b] = a;
    AppliqueTable(o, table);
}

void InverseVideo(Offscreen o) {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        const Couleur16 c = CouleurDIndex(static_cast<uint8_t>(i));
        table[i] = IndexDeCouleur({static_cast<uint16_t>(65535 - c.rouge),
                                   static_cast<uint16_t>(65535 - c.vert),
                                   static_cast<uint16_t>(65535 - c.bleu)});
    }
    AppliqueTable(o, table);
}
