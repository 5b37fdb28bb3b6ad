#include "document/written_score.h"

#include <algorithm>
#include <map>
#include <utility>

#include "document/music_file.h"
#include "document/rhythm.h"

namespace {

constexpr int32_t kPlusCourteDepart = 4 * kDureeRonde;

// Sharps are added in the order F C G D A E B; flats the other way round.
constexpr int kOrdreDieses[7] = {3, 0, 4, 1, 5, 2, 6};

bool TypeClefConnu(int type) {
    return type >= 1 && type <= 3;
}

// What a reader of the music file knows while it goes through one part:
// the key written last, the accidentals met in the current measure, and
// the pitches of the ties that are still open.
class Lecteur {
  public:
    explicit Lecteur(int tonalite) : tonalite_(tonalite) {}

    void NouvelleMesure(int tonalite) {
        if (tonalite != 0 && tonalite != tonalite_) tonalite_ = tonalite;
        alterationsMesure_.clear();
    }
    int Tonalite() const { return tonalite_; }

    // A note's pitch: its own accidental, else the pitch it is tied from,
    // else an accidental earlier in the measure, else the key.
    HauteurEcrite Note(const NoteDoc& note, int diatonique) {
        HauteurEcrite h{diatonique, 0};
        std::pair<int, int> liee{0, 0};
        bool estLiee = false;
        if (note.FinLiaison != 0) {
            auto it = liaisons_.find(note.FinLiaison);
            if (it != liaisons_.end()) {
                liee = it->second;
                estLiee = true;
                liaisons_.erase(it);
            }
        }
        int demiTons = 0;
        if (DemiTonsAlteration(note.Alteration, demiTons)) {
            h.Alteration = demiTons;
            alterationsMesure_[diatonique] = demiTons;
        } else if (estLiee && liee.first == diatonique) {
            h.Alteration = liee.second;
        } else {
            h.Alteration = SansAlterationPropre(diatonique);
        }
        if (note.DebutLiaison != 0) liaisons_[note.DebutLiaison] = {diatonique, h.Alteration};
        return h;
    }

    // A grace note has no accidental of its own and changes nothing.
    HauteurEcrite Appogiature(int diatonique) const {
        return HauteurEcrite{diatonique, SansAlterationPropre(diatonique)};
    }

  private:
    int SansAlterationPropre(int diatonique) const {
        auto it = alterationsMesure_.find(diatonique);
        if (it != alterationsMesure_.end()) return it->second;
        int alterations[7];
        AlterationsTonalite(tonalite_, alterations);
        return alterations[((diatonique % 7) + 7) % 7];
    }

    int tonalite_;
    std::map<int, int> alterationsMesure_;
    std::map<int, std::pair<int, int>> liaisons_;
};

// Reads the notes of measure `m` under its clef, each change taking over
// from the first note right of its column; the changes are recorded with
// the chord they start at.
std::vector<NoteEcrite> NotesMesure(const std::vector<NoteDoc>& notes,
                                    const std::vector<ChangementClefDoc>& changements,
                                    Lecteur& lecteur, MesureEcrite& m) {
    std::vector<NoteEcrite> ecrites;
    int64_t debutAccord = 0;
    int32_t plusCourte = kPlusCourteDepart;
    int accord = 0;
    int base = BaseHauteur(m.TypeClef, m.LigneClef);
    size_t suivant = 0;
    int type = m.TypeClef, ligne = m.LigneClef;
    auto change = [&](const ChangementClefDoc& c) {
        const ClefEcrite clef{debutAccord, c.TypeClef, LigneDeClef(c.TypeClef, c.LigneClef)};
        if (clef.TypeClef == type && clef.LigneClef == ligne) return;
        m.ChangementsClef.push_back(clef);
        type = clef.TypeClef;
        ligne = clef.LigneClef;
        base = BaseHauteur(type, ligne);
    };
    for (size_t k = 0; k < notes.size(); ++k) {
        const NoteDoc& note = notes[k];
        for (; suivant < changements.size() && changements[suivant].PosX < note.PosX; ++suivant)
            change(changements[suivant]);
        NoteEcrite e;
        e.Source = &note;
        e.DebutAccord = debutAccord;
        e.Accord = accord;
        // Grace notes read before a rest stay with it, as in the music file.
        const int nb = std::clamp<int>(note.NbAppogiatures, 0, kNbAppogiaturesMax);
        for (int a = 0; a < nb; ++a)
            e.Appogiatures.push_back(
                lecteur.Appogiature(base - note.Appogiatures[a].Interligne - 7));
        if (!note.Silence) e.Hauteur = lecteur.Note(note, base - note.Interligne - 7);
        ecrites.push_back(std::move(e));
        plusCourte = std::min(plusCourte, note.DureeEffective);
        if (k + 1 == notes.size() || notes[k + 1].PosMesure != note.PosMesure) {
            debutAccord += plusCourte;
            plusCourte = kPlusCourteDepart;
            ++accord;
        }
    }
    for (; suivant < changements.size(); ++suivant) change(changements[suivant]);
    m.DureeNotes = debutAccord;
    return ecrites;
}

// The changes of a measure whose clef is known; none for a measure that
// repeats another's notes, whose columns are not its own.
std::vector<ChangementClefDoc> ChangementsConnus(const MesureDoc& mesure, bool repetition) {
    std::vector<ChangementClefDoc> connus;
    if (repetition) return connus;
    for (const ChangementClefDoc& c : mesure.ChangementsClef)
        if (TypeClefConnu(c.TypeClef)) connus.push_back(c);
    return connus;
}

PartieEcrite LitPartie(const PorteeDoc& partie, int tonaliteDocument) {
    PartieEcrite ecrite;
    ecrite.Source = &partie;
    Lecteur lecteur(tonaliteDocument);
    int clef = partie.ClefInitiale.TypeClef;
    int ligne = partie.ClefInitiale.LigneClef;
    for (size_t m = 0; m < partie.Mesures.size(); ++m) {
        const MesureDoc& mesure = partie.Mesures[m];
        if (TypeClefConnu(mesure.Clef.TypeClef)) {
            clef = mesure.Clef.TypeClef;
            ligne = mesure.Clef.LigneClef;
        }
        lecteur.NouvelleMesure(CodeTonalite(mesure.Clef.NbDiese, mesure.Clef.NbBemol));
        MesureEcrite e;
        e.Source = &mesure;
        e.TypeClef = TypeClefConnu(clef) ? clef : 1;
        e.LigneClef = LigneDeClef(e.TypeClef, TypeClefConnu(clef) ? ligne : 0);
        e.Tonalite = lecteur.Tonalite();
        if (mesure.Clef.Numerateur > 0 && mesure.Clef.Denominateur > 0) {
            e.Numerateur = mesure.Clef.Numerateur;
            e.Denominateur = mesure.Clef.Denominateur;
        }
        e.Longueur = mesure.Clef.LongueurMesure > 0 ? mesure.Clef.LongueurMesure
                                                    : LongueurMesure(e.Numerateur, e.Denominateur);
        const std::vector<NoteDoc>& notes = NotesAEcrire(partie, m);
        e.Repetition = &notes != &mesure.Notes;
        e.Notes = NotesMesure(notes, ChangementsConnus(mesure, e.Repetition), lecteur, e);
        if (!e.ChangementsClef.empty()) {
            clef = e.ChangementsClef.back().TypeClef;
            ligne = e.ChangementsClef.back().LigneClef;
        }
        ecrite.Mesures.push_back(std::move(e));
    }
    return ecrite;
}

}  // namespace

