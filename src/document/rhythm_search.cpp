#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <vector>

#include "document/rhythm.h"
#include "toolbox/progress.h"

namespace {

constexpr int32_t kScoreGarde = 1000;
constexpr int32_t kScoreSansTuplet = 900;
constexpr int32_t kScorePointeEnMoins = 100;
constexpr int32_t kScoreDivisionEnMoins = 10;
constexpr int32_t kScoreDivisionEnPlus = 1;
constexpr int kNbChangementsMax = 4;
// A note moved into the chord before it keeps its value: it scores nearly
// as a note kept, above any change.
constexpr int32_t kScoreAutreVoix = kScoreGarde - 1;
// Two voices a second apart cannot share a column: the one head is set a
// head's width aside from the other, the stems lining up. At the unison
// the heads may also stand a dot apart. Past these the note is the next one.
constexpr float kEcartSecondeAutreVoix = 1.4f;
constexpr float kEcartUnissonAutreVoix = 3.0f;

// One measure's search: the notes as recognised, the assignment being
// built, and the best complete one so far.
struct Recherche {
    int32_t longueur = 0;
    const std::vector<NoteDoc>& source;
    size_t n = 0;
    std::vector<NoteDoc> travail;
    std::vector<NoteDoc> meilleur;
    int32_t meilleurScore = -1;
    uint32_t appels = 0;
    bool annulee = false;
};

void ChercheRythme(Recherche& r, size_t i, int32_t score, int changements);

// Note i as `choix`, when it still fits in the measure.
void Essaie(Recherche& r, size_t i, const NoteDoc& choix, int64_t avant, int32_t score,
            int changements) {
    if (avant + choix.DureeEffective > r.longueur) return;
    r.travail[i] = choix;
    ChercheRythme(r, i + 1, score, changements);
}

NoteDoc Revalue(NoteDoc note) {
    note.DureeEffective = DureeEffective(note);
    return note;
}

// Takes the value another note was given: nominal and effective durations,
// time division and tuplet.
NoteDoc PrendValeur(NoteDoc note, const NoteDoc& modele) {
    note.Duree = modele.Duree;
    note.DureeEffective = modele.DureeEffective;
    note.DivDuree = modele.DivDuree;
    note.Tuplet = modele.Tuplet;
    return note;
}

// Note i, the first of its chord, may be another voice's note struck with
// the chord before it: its stem goes the other way from every stem there,
// and it stands at the unison or a second from one of those heads, set
// aside just far enough not to touch it. A measure that holds too much as
// read may be two voices, the one's head moved off the other's column.
bool AutreVoixDuPrecedent(const std::vector<NoteDoc>& notes, size_t i) {
    if (i == 0 || notes[i].PosMesure == notes[i - 1].PosMesure) return false;
    const NoteDoc& note = notes[i];
    const bool montante = QueueMontante(note);
    if (note.Silence || (!montante && !QueueDescendante(note))) return false;
    const float ecart = static_cast<float>(note.PosX - notes[i - 1].PosX);
    if (ecart < 0) return false;
    const float interligne = note.TaillePixInterligne;
    bool voisine = false;
    for (size_t j = i; j-- > 0 && notes[j].PosMesure == notes[i - 1].PosMesure;) {
        const NoteDoc& autre = notes[j];
        if (autre.Silence) continue;
        if (montante ? QueueMontante(autre) : QueueDescendante(autre)) return false;
        if (montante ? !QueueDescendante(autre) : !QueueMontante(autre)) continue;
        const int pas = std::abs(autre.Interligne - note.Interligne);
        if ((pas == 0 && ecart <= kEcartUnissonAutreVoix * interligne) ||
            (pas == 1 && ecart <= kEcartSecondeAutreVoix * interligne))
            voisine = true;
    }
    return voisine;
}

// A head of a tuplet and a head outside it, their stems going opposite
// ways: two voices struck together, the tuplet's beam and number are its
// own voice's. (Other heads on opposite stems share their values: a beam
// read on the one may belong to the other.)
bool AutresVoixDuTuplet(const NoteDoc& a, const NoteDoc& b) {
    return a.Tuplet != b.Tuplet &&
           ((QueueMontante(a) && QueueDescendante(b)) || (QueueDescendante(a) && QueueMontante(b)));
}

// Depth-first over the notes in order. Every note may be kept, take the
// value of the note before it, join the chord before it as another voice's
// note, or change (dropped, a dot less, a division less or more, no
// tuplet), at most four changes in all; a kept note scores 1000 and a change
// less, so the best assignment changes the least.
void ChercheRythme(Recherche& r, size_t i, int32_t score, int changements) {
    if (static_cast<int64_t>(r.n - i) * kScoreGarde + score < r.meilleurScore) return;
    if (++r.appels % 256 == 0 && TestAnnulation()) r.annulee = true;
    if (r.annulee || r.appels > kNbAppelsMaxRecherche) return;
    if (i >= r.n) {
        if (DureeMesure(r.travail, r.n) == r.longueur && score > r.meilleurScore) {
            r.meilleur = r.travail;
            r.meilleurScore = score;
        }
        return;
    }
    // The notes of a chord stay together: when its first note joined the
    // chord before it, the others follow.
    NoteDoc source = r.source[i];
    if (i > 0 && r.source[i - 1].PosMesure == source.PosMesure)
        source.PosMesure = r.travail[i - 1].PosMesure;

    // A chord takes the value of its partner of the same nominal value, not
    // that of a tuplet's head in another voice; when they also read alike,
    // nothing else is worth trying.
    std::ptrdiff_t k = static_cast<ptrdiff_t>(i) - 1;
    for (; k >= 0 && r.source[k].PosMesure == r.source[i].PosMesure; --k) {
        if (r.source[k].Duree != source.Duree || AutresVoixDuTuplet(r.source[k], source)) continue;
        r.travail[i] = PrendValeur(source, r.travail[k]);
        ChercheRythme(r, i + 1, score + kScoreGarde, changements);
        if (r.source[k].DureeEffective == source.DureeEffective) return;
    }

    // A chord moved into the one before it adds nothing past that chord.
    const bool jointe = source.PosMesure != r.source[i].PosMesure;
    const int64_t avant = jointe ? 0 : DureeMesure(r.travail, static_cast<size_t>(k + 1));
    if (avant > r.longueur) return;

    Essaie(r, i, Revalue(source), avant, score + kScoreGarde, changements);

    int32_t base = score;
    if (k >= 0 && r.travail[k].DureeEffective != 0 &&
        r.source[k].DureeEffective == source.DureeEffective &&
        r.travail[k].DureeEffective != source.DureeEffective) {
        if (k == 0) base += 1;
        Essaie(r, i, PrendValeur(source, r.travail[k]), avant, base + kScoreGarde, changements);
    }
    // Joined to the chord before it, the note can only shorten what is
    // already there, which fitted.
    if (AutreVoixDuPrecedent(r.source, i)) {
        r.travail[i] = Revalue(source);
        r.travail[i].PosMesure = r.travail[i - 1].PosMesure;
        ChercheRythme(r, i + 1, score + kScoreAutreVoix, changements);
    }
    if (changements >= kNbChangementsMax) return;
    const int suivants = changements + 1;

    NoteDoc choix = source;
    choix.Duree = 0;
    Essaie(r, i, Revalue(choix), avant, base, suivants);
    if (source.Pointe > 0) {
        choix = source;
        --choix.Pointe;
        Essaie(r, i, Revalue(choix), avant, base + kScorePointeEnMoins, suivants);
    }
    if (source.DivDuree > 0) {
        choix = source;
        --choix.DivDuree;
        Essaie(r, i, Revalue(choix), avant, base + kScoreDivisionEnMoins, suivants);
    }
    if (source.DivDuree > 1) {
        choix = source;
        ++choix.DivDuree;
        Essaie(r, i, Revalue(choix), avant, base + kScoreDivisionEnPlus, suivants);
    }
    if (source.Tuplet > 1) {
        choix = source;
        choix.Tuplet = 0;
        Essaie(r, i, Revalue(choix), avant, base + kScoreSansTuplet, suivants);
    }
}

// The notes of a chord share its finest time division: a beam drawn to one
// head is the stem's, and so every head's. Another voice's head struck with
// a tuplet's (an eighth below a triplet's sixteenth) keeps its own, and a
// rest struck with them belongs to another voice and has no stem: its
// glyph alone gives its value.
void UnifieDivisionsAccords(std::vector<NoteDoc>& notes) {
    size_t debut = 0;
    std::vector<int16_t> divisions;
    while (debut < notes.size()) {
        size_t fin = debut;
        while (fin < notes.size() && notes[fin].PosMesure == notes[debut].PosMesure) ++fin;
        divisions.assign(fin - debut, 0);
        for (size_t j = debut; j < fin; ++j)
            for (size_t k = debut; k < fin; ++k)
                if (!notes[k].Silence && !AutresVoixDuTuplet(notes[j], notes[k]))
                    divisions[j - debut] = std::max(divisions[j - debut], notes[k].DivDuree);
        for (size_t j = debut; j < fin; ++j)
            if (!notes[j].Silence) notes[j].DivDuree = divisions[j - debut];
        debut = fin;
    }
}

// No assignment fits: leading notes go until the rest fits, then a rest in
// front fills what is missing.
std::vector<NoteDoc> Comble(std::vector<NoteDoc> notes, int32_t longueur) {
    for (size_t i = 0; i < notes.size() && DureeMesure(notes, notes.size()) > longueur; ++i) {
        notes[i].Duree = 0;
        notes[i].DureeEffective = 0;
    }
    NoteDoc silence{};
    silence.Alteration = 0;
    silence.Silence = 1;
    silence.Duree = static_cast<int32_t>(longueur - DureeMesure(notes, notes.size()));
    silence.DureeEffective = silence.Duree;
    // The rest sounds before every chord: sharing the first kept note's
    // position would make it part of that chord and leave the measure short.
    auto suivante = std::find_if(notes.begin(), notes.end(),
                                 [](const NoteDoc& n) { return n.DureeEffective != 0; });
    if (suivante != notes.end() && suivante->PosMesure == silence.PosMesure)
        silence.PosMesure = static_cast<int16_t>(
            suivante->PosMesure > INT16_MIN ? suivante->PosMesure - 1 : suivante->PosMesure + 1);
    notes.insert(notes.begin(), silence);
    return notes;
}

}  // namespace

