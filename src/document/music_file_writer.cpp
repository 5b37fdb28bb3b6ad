#include <algorithm>
#include <ctime>

#include "document/keyword_stream.h"
#include "document/music_file.h"
#include "document/note_keywords.h"
#include "records/options.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"

namespace {

constexpr int32_t kPlusCourteDepart = 4 * kDureeRonde;
constexpr int kInterligneSilence = -9999;

const char* const kEntete[] = {
    "Ruzo Music File\n",
    "Written by Ruzo from printed pages of music.\n",
    "Durations are in units of 1/40320 of a quarter note.\n",
    "Pitches count staff steps from the clef's reference line.\n",
    "Blocks open with Debut... and close with the matching Fin...\n",
    "Edit with care: the editors expect every block to be closed.\n",
};

bool EcritMotSeul(const char* mot) {
    return mot[0] == '\0' || EcritMot(mot, "");
}

int32_t Borne(int64_t valeur) {
    return static_cast<int32_t>(std::clamp<int64_t>(valeur, INT32_MIN, INT32_MAX));
}

std::string TexteDureeTraitement(int32_t secondes) {
    const std::time_t maintenant = std::time(nullptr);
    std::tm local{};
    localtime_r(&maintenant, &local);
    char date[128];
    if (std::strftime(date, sizeof date, "%A %d %B %Y", &local) == 0) date[0] = '\0';
    const std::string heure =
        FormateTexte("%2d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return FormateTexte("%s %s,Ruzo %s, Computing time :%d sec.", date, heure.c_str(), RUZO_VERSION,
                        secondes);
}

// Where the chord of note k ends (one past its last note).
size_t FinAccord(const std::vector<NoteDoc>& notes, size_t k) {
    size_t fin = k;
    while (fin < notes.size() && notes[fin].PosMesure == notes[k].PosMesure) ++fin;
    return fin;
}

bool PorteAccroche(const std::vector<NoteDoc>& notes, size_t debut, size_t fin) {
    return std::any_of(notes.begin() + debut, notes.begin() + fin,
                       [](const NoteDoc& n) { return n.Accroche > 0; });
}

bool EcritAppogiatures(const NoteDoc& note, int base) {
    if (note.NbAppogiatures <= 0) return true;
    const int nb = std::min<int>(note.NbAppogiatures, kNbAppogiaturesMax);
    bool ok = EcritDebut("DebutAppogiature") && EcritLong("NbAppogiature", nb);
    for (int a = 0; ok && a < nb; ++a)
        ok = EcritLong("Interligne", base - note.Appogiatures[a].Interligne);
    return ok && EcritFin("FinAppogiature");
}

bool EcritNote(const NoteDoc& note, int64_t debutAccord, bool accroche, int base) {
    bool ok =
        EcritLong("DureeNote", note.DureeEffective) && EcritLong("PosNote", Borne(debutAccord));
    if (ok && note.Tuplet != 0) ok = EcritLong("Tuplet", note.Tuplet);
    if (ok && note.Silence == 0)
        ok = EcritLong("Interligne", base - note.Interligne) &&
             EcritMotSeul(NomAlteration(note.Alteration));
    else if (ok)
        ok = EcritLong("Interligne", kInterligneSilence);
    if (ok && accroche) ok = EcritMot("Accroche", "");
    if (ok && note.HauteurQueue != 0)
        ok = EcritLong("HauteurQueue", note.DivDuree * 100 + note.HauteurQueue);
    ok = ok && EcritMotSeul(NomQueue(note.Queue));
    if (ok && note.DebutLiaison != 0) ok = EcritLong("DebutLiaison", note.DebutLiaison);
    if (ok && note.FinLiaison != 0) ok = EcritLong("FinLiaison", note.FinLiaison);
    ok = ok && EcritMotSeul(NomEffet(note.Effet));
    if (ok && note.PointDOrgue != 0) ok = EcritLong("PointDOrgue", note.PointDOrgue);
    return ok && EcritLong("PosMesure", note.PosMesure) && EcritAppogiatures(note, base);
}

// "Type", and "LigneClef" after it for a clef off its usual line (a tenor
// clef): files without it mean the usual line.
bool EcritTypeClef(int type, int ligneClef) {
    bool ok = EcritMot("Type", NomTypeClef(type));
    const int ligne = LigneDeClef(type, ligneClef);
    if (ok && ligne != LigneDeClef(type, 0))
        ok = EcritEntier("LigneClef", static_cast<int16_t>(ligne));
    return ok;
}

bool EcritTypeClef(const ClefDoc& clef) {
    return EcritTypeClef(clef.TypeClef, clef.LigneClef);
}

// The notes of one measure. A chord starts where the previous one ended,
// its shortest note setting its length. A clef change inside the measure
// is written as its "Type" just before the first note it governs (the
// notes right of its column), and becomes the current clef.
bool EcritNotes(const std::vector<NoteDoc>& notes,
                const std::vector<ChangementClefDoc>& changements, ClefDoc& clefCourante,
                bool& annule) {
    int base = BaseHauteur(clefCourante.TypeClef, clefCourante.LigneClef);
    size_t suivant = 0;
    auto change = [&](const ChangementClefDoc& c) {
        if (NomTypeClef(c.TypeClef)[0] == '\0' ||
            (c.TypeClef == clefCourante.TypeClef &&
             LigneDeClef(c.TypeClef, c.LigneClef) ==
                 LigneDeClef(clefCourante.TypeClef, clefCourante.LigneClef)))
            return true;
        clefCourante.TypeClef = c.TypeClef;
        clefCourante.LigneClef = c.LigneClef;
        base = BaseHauteur(c.TypeClef, c.LigneClef);
        return EcritTypeClef(c.TypeClef, c.LigneClef);
    };
    bool ok = EcritLong("NbNotes", static_cast<int32_t>(notes.size()));
    int64_t debutAccord = 0;
    int32_t plusCourte = kPlusCourteDepart;
    size_t debutCourant = 0;
    for (size_t k = 0; ok && k < notes.size(); ++k) {
        if (TestAnnulation()) {
            annule = true;
            return false;
        }
        for (; ok && suivant < changements.size() && changements[suivant].PosX < notes[k].PosX;
             ++suivant)
            ok = change(changements[suivant]);
        const size_t fin = FinAccord(notes, k);
        if (k == 0 || notes[k].PosMesure != notes[k - 1].PosMesure) debutCourant = k;
        const bool accroche = PorteAccroche(notes, debutCourant, k + 1) &&
                              PorteAccroche(notes, fin, FinAccord(notes, fin));
        ok = EcritDebutNum("DebutNote", static_cast<int16_t>(k + 1)) &&
             EcritNote(notes[k], debutAccord, accroche, base) && EcritFin("FinNote");
        plusCourte = std::min(plusCourte, notes[k].DureeEffective);
        if (k + 1 == fin) {
            debutAccord += plusCourte;
            plusCourte = kPlusCourteDepart;
        }
    }
    for (; ok && suivant < changements.size(); ++suivant) ok = change(changements[suivant]);
    return ok;
}

// What the writer has said so far, so that only changes are repeated.
struct EtatEcriture {
    int16_t numerateur = 4;
    int16_t denominateur = 4;
    int tonalite = 0;
};

bool EcritMesure(const PorteeDoc& partie, size_t m, bool premierePartie, EtatEcriture& dit,
                 int& tonalitePartie, ClefDoc& clefCourante, bool& annule) {
    const MesureDoc& mesure = partie.Mesures[m];
    const ClefDoc& clef = mesure.Clef;
    bool ok = EcritDebutNum("DebutMesure", static_cast<int16_t>(m + 1));
    if (ok && premierePartie &&
        (clef.Numerateur != dit.numerateur || clef.Denominateur != dit.denominateur)) {
        ok = EcritLong("DivTemp", clef.Numerateur * 100 + clef.Denominateur);
        dit.numerateur = clef.Numerateur;
        dit.denominateur = clef.Denominateur;
    }
    const int tonalite = CodeTonalite(clef.NbDiese, clef.NbBemol);
    if (ok && tonalite != 0 && tonalite != tonalitePartie) {
        ok = EcritLong("Tonalite", tonalite);
        tonalitePartie = tonalite;
    }
    const char* type = NomTypeClef(clef.TypeClef);
    if (ok && type[0] != '\0' &&
        (clef.TypeClef != clefCourante.TypeClef ||
         LigneDeClef(clef.TypeClef, clef.LigneClef) !=
             LigneDeClef(clefCourante.TypeClef, clefCourante.LigneClef))) {
        ok = EcritTypeClef(clef);
        clefCourante = clef;
    }
    ok = ok && EcritReel("Taille", mesure.Taille);
    if (ok && mesure.DebutRepetition) ok = EcritMot("DebutRepetition", "");
    if (ok && mesure.FinRepetition) ok = EcritMot("FinRepetition", "");
    if (ok && mesure.DebutMusique) ok = EcritMot("DebutMusique", "");
    if (ok && mesure.FinMusique) ok = EcritMot("FinMusique", "");
    const std::vector<NoteDoc>& notes = NotesAEcrire(partie, m);
    // A measure that repeats another's notes has no columns of its own.
    static const std::vector<ChangementClefDoc> kAucun;
    ok = ok && EcritNotes(notes, &notes == &mesure.Notes ? mesure.ChangementsClef : kAucun,
                          clefCourante, annule);
    return ok && EcritFinNum("FinMesure", static_cast<int16_t>(m + 1));
}

bool EcritPartie(const PorteeDoc& partie, size_t p, EtatEcriture& dit, bool& annule) {
    const int16_t numero = static_cast<int16_t>(p + 1);
    bool ok = EcritDebutNum("DebutPortee", numero) &&
              EcritReel("HauteurPortee", partie.HauteurPortee) &&
              EcritReel("LigneBasePortee", partie.LigneBasePortee);
    if (ok && NomTypeClef(partie.ClefInitiale.TypeClef)[0] != '\0')
        ok = EcritTypeClef(partie.ClefInitiale);
    ok = ok && EcritEntier("Accolade", partie.Accolade) &&
         EcritEntier("TablatureAssociee", partie.TablatureAssociee) &&
         EcritLong("NbMesures", static_cast<int32_t>(partie.Mesures.size()));
    int tonalite = dit.tonalite;
    ClefDoc clefCourante = partie.ClefInitiale;
    for (size_t m = 0; ok && m < partie.Mesures.size(); ++m)
        ok = EcritMesure(partie, m, p == 0, dit, tonalite, clefCourante, annule);
    return ok && EcritFinNum("FinPortee", numero);
}

// A measure that is a single rest marked as repeating the previous one
// sounds like the last measure that was written out.
bool EstRepetition(const MesureDoc& mesure) {
    return mesure.RepetePrecedente && mesure.Notes.size() == 1 && mesure.Notes[0].Silence;
}

}  // namespace

