#include "document/result_file_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

#include "document/keyword_stream.h"
#include "document/note_keywords.h"
#include "toolbox/messages.h"

namespace {

// Clef changes kept inside one measure; more is no music but a damaged file.
constexpr size_t kChangementsClefMax = 16;

bool Egal(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

// One reading: the model being filled, where it stands, and the first
// reason to give up.
class Lecteur {
  public:
    Lecteur(DocumentMusical& document, const std::string& nom) : doc_(document), nom_(nom) {}

    bool LitDocument();
    const std::string& Erreur() const { return erreur_; }

  private:
    bool LitPage();
    bool LitMotPage(const char* mot);
    bool LitPartie();
    bool LitMotPartie(const char* mot, int& partie, bool& sauteBloc);
    bool LitTableMesures(PorteeDoc& partie);
    bool LitMesure(PorteeDoc& partie);
    bool LitMotMesure(const char* mot, PorteeDoc& partie, bool& valide);
    bool LitClef(ClefDoc& clef);
    bool LitChangementClef(MesureDoc& mesure);
    bool LitMotClef(const char* mot, ClefDoc& clef);
    bool LitNote(PorteeDoc& partie, NoteDoc& note);
    bool LitMotNote(const char* mot, PorteeDoc& partie, NoteDoc& note);
    bool StockeNote(PorteeDoc& partie, NoteDoc& note);
    bool AssureMesure(PorteeDoc& partie, int64_t index);
    bool LitPositif(const char* motCle, int32_t max, int32_t& valeur);
    bool Echoue(const std::string& texte);

    DocumentMusical& doc_;
    const std::string& nom_;
    std::string erreur_;
    int pagesLues_ = 0;
    int64_t premiereMesureTable_ = -1;
    // Per part, the page of its last measure table (0 before any).
    std::vector<int> pageTable_;
    // The start clef of a staff after a part's first, until its table.
    ClefDoc clefDebutPortee_;
    bool avecClefDebutPortee_ = false;
};

bool Lecteur::Echoue(const std::string& texte) {
    if (erreur_.empty()) erreur_ = texte;
    return false;
}

// A count or a duration: never negative, never beyond `max`.
bool Lecteur::LitPositif(const char* motCle, int32_t max, int32_t& valeur) {
    valeur = LitLong();
    if (valeur < 0)
        return Echoue(FormateTexte(TexteLangue("The result file '%s' holds a negative \"%s\" (%d)"),
                                   nom_.c_str(), motCle, valeur));
    if (valeur > max)
        return Echoue(
            FormateTexte(TexteLangue("The result file '%s' holds \"%s\" %d; at most %d is allowed"),
                         nom_.c_str(), motCle, valeur, max));
    return true;
}

// Grows the measure list so that `index` exists; an index outside the
// document's limits fails the file.
bool Lecteur::AssureMesure(PorteeDoc& partie, int64_t index) {
    if (index < 0)
        return Echoue(FormateTexte(
            TexteLangue("The result file '%s' refers to measure %lld, before the first"),
            nom_.c_str(), static_cast<long long>(index)));
    if (index >= kNbMesuresMax)
        return Echoue(FormateTexte(
            "The result file '%s' refers to measure %lld; a document holds at most %d measures",
            nom_.c_str(), static_cast<long long>(index), kNbMesuresMax));
    if (partie.Mesures.size() <= static_cast<size_t>(index)) partie.Mesures.resize(index + 1);
    return true;
}

bool Lecteur::LitDocument() {
    return LitBloc("FinDocument", [this](const char* mot) {
        if (Egal(mot, "NomDocument")) {
            char nom[kLongueurMaxMot + 1];
            LitChaine(nom, kLongueurMaxMot);
            doc_.Nom = nom;
            return true;
        }
        if (Egal(mot, "DebutPage")) {
            ++pagesLues_;
            if (!LitPage()) return false;
            if (!doc_.Portees.empty()) doc_.BaseMesure = doc_.Portees[0].MesureCourante + 1;
            return true;
        }
        SauteLigne();
        return true;
    });
}

bool Lecteur::LitPage() {
    return LitBloc("FinPage", [this](const char* mot) { return LitMotPage(mot); });
}

bool Lecteur::LitMotPage(const char* mot) {
    int32_t valeur = 0;
    if (Egal(mot, "Resolution")) {
        const int32_t largeur = LitLong();
        const int32_t hauteur = LitLong();
        doc_.TexteResolution = FormateTexte("Res : %dx%d", largeur, hauteur);
    } else if (Egal(mot, "DureeTraitement")) {
        if (!LitPositif(mot, 65535, valeur)) return false;
        doc_.DureeTotale =
            static_cast<int32_t>(std::min<int64_t>(int64_t{doc_.DureeTotale} + valeur, INT32_MAX));
    } else if (Egal(mot, "NbPortees")) {
        if (!LitPositif(mot, kNbPartiesMax, valeur)) return false;
        if (static_cast<size_t>(valeur) > doc_.Portees.size()) doc_.Portees.resize(valeur);
    } else if (Egal(mot, "RetraitPremierGroupe") && doc_.RetraitPremierGroupe == 0) {
        doc_.RetraitPremierGroupe = LitReel();
    } else if (Egal(mot, "DebutPortee")) {
        return LitPartie();
    } else {
        SauteLigne();
    }
    return true;
}

// A part block whose "NumPortee" is missing or names no declared part is
// passed over token by token up to its "FinPortee".
bool Lecteur::LitPartie() {
    int partie = -1;
    bool sauteBloc = false;
    avecClefDebutPortee_ = false;
    return LitBloc("FinPortee", [&](const char* mot) {
        if (sauteBloc) return true;
        return LitMotPartie(mot, partie, sauteBloc);
    });
}

bool Lecteur::LitMotPartie(const char* mot, int& indexPartie, bool& sauteBloc) {
    if (Egal(mot, "NumPortee")) {
        const int32_t numero = LitLong();
        if (numero < 1 || numero > static_cast<int32_t>(doc_.Portees.size())) {
            Trace("Result file: part %d was not declared; its block is skipped", numero);
            sauteBloc = true;
        } else {
            indexPartie = numero - 1;
        }
        return true;
    }
    if (indexPartie < 0) return true;
    PorteeDoc& partie = doc_.Portees[indexPartie];
    if (Egal(mot, "HauteurPortee")) {
        partie.HauteurPortee = LitReel();
    } else if (Egal(mot, "LigneBasePortee")) {
        partie.LigneBasePortee = LitReel();
    } else if (Egal(mot, "Accolade")) {
        partie.Accolade = static_cast<uint8_t>(LitEntier());
        ++partie.PagesLues;
        if (partie.Accolade) ++partie.PagesAccolade;
    } else if (Egal(mot, "TablatureAssociee")) {
        partie.TablatureAssociee = static_cast<uint8_t>(LitEntier());
    } else if (Egal(mot, "DebutClef")) {
        // The clef at the start of a staff: the part's own for its first
        // staff, otherwise that of the staff's first measure, which its
        // measure table (next) tells. Until then the part has reached only
        // the previous staff's last measure, whose notes the clef does not
        // govern.
        ClefDoc clef;
        clef.TypeClef = 1;
        if (!LitClef(clef) || !AssureMesure(partie, partie.MesureCourante)) return false;
        if (partie.MesureCourante == 0) {
            partie.ClefInitiale = clef;
        } else {
            clefDebutPortee_ = clef;
            avecClefDebutPortee_ = true;
        }
    } else if (Egal(mot, "DebutTabMesure")) {
        partie.MesureCourante = static_cast<int16_t>(partie.Mesures.size());
        return LitTableMesures(partie);
    } else if (Egal(mot, "DebutNote")) {
        NoteDoc note;
        return LitNote(partie, note) && StockeNote(partie, note);
    } else {
        SauteLigne();
    }
    return true;
}

// The first measure of a table starts a staff of the pages: a line break,
// or a page break for the page's first staff.
bool Lecteur::LitTableMesures(PorteeDoc& partie) {
    premiereMesureTable_ = -1;
    const bool lu = LitBloc("FinTabMesure", [&](const char* mot) {
        if (Egal(mot, "DebutMesure")) return LitMesure(partie);
        SauteLigne();
        return true;
    });
    const bool avecClef = avecClefDebutPortee_;
    avecClefDebutPortee_ = false;
    if (lu && avecClef) {
        // A clef read just after the staff's first boundary is the nearer one.
        const int64_t m = premiereMesureTable_ >= 0 ? premiereMesureTable_ : partie.MesureCourante;
        if (!AssureMesure(partie, m)) return false;
        ClefDoc& premiere = partie.Mesures[m].Clef;
        if (premiereMesureTable_ < 0 || premiere.TypeClef == 0) {
            premiere = clefDebutPortee_;
        } else if (premiere.NbDiese == 0 && premiere.NbBemol == 0 && premiere.NbBecarre == 0) {
            // A clef change at the first bar line leaves the staff's key.
            premiere.NbDiese = clefDebutPortee_.NbDiese;
            premiere.NbBemol = clefDebutPortee_.NbBemol;
            premiere.NbBecarre = clefDebutPortee_.NbBecarre;
        }
    }
    if (!lu || premiereMesureTable_ < 0) return lu;
    const size_t index = static_cast<size_t>(&partie - doc_.Portees.data());
    if (pageTable_.size() <= index) pageTable_.resize(index + 1, 0);
    if (premiereMesureTable_ > 0) {
        MesureDoc& debut = partie.Mesures[premiereMesureTable_];
        debut.DebutSysteme = 1;
        debut.DebutPage = pageTable_[index] != 0 && pageTable_[index] != pagesLues_;
    }
    pageTable_[index] = pagesLues_;
    return lu;
}

// A measure block counts only once its "Mesure" has placed it.
bool Lecteur::LitMesure(PorteeDoc& partie) {
    bool valide = false;
    const bool lu =
        LitBloc("FinMesure", [&](const char* mot) { return LitMotMesure(mot, partie, valide); });
    if (lu && valide) ++partie.MesureCourante;
    return lu;
}

bool Lecteur::LitMotMesure(const char* mot, PorteeDoc& partie, bool& valide) {
    if (Egal(mot, "Mesure")) {
        const int64_t index = int64_t{doc_.BaseMesure} + LitLong();
        if (!AssureMesure(partie, index)) return false;
        partie.MesureCourante = static_cast<int16_t>(index);
        if (premiereMesureTable_ < 0) premiereMesureTable_ = index;
        valide = true;
        return true;
    }
    if (!valide) return true;
    MesureDoc& mesure = partie.Mesures[partie.MesureCourante];
    if (Egal(mot, "PosXMesure")) {
        mesure.PosXMesure = LitEntier();
    } else if (Egal(mot, "Taille")) {
        mesure.Taille = LitReel();
    } else if (Egal(mot, "DebutClef")) {
        // A change read at a bar line names only what changed there: a clef
        // change without accidentals leaves the key in force, which may no
        // longer be the part's first.
        ClefDoc clef = partie.ClefInitiale;
        clef.NbDiese = clef.NbBemol = clef.NbBecarre = 0;
        if (!LitClef(clef)) return false;
        partie.Mesures[partie.MesureCourante].Clef = clef;
    } else if (Egal(mot, "DebutChangementClef")) {
        return LitChangementClef(mesure);
    } else if (Egal(mot, "RepetePrecedente")) {
        mesure.RepetePrecedente = 1;
    } else if (Egal(mot, "DebutRepetition")) {
        mesure.DebutRepetition = 1;
    } else if (Egal(mot, "FinRepetition")) {
        mesure.FinRepetition = 1;
    } else if (Egal(mot, "DebutMusique")) {
        mesure.DebutMusique = 1;
    } else if (Egal(mot, "FinMusique")) {
        mesure.FinMusique = 1;
    } else {
        SauteLigne();
    }
    return true;
}

// Kept in column order whatever the file's order, at most a few per
// measure: a damaged file cannot grow the list without bound.
bool Lecteur::LitChangementClef(MesureDoc& mesure) {
    ChangementClefDoc c;
    ClefDoc clef;
    clef.TypeClef = 1;
    const bool lu = LitBloc("FinChangementClef", [&](const char* mot) {
        if (Egal(mot, "PosXClef")) {
            c.PosX = LitEntier();
            return true;
        }
        return LitMotClef(mot, clef);
    });
    if (!lu) return false;
    c.TypeClef = clef.TypeClef;
    c.LigneClef = clef.LigneClef;
    auto& liste = mesure.ChangementsClef;
    if (liste.size() >= kChangementsClefMax) return true;
    liste.insert(std::upper_bound(liste.begin(), liste.end(), c,
                                  [](const ChangementClefDoc& a, const ChangementClefDoc& b) {
                                      return a.PosX < b.PosX;
                                  }),
                 c);
    return true;
}

bool Lecteur::LitClef(ClefDoc& clef) {
    return LitBloc("FinClef", [&](const char* mot) { return LitMotClef(mot, clef); });
}

bool Lecteur::LitMotClef(const char* mot, ClefDoc& clef) {
    if (Egal(mot, "NbDiese")) {
        clef.NbDiese = LitEntier();
    } else if (Egal(mot, "NbBemol")) {
        clef.NbBemol = LitEntier();
    } else if (Egal(mot, "NbBecarre")) {
        clef.NbBecarre = LitEntier();
    } else if (Egal(mot, "DivTemp")) {
        int32_t valeur = 0;
        if (!LitPositif(mot, INT16_MAX, valeur)) return false;
        clef.Numerateur = static_cast<int16_t>(valeur / 100);
        clef.Denominateur = static_cast<int16_t>(valeur % 100);
    } else if (Egal(mot, "Type")) {
        char type[kLongueurMaxMot + 1];
        LitMot(type, kLongueurMaxMot);
        clef.TypeClef = Egal(type, "Fa") ? 2 : Egal(type, "Ut") ? 3 : 1;
        clef.LigneClef = 0;  // the usual line, unless "LigneClef" follows
    } else if (Egal(mot, "LigneClef")) {
        const int ligne = LitEntier();
        clef.LigneClef = static_cast<int16_t>(ligne >= 1 && ligne <= 5 ? ligne : 0);
    } else {
        SauteLigne();
    }
    return true;
}

bool Lecteur::LitNote(PorteeDoc& partie, NoteDoc& note) {
    return LitBloc("FinNote", [&](const char* mot) { return LitMotNote(mot, partie, note); });
}

bool Lecteur::LitMotNote(const char* mot, PorteeDoc& partie, NoteDoc& note) {
    TypeNote type;
    int code = -1;
    int32_t valeur = 0;
    if (Egal(mot, "IdNote")) {
        note.IdNote = static_cast<uint32_t>(LitLong());
    } else if (LitTypeNote(mot, type)) {
        note.Silence = type.Silence;
        note.Duree = type.Duree;
    } else if (Egal(mot, "Appogiature")) {
        note.Appogiature = 1;
    } else if (Egal(mot, "Interligne")) {
        note.Interligne = LitEntier();
    } else if (Egal(mot, "PointeSimple")) {
        note.Pointe = 1;
    } else if (Egal(mot, "PointeDouble")) {
        note.Pointe = 2;
    } else if ((code = CodeAlteration(mot)) >= 0) {
        note.Alteration = static_cast<int16_t>(code);
    } else if ((code = CodeQueue(mot)) >= 0) {
        note.Queue = static_cast<int16_t>(code);
    } else if ((code = CodeEffet(mot)) >= 0) {
        note.Effet = static_cast<uint8_t>(code);
    } else if (Egal(mot, "Tuplet")) {
        if (!LitPositif(mot, INT16_MAX, valeur)) return false;
        note.Tuplet = static_cast<int16_t>(valeur);
    } else if (Egal(mot, "DivDuree")) {
        if (!LitPositif(mot, INT16_MAX, valeur)) return false;
        note.DivDuree = static_cast<int16_t>(valeur);
    } else if (Egal(mot, "HauteurQueue")) {
        note.HauteurQueue = LitEntier();
    } else if (Egal(mot, "PosMesure")) {
        note.PosMesure = LitEntier();
    } else if (Egal(mot, "PosXY")) {
        note.PosX = LitEntier();
        (void)LitEntier();
    } else if (Egal(mot, "Accroche")) {
        note.Accroche = LitEntier();
    } else if (Egal(mot, "TaillePixInterligne")) {
        note.TaillePixInterligne = LitEntier();
    } else if (Egal(mot, "DebutLiaison")) {
        note.DebutLiaison = LitEntier();
    } else if (Egal(mot, "FinLiaison")) {
        note.FinLiaison = LitEntier();
    } else if (Egal(mot, "PointDOrgue")) {
        // Upright unless said inverted.
        note.PointDOrgue = LitEntier() == 2 ? 2 : 1;
    } else if (Egal(mot, "Mesure")) {
        // A note before the page's first measure belongs to it.
        const int64_t index = int64_t{doc_.BaseMesure} + std::max(LitLong(), 0);
        if (!AssureMesure(partie, index)) return false;
        partie.MesureCourante = static_cast<int16_t>(index);
    } else {
        SauteLigne();
    }
    return true;
}

// Grace notes wait for the next main note, wherever it comes from.
bool Lecteur::StockeNote(PorteeDoc& partie, NoteDoc& note) {
    auto& attente = doc_.AppogiaturesEnAttente;
    if (note.Appogiature) {
        if (attente.size() < kNbAppogiaturesMax)
            attente.push_back(AppogiatureDoc{note.IdNote, note.Interligne});
        return true;
    }
    note.NbAppogiatures = static_cast<int16_t>(attente.size());
    std::copy(attente.begin(), attente.end(), note.Appogiatures);
    attente.clear();
    if (!AssureMesure(partie, partie.MesureCourante)) return false;
    partie.Mesures[partie.MesureCourante].Notes.push_back(note);
    return true;
}

// The tie numbers that only starts carry in a part, and those only ends carry.
struct LiaisonsSeules {
    std::set<int> debuts, fins;
};

LiaisonsSeules NumerosSeuls(const PorteeDoc& partie) {
    LiaisonsSeules toutes;
    for (const MesureDoc& m : partie.Mesures)
        for (const NoteDoc& n : m.Notes) {
            if (n.DebutLiaison) toutes.debuts.insert(n.DebutLiaison);
            if (n.FinLiaison) toutes.fins.insert(n.FinLiaison);
        }
    LiaisonsSeules seules;
    for (int k : toutes.debuts)
        if (!toutes.fins.count(k)) seules.debuts.insert(k);
    for (int k : toutes.fins)
        if (!toutes.debuts.count(k)) seules.fins.insert(k);
    return seules;
}

// The notes of `m` within an interline of its first (`sens` -1) or last
// (+1) note's column: the chord that opens or closes a line.
std::vector<NoteDoc*> AccordAuBord(MesureDoc& m, int sens) {
    std::vector<NoteDoc*> accord;
    int bord = 0;
    for (NoteDoc& n : m.Notes)
        if (!n.Silence && (accord.empty() || sens * (n.PosX - bord) > 0)) {
            bord = n.PosX;
            accord = {&n};
        }
    if (accord.empty()) return accord;
    accord.clear();
    for (NoteDoc& n : m.Notes)
        if (!n.Silence && std::abs(n.PosX - bord) <= std::max<int>(1, n.TaillePixInterligne))
            accord.push_back(&n);
    return accord;
}

}  // namespace

void RelieLiaisonsCoupees(PorteeDoc& partie) {
    const auto [debuts, fins] = NumerosSeuls(partie);
    if (fins.empty()) return;
    // The notes of the last measure before each line break, and those of
    // them whose tie finds no end: a tie's second half, at the start of the
    // next line, ends on the same staff position.
    std::vector<NoteDoc*> ouverts, derniers;
    for (size_t i = 0; i < partie.Mesures.size(); ++i) {
        MesureDoc& m = partie.Mesures[i];
        if (!m.DebutSysteme) {
            ouverts.clear();
            derniers.clear();
        }
        for (NoteDoc& n : m.Notes) {
            if (n.Silence) continue;
            if (m.DebutSysteme && n.FinLiaison && fins.count(n.FinLiaison)) {
                auto debut = std::find_if(ouverts.begin(), ouverts.end(), [&](const NoteDoc* d) {
                    return d->Interligne == n.Interligne;
                });
                if (debut != ouverts.end()) {
                    n.FinLiaison = (*debut)->DebutLiaison;
                    ouverts.erase(debut);
                    continue;
                }
                // The first half, a mere stub past its head on some pages,
                // went unseen: a second half ending on the chord that opens
                // the line still says that the note at its position in the
                // chord closing the line before is held over. Its number is
                // carried by no start in the part. A slur ends further on.
                const std::vector<NoteDoc*> premier = AccordAuBord(m, -1);
                if (std::find(premier.begin(), premier.end(), &n) == premier.end()) continue;
                auto tenue =
                    std::find_if(derniers.rbegin(), derniers.rend(), [&](const NoteDoc* d) {
                        return d->Interligne == n.Interligne && d->DebutLiaison == 0;
                    });
                if (tenue != derniers.rend()) (*tenue)->DebutLiaison = n.FinLiaison;
            }
        }
        if (i + 1 < partie.Mesures.size() && partie.Mesures[i + 1].DebutSysteme) {
            ouverts.clear();
            derniers = AccordAuBord(m, +1);
            for (NoteDoc& n : m.Notes)
                if (!n.Silence && n.DebutLiaison && debuts.count(n.DebutLiaison))
                    ouverts.push_back(&n);
        }
    }
}

bool LitDocumentResultat(std::FILE* fichier, const std::string& nom, DocumentMusical& document) {
    LibereModele(document);
    FichierCourantTemporaire courant(fichier);
    if (!LitBloc("DebutDocument")) {
        Alerte("'%s' is not a Ruzo result file", nom.c_str());
        return false;
    }
    Lecteur lecteur(document, nom);
    if (!lecteur.LitDocument()) {
        if (lecteur.Erreur().empty())
            Alerte("The result file '%s' is cut short or its blocks nest too deep", nom.c_str());
        else
            Alerte("%s", lecteur.Erreur().c_str());
        LibereModele(document);
        return false;
    }
    if (document.Portees.empty()) {
        Alerte("Document is empty");
        return false;
    }
    for (PorteeDoc& partie : document.Portees) RelieLiaisonsCoupees(partie);
    return true;
}

bool LitFichierResultat(const std::string& chemin, DocumentMusical& document) {
    std::FILE* fichier = std::fopen(chemin.c_str(), "rb");
    if (fichier == nullptr) {
        LibereModele(document);
        Alerte("Can't open file '%s' for reading", chemin.c_str());
        return false;
    }
    const bool ok = LitDocumentResultat(fichier, chemin, document);
    std::fclose(fichier);
    return ok;
}