bool RecaleNotesMesure(MesureDoc& mesure, int32_t& score) {
    return RecaleNotesMesure(mesure, mesure.Clef.LongueurMesure, score);
}

bool RecaleNotesMesure(MesureDoc& mesure, int32_t longueur, int32_t& score) {
    std::vector<NoteDoc>& notes = mesure.Notes;
    UnifieDivisionsAccords(notes);
    for (NoteDoc& note : notes) note.DureeEffective = DureeEffective(note);

    Recherche r{longueur, notes, notes.size(), notes, {}, -1, 0, false};
    if (notes.size() <= kNbNotesMaxRecherche) ChercheRythme(r, 0, 0, 0);
    if (r.annulee) return false;
    score = r.meilleurScore;

    // A measure printed empty (a staff silent for a while, its rests left
    // out) stays empty: a rest filling it would be a symbol not on the page.
    std::vector<NoteDoc> resultat =
        score >= 0 || notes.empty() ? std::move(r.meilleur) : Comble(notes, longueur);
    notes.clear();
    for (const NoteDoc& note : resultat)
        if (note.DureeEffective != 0) notes.push_back(note);
    return true;
}

namespace {

// What most parts hold in measure m, the longer on a tie; 0 when none holds
// anything.
int64_t DureeTenue(const DocumentMusical& document, size_t m) {
    std::vector<int64_t> durees;
    for (const PorteeDoc& partie : document.Portees) {
        const std::vector<NoteDoc>& notes = partie.Mesures[m].Notes;
        const int64_t d = DureeMesure(notes, notes.size());
        if (d > 0) durees.push_back(d);
    }
    int64_t tenue = 0;
    long votes = 0;
    for (int64_t d : durees) {
        const long n = std::count(durees.begin(), durees.end(), d);
        if (n > votes || (n == votes && d > tenue)) {
            tenue = d;
            votes = n;
        }
    }
    return tenue;
}

}  // namespace