int HauteurEcrite::Octave() const {
    return Diatonique >= 0 ? Diatonique / 7 : (Diatonique - 6) / 7;
}
int HauteurEcrite::Degre() const {
    return Diatonique - 7 * Octave();
}

void AlterationsTonalite(int tonalite, int alterations[7]) {
    std::fill(alterations, alterations + 7, 0);
    if (tonalite >= 1 && tonalite <= 7)
        for (int i = 0; i < tonalite; ++i) alterations[kOrdreDieses[i]] = 1;
    else if (tonalite >= 8 && tonalite <= 14)
        for (int i = 0; i < tonalite - 7; ++i) alterations[kOrdreDieses[6 - i]] = -1;
}

int QuintesTonalite(int tonalite) {
    if (tonalite >= 1 && tonalite <= 7) return tonalite;
    if (tonalite >= 8 && tonalite <= 14) return 7 - tonalite;
    return 0;
}

bool DemiTonsAlteration(int code, int& demiTons) {
    switch (code) {
        case 0:
            demiTons = 0;
            return true;
        case 1:
            demiTons = 1;
            return true;
        case 3:
            demiTons = -1;
            return true;
        case 4:
            demiTons = 2;
            return true;
        case 5:
            demiTons = -2;
            return true;
        default:
            return false;
    }
}

std::vector<PartieEcrite> LitPartitionEcrite(const DocumentMusical& document) {
    std::vector<PartieEcrite> parties;
    if (document.Portees.empty()) return parties;
    const ClefDoc& initiale = document.Portees[0].ClefInitiale;
    const int tonalite = CodeTonalite(initiale.NbDiese, initiale.NbBemol);
    for (const PorteeDoc& partie : document.Portees) parties.push_back(LitPartie(partie, tonalite));
    return parties;
}

LiensPartie TrouveLiens(const PartieEcrite& partie) {
    LiensPartie liens;
    std::map<int, const NoteEcrite*> ouverts;
    std::map<const NoteEcrite*, const MesureEcrite*> mesureDe;
    for (const MesureEcrite& m : partie.Mesures)
        for (const NoteEcrite& n : m.Notes) {
            if (n.Source->Silence || n.Source->DureeEffective <= 0) continue;
            if (n.Source->FinLiaison != 0) {
                auto it = ouverts.find(n.Source->FinLiaison);
                if (it != ouverts.end()) {
                    const NoteEcrite* debut = it->second;
                    const bool memeHauteur = debut->Hauteur.Diatonique == n.Hauteur.Diatonique &&
                                             debut->Hauteur.Alteration == n.Hauteur.Alteration;
                    // A curve between two heads of one chord joins nothing in time.
                    const bool memeAccord = mesureDe[debut] == &m && debut->Accord == n.Accord;
                    if (!memeAccord) {
                        (memeHauteur ? liens.DebutsLiaison : liens.DebutsLegato).insert(debut);
                        (memeHauteur ? liens.FinsLiaison : liens.FinsLegato).insert(&n);
                    }
                    ouverts.erase(it);
                }
            }
            if (n.Source->DebutLiaison != 0) {
                ouverts[n.Source->DebutLiaison] = &n;
                mesureDe[&n] = &m;
            }
        }
    return liens;
}