const std::vector<NoteDoc>& NotesAEcrire(const PorteeDoc& partie, size_t m) {
    if (!EstRepetition(partie.Mesures[m])) return partie.Mesures[m].Notes;
    for (size_t j = m; j-- > 0;)
        if (!EstRepetition(partie.Mesures[j])) return partie.Mesures[j].Notes;
    return partie.Mesures[m].Notes;
}

int CodeTonalite(int dieses, int bemols) {
    if (dieses >= 1 && dieses <= 7) return dieses;
    if (bemols >= 1 && bemols <= 7) return 7 + bemols;
    return 0;
}

int LigneDeClef(int typeClef, int ligneClef) {
    if (ligneClef >= 1 && ligneClef <= 5) return ligneClef;
    return typeClef == 2 ? 4 : typeClef == 3 ? 3 : 2;
}

int BaseHauteur(int typeClef, int ligneClef) {
    // Written pitches count diatonic steps, F5 being 45: G4 is 39, F3 31
    // and C4 35, which the clef's line holds; the top line is two steps
    // higher for every line above the clef's.
    const int repere = typeClef == 2 ? 31 : typeClef == 3 ? 35 : 39;
    return repere + 2 * (5 - LigneDeClef(typeClef, ligneClef));
}

bool EcritFichierMusical(const DocumentMusical& document, bool joueAussitot, bool& annule) {
    annule = false;
    bool ok = true;
    for (const char* ligne : kEntete) ok = ok && EcritTexte(ligne);
    if (!ok || document.Portees.empty()) return ok;

    const ClefDoc& initiale = document.Portees[0].ClefInitiale;
    EtatEcriture dit;
    dit.tonalite = CodeTonalite(initiale.NbDiese, initiale.NbBemol);
    if (initiale.Numerateur != 0) {
        dit.numerateur = initiale.Numerateur;
        dit.denominateur = initiale.Denominateur;
    }
    ok = EcritDebut("DebutDocument");
    if (ok && joueAussitot) ok = EcritMot("JoueAutoDocument", "");
    ok = ok && EcritEntier("PourcentGraceNote", Options.PourcentGraceNote) &&
         EcritChaine("NomDocument", document.Nom.c_str()) &&
         EcritChaine("Resolution", document.TexteResolution.c_str()) &&
         EcritChaine("DureeTraitement", TexteDureeTraitement(document.DureeTotale).c_str()) &&
         EcritLong("Tonalite", dit.tonalite) &&
         EcritLong("DivTemp", dit.numerateur * 100 + dit.denominateur) &&
         EcritLong("NbPortees", static_cast<int32_t>(document.Portees.size())) &&
         EcritReel("RetraitPremierGroupe", document.RetraitPremierGroupe);
    for (size_t p = 0; ok && p < document.Portees.size(); ++p)
        ok = EcritPartie(document.Portees[p], p, dit, annule);
    return ok && EcritFin("FinDocument");
}
