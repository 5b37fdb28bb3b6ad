#include "app/inspect_notes.h"

#include <cstdio>
#include <utility>

#include "image/offscreen.h"
#include "records/catalogue.h"
#include "symbols/notes.h"
#include "toolbox/music_glyphs.h"

namespace {

const char* const kValeursTetes[] = {"quarter", "eighth", "16th", "32nd", "64th", "128th", "256th"};

const char* NomRepos(uint16_t code) {
    switch (code) {
        case kCarPause:
            return "whole rest";
        case kCarDemiPause:
            return "half rest";
        case kCarSoupir:
            return "quarter rest";
        case kCarDemiSoupir:
            return "eighth rest";
        case kCarQuartSoupir:
            return "16th rest";
        case kCarHuitiemeSoupir:
            return "32nd rest";
        case kCarSeiziemeSoupir:
            return "64th rest";
        default:
            return "rest";
    }
}

const char* NomQueue(uint8_t cote) {
    switch (cote) {
        case QueueNormale:
            return "up-right";
        case QueueHautGauche:
            return "up-left";
        case QueueBasDroite:
            return "down-right";
        case QueueBasse:
            return "down-left";
        default:
            return "none";
    }
}

const char* NomAlteration(uint8_t a) {
    switch (a) {
        case kBecarre:
            return "natural";
        case kDiese:
            return "sharp";
        case kBemol:
            return "flat";
        case kDoubleDiese:
            return "double sharp";
        case kDoubleBemol:
            return "double flat";
        default:
            return "";
    }
}

bool QueueMonte(uint8_t cote) {
    return cote == QueueNormale || cote == QueueHautGauche;
}
bool QueueADroite(uint8_t cote) {
    return cote == QueueNormale || cote == QueueBasDroite;
}

void Point(PixMap& carte, int x, int y, uint8_t index) {
    if (x < 0 || y < 0 || x >= carte.largeur || y >= carte.hauteur) return;
    carte.pixels[static_cast<size_t>(y) * carte.pasLigne + x] = index;
}

void Verticale(PixMap& carte, int x, int y0, int y1, uint8_t index) {
    if (y0 > y1) std::swap(y0, y1);
    for (int y = y0; y <= y1; ++y) Point(carte, x, y, index);
}

void Horizontale(PixMap& carte, int x0, int x1, int y, uint8_t index) {
    if (x0 > x1) std::swap(x0, x1);
    for (int x = x0; x <= x1; ++x) Point(carte, x, y, index);
}

}  // namespace

std::string ValeurNote(const NotePortee& n) {
    if (n.Silence) return NomRepos(n.CodeNote);
    if (n.CodeNote == kCarAppogiature) return "grace";
    if (n.CodeNote == kCarRonde) return "whole";
    if (n.CodeNote == kCarBlanche) return "half";
    const int d = n.DivDuree < 6 ? n.DivDuree : 6;
    return kValeursTetes[d];
}

void EcritNotesTexte(const PorteeInspectee& p) {
    std::printf("  %zu notes and rests:\n", p.notes.size());
    for (const NotePortee& n : p.notes) {
        std::printf("  col %5d row %4d  pos %3d  %-12s %-7s score %4d  stem %-10s %3d", n.PosX,
                    n.PosY, n.Interligne, ValeurNote(n).c_str(), NomCaractere(n.CodeNote),
                    n.ProbNote, NomQueue(n.Queue), n.Queue ? n.HauteurQueue : 0);
        if (n.DivDuree) std::printf("  %s %d", n.AvecAccroche ? "beams" : "flags", n.DivDuree);
        if (n.AvecAccroche) std::printf(" (group %d)", n.Accroche);
        if (n.Alteration != kSansAlteration) std::printf("  %s", NomAlteration(n.Alteration));
        if (n.Pointe) std::printf("  %s", n.Pointe == 2 ? "two dots" : "dot");
        if (n.Etat == kNoteSupprimee) std::printf("  (removed)");
        std::printf("\n");
    }
}

void EcritNotesJSON(const PorteeInspectee& p) {
    std::printf("[");
    bool premiere = true;
    for (const NotePortee& n : p.notes) {
        std::printf(
            "%s\n  {\"column\": %d, \"row\": %d, \"staff_position\": %d, \"code\": %d, "
            "\"value\": \"%s\", \"rest\": %s, \"score\": %d, \"stem\": \"%s\", "
            "\"stem_length\": %d, \"divisions\": %d, \"beamed\": %s, \"beam_group\": %d, "
            "\"accidental\": \"%s\", \"dots\": %d, \"removed\": %s}",
            premiere ? "" : ",", n.PosX, n.PosY, n.Interligne, n.CodeNote, ValeurNote(n).c_str(),
            n.Silence ? "true" : "false", n.ProbNote, NomQueue(n.Queue),
            n.Queue ? n.HauteurQueue : 0, n.DivDuree, n.AvecAccroche ? "true" : "false", n.Accroche,
            NomAlteration(n.Alteration), n.Pointe, n.Etat == kNoteSupprimee ? "true" : "false");
        premiere = false;
    }
    std::printf("]");
}

void DessineNotes(PixMap& carte, const PorteeInspectee& p, int dy) {
    const uint8_t valide = IndexDeCouleur({0, 26214, 65535});
    const uint8_t supprimee = IndexDeCouleur({39321, 39321, 39321});
    const int taille = p.tailleSymboles;
    const int s = static_cast<int>(p.interligne);
    for (const NotePortee& n : p.notes) {
        const uint8_t c = n.Etat == kNoteSupprimee ? supprimee : valide;
        const int y = dy + n.PosY;
        if (n.Silence) {
            Rect boite;
            if (taille > 0 && BoiteCaractere(n.CodeNote, taille, boite))
                DessineCaractere(carte, n.CodeNote, taille, y - (boite.top + boite.bottom) / 2,
                                 n.PosX, c);
        } else {
            const int tailleTete = n.CodeNote == kCarAppogiature ? taille * 2 / 3 : taille;
            DessineCaractere(carte, n.CodeNote == kCarAppogiature ? kCarNoire : n.CodeNote,
                             tailleTete, y, n.PosX, c);
        }
        if (n.Queue != kSansQueue) {
            const int largeur = LargeurGlyphe(n.CodeNote, taille);
            const int x = QueueADroite(n.Queue) ? n.PosX + largeur - 1 : n.PosX;
            const int bout = QueueMonte(n.Queue) ? y - n.HauteurQueue : y + n.HauteurQueue;
            Verticale(carte, x, y, bout, c);
            Verticale(carte, x + 1, y, bout, c);
            // One short stroke per flag or beam at the stem's far end.
            const int sens = QueueMonte(n.Queue) ? 1 : -1;
            for (int k = 0; k < n.DivDuree && k < 6; ++k) {
                const int yk = bout + sens * k * (s / 2 + 1);
                Horizontale(carte, x, x + s, yk, c);
                Horizontale(carte, x, x + s, yk + sens, c);
            }
        }
        if (n.Alteration != kSansAlteration && n.Alteration <= kBemol) {
            const uint16_t code = n.Alteration == kDiese   ? kCarDiese
                                  : n.Alteration == kBemol ? kCarBemol
                                                           : kCarBecarre;
            DessineCaractere(carte, code, taille, y, n.PosX - s * 3 / 2, c);
        }
        for (int k = 0; k < n.Pointe; ++k)
            DessineCaractere(carte, kCarPointe, taille, y, n.PosX + s * 3 / 2 + k * s / 2, c);
    }
}
