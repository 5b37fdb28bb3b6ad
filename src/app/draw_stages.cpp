#include "app/draw_stages.h"

#include <algorithm>
#include <cstdio>

#include "image/temporary_files.h"
#include "records/options.h"
#include "records/page_entry.h"
#include "staff/line_removal.h"
#include "staff/staff_detection.h"
#include "staff/vertical_lines.h"

namespace {

// The drawing mixes bitmaps of different sizes (page, bands), so it reads
// and writes them directly rather than through the one pixel context.
uint8_t Lit(const PixMap* o, int x, int y) {
    if (x < 0 || y < 0 || x >= o->largeur || y >= o->hauteur) return IndexBlanc;
    return o->pixels[static_cast<size_t>(y) * o->pasLigne + x];
}

void Ecrit(PixMap* o, int x, int y, uint8_t c) {
    if (x < 0 || y < 0 || x >= o->largeur || y >= o->hauteur) return;
    o->pixels[static_cast<size_t>(y) * o->pasLigne + x] = c;
}

// Digits 3 wide and 5 high, one row a byte, bits from the left.
constexpr uint8_t kChiffres[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

// Writes n at (x, y) (top-left) on a white box, each font pixel `echelle`
// pixels wide.
void DessineNombre(PixMap* sortie, int x, int y, int n, uint8_t couleur, int echelle) {
    const std::string texte = std::to_string(n);
    const int largeur = static_cast<int>(texte.size()) * 4 * echelle;
    for (int yy = y - echelle; yy < y + 6 * echelle; ++yy)
        for (int xx = x - echelle; xx < x + largeur; ++xx) Ecrit(sortie, xx, yy, IndexBlanc);
    for (const char c : texte) {
        const uint8_t* motif = kChiffres[c - '0'];
        for (int r = 0; r < 5; ++r)
            for (int b = 0; b < 3; ++b)
                if (motif[r] & (4 >> b))
                    for (int dy = 0; dy < echelle; ++dy)
                        for (int dx = 0; dx < echelle; ++dx)
                            Ecrit(sortie, x + b * echelle + dx, y + r * echelle + dy, couleur);
        x += 4 * echelle;
    }
}

// Digits about a third of an interline wide.
int EchelleChiffres(const Portee& p) {
    return std::clamp(static_cast<int>(p.Interligne / 6), 1, 8);
}

uint8_t Couleur(uint16_t r, uint16_t v, uint16_t b) {
    return IndexDeCouleur(Couleur16{r, v, b});
}

uint8_t CouleurAccroche(int numero) {
    static const Couleur16 palette[] = {
        {65535, 32768, 0}, {52428, 0, 52428}, {0, 39321, 39321},
        {39321, 26214, 0}, {65535, 0, 26214}, {0, 39321, 0},
    };
    return IndexDeCouleur(palette[numero % 6]);
}

// Whether a vertical line runs from the top staff line to the bottom one,
// within a fifth of an interline, as a bar line does.
bool EstCandidatBarre(int i, const LigneVert& l) {
    const Portee& p = Document.Etat.Portees[i];
    const float tol = 0.2f * p.Interligne;
    const float haut = LigneHautEn(Document.Etat, i, l.PosX);
    const float bas = haut + (p.NbLignesPortee - 1) * InterligneEn(Document.Etat, i, l.PosX);
    return l.PosY < haut + tol && l.PosY + l.Longueur >= bas - tol;
}

// Rows of the page the staff i is drawn in: half way to its neighbours.
void TerritoirePortee(int i, int& debut, int& fin) {
    const Portee& p = Document.Etat.Portees[i];
    debut = p.CadreBande.top;
    fin = p.CadreBande.bottom;
    if (i > 0)
        debut = std::max(debut,
                         (Document.Etat.Portees[i - 1].CadreLignes.bottom + p.CadreLignes.top) / 2);
    if (i + 1 < Document.Etat.NbPorteesTrouvees())
        fin = std::min(fin,
                       (p.CadreLignes.bottom + Document.Etat.Portees[i + 1].CadreLignes.top) / 2);
}

void CopieBande(PixMap* sortie, int i, const BandeTraitee& b) {
    const Rect& cadre = Document.Etat.Portees[i].CadreBande;
    int debut = 0, fin = 0;
    TerritoirePortee(i, debut, fin);
    const uint8_t rose = Couleur(65535, 45000, 45000);
    const Offscreen finale = b.finale;
    for (int y = std::max<int>(debut, cadre.top); y < fin; ++y) {
        for (int x = 0; x < finale->largeur; ++x) {
            const int yb = y - cadre.top;
            const uint8_t apres = Lit(finale, x, yb);
            const bool avant = Lit(b.intacte, x, yb) == IndexNoir;
            uint8_t c = IndexBlanc;
            if (apres == IndexNoir)
                c = IndexNoir;
            else if (avant)
                c = rose;  // taken by line removal (or by a beam, drawn over below)
            Ecrit(sortie, x + cadre.left, y, c);
        }
    }
}

void DessineLignes(PixMap* sortie, int i, const BandeTraitee& b, bool avecComptes) {
    const Rect& cadre = Document.Etat.Portees[i].CadreBande;
    const uint8_t bleu = Couleur(0, 0, 65535), vert = Couleur(0, 45000, 0);
    const int echelle = EchelleChiffres(Document.Etat.Portees[i]);
    for (const LigneVert& l : b.lignes) {
        const uint8_t c = EstCandidatBarre(i, l) ? vert : bleu;
        for (int y = l.PosY; y <= l.PosY + l.Longueur; ++y)
            for (int x = l.PosX; x < l.PosX + std::max<int>(1, l.Epaisseur); ++x)
                Ecrit(sortie, x + cadre.left, y + cadre.top, c);
        if (avecComptes && l.NbAccroches > 0)
            DessineNombre(sortie, l.PosX + cadre.left + std::max<int>(1, l.Epaisseur) + 2 * echelle,
                          l.PosY + l.Longueur / 2 + cadre.top, l.NbAccroches,
                          CouleurAccroche(l.NumAccroche), echelle);
    }
}

void DessineAccroches(PixMap* sortie, int i, const BandeTraitee& b) {
    const Portee& p = Document.Etat.Portees[i];
    const int hMasque = std::max(1, static_cast<int>(0.33f * p.Interligne));
    const int echelle = EchelleChiffres(p);
    for (const AccrocheTrouvee& a : b.accroches) {
        const uint8_t c = CouleurAccroche(a.numero);
        int hautGauche = b.finale->hauteur;
        for (size_t k = 0; k < a.profil.size(); ++k) {
            const ProfilAccroche& e = a.profil[k];
            const int x = a.x0 + static_cast<int>(k);
            for (int y = e.Haut - 1; y < e.Haut + e.Hauteur + hMasque - 1; ++y) {
                if (Lit(b.avantAccroches, x, y) != IndexNoir) continue;
                Ecrit(sortie, x + p.CadreBande.left, y + p.CadreBande.top, c);
            }
            if (k < 4) hautGauche = std::min(hautGauche, e.Haut - 1);
        }
        // Left of the beam's start, where the stems' counts do not go.
        const int largeurNombre = static_cast<int>(std::to_string(a.numero).size()) * 4 * echelle;
        DessineNombre(sortie, a.x0 + p.CadreBande.left - largeurNombre - 2 * echelle,
                      hautGauche + p.CadreBande.top, a.numero, c, echelle);
    }
}

}  // namespace

bool LitEtapeDessin(const std::string& nom, EtapeDessin& etape) {
    if (nom == "lines")
        etape = EtapeDessin::Lignes;
    else if (nom == "stems")
        etape = EtapeDessin::Tiges;
    else if (nom == "beams")
        etape = EtapeDessin::Accroches;
    else
        return false;
    return true;
}

void LibereBandeTraitee(BandeTraitee& b) {
    for (Offscreen* o : {&b.intacte, &b.avantAccroches, &b.finale})
        if (*o) DisposeOffscreen(*o);
    b = BandeTraitee{};
}

bool TraiteBandeJusqua(int i, std::FILE* copiePage, EtapeDessin etape, BandeTraitee& r) {
    Document.Etat.PorteeCourante = static_cast<int16_t>(i);
    Portee& portee = Document.Etat.Portees[i];
    if (portee.Echantillons.empty() || portee.Echantillons[0].Y == -1.0f) return false;
    if (portee.NbLignesPortee > 5) return false;
    Offscreen bande = DupliquePartieOffscreenFromFile(copiePage, portee.CadreBande);
    if (!bande) return false;
    r.intacte = DupliqueOffscreen(bande);
    EffaceLignesPortee(Document.Etat, ReglagesCourants(), i, bande);
    Document.Etat.PorteeImage = bande;
    portee.LignesVert.clear();
    if (etape >= EtapeDessin::Tiges) RechercheLignesVert(Document.Etat, ReglagesCourants());
    r.avantAccroches = DupliqueOffscreen(bande);
    if (etape >= EtapeDessin::Accroches)
        RechercheAccrochesDecrites(Document.Etat, ReglagesCourants(), &r.accroches);
    r.lignes = portee.LignesVert;
    LibereLignesVert(Document.Etat);
    Document.Etat.PorteeImage = nullptr;
    r.finale = bande;
    return r.intacte && r.avantAccroches;
}

BilanPortee BilanDeBande(int i, const BandeTraitee& b) {
    BilanPortee bilan;
    bilan.traitee = true;
    bilan.lignesVert = static_cast<int>(b.lignes.size());
    bilan.accroches = static_cast<int>(b.accroches.size());
    for (const LigneVert& l : b.lignes) {
        bilan.barres += EstCandidatBarre(i, l);
        ++bilan.tigesParAccroches[std::clamp<int>(l.NbAccroches, 0, 4)];
    }
    return bilan;
}

Offscreen DessineEtapesPortees(Offscreen page, EtapeDessin etape,
                               std::vector<BilanPortee>* bilans) {
    if (!page) return nullptr;
    std::FILE* copie = PushOffscreen(page);
    if (!copie) return nullptr;
    Offscreen sortie = DupliqueOffscreen(page);
    if (!sortie) {
        EffaceFichierTemporaire(copie);
        return nullptr;
    }
    // The page in light grey shows what lies outside every staff's share.
    const uint8_t gris = Couleur(52000, 52000, 52000);
    for (uint8_t& px : sortie->pixels) px = px == IndexNoir ? gris : IndexBlanc;
    for (int i = 0; i < Document.Etat.NbPorteesTrouvees(); ++i) {
        BandeTraitee b;
        BilanPortee bilan;
        if (TraiteBandeJusqua(i, copie, etape, b)) {
            bilan = BilanDeBande(i, b);
            CopieBande(sortie, i, b);
            if (etape >= EtapeDessin::Accroches) DessineAccroches(sortie, i, b);
            if (etape >= EtapeDessin::Tiges)
                DessineLignes(sortie, i, b, etape >= EtapeDessin::Accroches);
        }
        LibereBandeTraitee(b);
        if (bilans) bilans->push_back(bilan);
    }
    EffaceFichierTemporaire(copie);
    return sortie;
}