int32_t LongueurJouee(const DocumentMusical& document, size_t m) {
    const int32_t longueur =
        document.Portees.empty() ? 0 : document.Portees[0].Mesures[m].Clef.LongueurMesure;
    const size_t nbMesures = document.Portees[0].Mesures.size();
    if (nbMesures < 2) return longueur;
    const int64_t tenue = DureeTenue(document, m);
    if (tenue <= 0 || tenue >= longueur) return longueur;
    if (m == 0 || m + 1 == nbMesures) return static_cast<int32_t>(tenue);
    // A measure split in two by a repeat sign or a phrase's end: the two
    // short halves, side by side inside the piece, hold one measure together.
    const auto completent = [&](size_t autre) {
        return autre > 0 && autre + 1 < nbMesures &&
               document.Portees[0].Mesures[autre].Clef.LongueurMesure == longueur &&
               tenue + DureeTenue(document, autre) == longueur;
    };
    return completent(m - 1) || completent(m + 1) ? static_cast<int32_t>(tenue) : longueur;
}

bool RecaleNotesSurDivTemporelles(DocumentMusical& document) {
    const size_t nbParties = document.Portees.size();
    if (nbParties == 0) return true;
    // A pick-up and a short last measure keep their length: the parts are
    // fitted to what they hold, not filled to the time signature.
    std::vector<int32_t> longueurs;
    for (size_t m = 0; m < document.Portees[0].Mesures.size(); ++m)
        longueurs.push_back(LongueurJouee(document, m));
    for (size_t p = 0; p < nbParties; ++p) {
        ProgressionCourante().Pourcentage(static_cast<int>(25 + 75 * p / nbParties));
        std::vector<MesureDoc>& mesures = document.Portees[p].Mesures;
        for (size_t m = 0; m < mesures.size(); ++m) {
            int32_t score = -1;
            const int32_t longueur =
                m < longueurs.size() ? longueurs[m] : mesures[m].Clef.LongueurMesure;
            if (!RecaleNotesMesure(mesures[m], longueur, score)) return false;
        }
    }
    return true;
}
