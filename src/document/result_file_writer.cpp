#include "document/result_file_writer.h"

#include "document/keyword_stream.h"
#include "document/music_file.h"
#include "document/note_keywords.h"
#include "document/result_geometry.h"
#include "records/options.h"
#include "toolbox/messages.h"

namespace {

bool EcritMotSeul(const char* mot) {
    return mot[0] == '\0' || EcritMot(mot, "");
}

bool ClefAEcrire(const Clef& c) {
    return c.TypeClef != 0 || c.Numerateur != 0 || c.Denominateur != 0 || c.NbDiese != 0 ||
           c.NbBemol != 0 || c.NbBecarre != 0;
}

const char* NomAlterationArmature(int code) {
    return code == 2 ? "" : NomAlteration(code);
}

bool EcritArmature(const Clef& c) {
    bool ok = EcritDebut("DebutTabAlteration");
    for (const AlterationArmature& a : c.Alterations) {
        if (!ok || a.Code == 0) break;
        ok = EcritDebut("DebutAlteration") && EcritMotSeul(NomAlterationArmature(a.Code)) &&
             EcritEntier("ProbAlteration", a.Prob) && EcritEntier("Interligne", a.Position) &&
             EcritFin("FinAlteration");
    }
    return ok && EcritFin("FinTabAlteration");
}

// A clef record with only a score says nothing and is left out.
bool EcritClef(const Clef& c) {
    if (!ClefAEcrire(c)) return true;
    bool ok = EcritDebut("DebutClef");
    const char* type = NomTypeClef(c.TypeClef);
    if (ok && type[0] != '\0') ok = EcritMot("Type", type);
    // A clef off its usual line (a tenor clef) says which line; files
    // without the keyword mean the usual one.
    if (ok && type[0] != '\0' && c.LigneClef >= 1 && c.LigneClef <= 5 &&
        c.LigneClef != LigneDeClef(c.TypeClef, 0))
        ok = EcritEntier("LigneClef", static_cast<int16_t>(c.LigneClef));
    if (ok && c.ProbClef != 0) ok = EcritEntier("ProbClef", c.ProbClef);
    if (ok && c.Numerateur != 0) ok = EcritLong("DivTemp", c.Numerateur * 100 + c.Denominateur);
    if (ok && c.NbDiese != 0) ok = EcritLong("NbDiese", c.NbDiese);
    if (ok && c.NbBemol != 0) ok = EcritLong("NbBemol", c.NbBemol);
    if (ok && c.NbBecarre != 0) ok = EcritLong("NbBecarre", c.NbBecarre);
    return ok && EcritArmature(c) && EcritFin("FinClef");
}

const char* NomMarque(int code) {
    switch (code) {
        case 1:
            return "DebutMusique";
        case 2:
            return "FinMusique";
        case 3:
            return "DebutRepetition";
        case 4:
            return "FinRepetition";
        default:
            return "";
    }
}

// A change between two notes of the measure: its column says which notes
// it governs. No clef block, so that a reader that does not know the block
// sees no clef for the measure in it.
bool EcritChangementClef(const Clef& c) {
    const char* type = NomTypeClef(c.TypeClef);
    if (type[0] == '\0') return true;
    bool ok = EcritDebut("DebutChangementClef") && EcritEntier("PosXClef", c.PosX) &&
              EcritMot("Type", type);
    if (ok && c.LigneClef >= 1 && c.LigneClef <= 5 && c.LigneClef != LigneDeClef(c.TypeClef, 0))
        ok = EcritEntier("LigneClef", static_cast<int16_t>(c.LigneClef));
    if (ok && c.ProbClef != 0) ok = EcritEntier("ProbClef", c.ProbClef);
    return ok && EcritFin("FinChangementClef");
}

// Measure i runs from boundary i to boundary i + 1.
bool EcritMesure(const Portee& portee, size_t i) {
    const Mesure& m = portee.Mesures[i];
    const int largeur = portee.Mesures[i + 1].PosXMesure - m.PosXMesure;
    const float taille = portee.Interligne > 0 ? largeur / portee.Interligne : 0.0f;
    bool ok = EcritDebut("DebutMesure") &&
              EcritLong("Mesure", portee.PremiereMesure + static_cast<int32_t>(i)) &&
              EcritEntier("PosXMesure", m.PosXMesure) && EcritReel("Taille", taille) &&
              EcritClef(m.Clef);
    if (ok && m.RepetePrecedente) ok = EcritMot("RepetePrecedente", "");
    for (const uint8_t marque : m.Marques)
        if (ok) ok = EcritMotSeul(NomMarque(marque));
    for (const Clef& c : portee.ChangementsClef)
        if (ok && c.PosX >= m.PosXMesure && c.PosX < portee.Mesures[i + 1].PosXMesure)
            ok = EcritChangementClef(c);
    return ok && EcritFin("FinMesure");
}

bool EcritTableMesures(const Portee& portee) {
    const int32_t nbMesures = static_cast<int32_t>(portee.Mesures.size()) - 1;
    bool ok = EcritDebut("DebutTabMesure") && EcritLong("NbMesures", nbMesures);
    for (int32_t i = 0; ok && i < nbMesures; ++i) ok = EcritMesure(portee, i);
    return ok && EcritFin("FinTabMesure");
}

// Pitch, accidental, stem and beam: what only a note head has.
bool EcritTete(const Portee& portee, const NotePortee& n) {
    bool ok = EcritEntier("Interligne", n.Interligne) && EcritMotSeul(NomAlteration(n.Alteration));
    if (ok && n.ProbAlteration != 0) ok = EcritEntier("ProbAlteration", n.ProbAlteration);
    const char* queue = NomQueue(n.Queue);
    if (ok && queue[0] != '\0') {
        ok = EcritMot(queue, "");
        // A staff narrower than one pixel per interline has no scale for it.
        const int interligne = static_cast<int>(portee.Interligne);
        if (ok && Options.calculerTailleTige && interligne > 0)
            ok = EcritLong("HauteurQueue", n.HauteurQueue * 100 / interligne);
    }
    if (ok && n.DivDuree != 0) {
        ok = EcritLong("DivDuree", n.DivDuree);
        if (ok && n.AvecAccroche) ok = EcritLong("Accroche", n.Accroche);
    }
    return ok;
}

bool EcritCorpsNote(const Portee& portee, const NotePortee& n) {
    bool ok = EcritLong("IdNote", static_cast<int32_t>(n.IdNote)) &&
              EcritMotSeul(MotTypeNote(n.CodeNote));
    if (ok && n.Pointe != 0) {
        ok = EcritMotSeul(n.Pointe == 1   ? "PointeSimple"
                          : n.Pointe == 2 ? "PointeDouble"
                                          : "") &&
             EcritEntier("ProbPointe", n.ProbPointe);
    }
    if (ok && n.Tuplet != 0)
        ok = EcritLong("Tuplet", n.Tuplet) && EcritEntier("ProbTuplet", n.ProbTuplet);
    if (ok && n.Silence == 0) ok = EcritTete(portee, n);
    ok =
        ok && EcritEntier("ProbNote", n.ProbNote) && EcritEntier("PosXY", n.PosX) &&
        EcritNombre(n.PosY) && EcritLong("Mesure", portee.PremiereMesure + n.NumMesure) &&
        EcritEntier("PosMesure", n.PosMesure) &&
        EcritLong("TaillePixInterligne", static_cast<int32_t>(InterligneEnColonne(portee, n.PosX)));
    if (ok && n.Debut.Numero != 0) ok = EcritLong("DebutLiaison", n.Debut.Numero);
    if (ok && n.Fin.Numero != 0) ok = EcritLong("FinLiaison", n.Fin.Numero);
    ok = ok && EcritMotSeul(NomEffet(n.Effet));
    if (ok && n.PointDOrgue != 0) ok = EcritLong("PointDOrgue", n.PointDOrgue);
    return ok;
}

// The notes keep their index among all the staff's records, removed ones
// included, so that "Num" points back into the staff.
bool EcritNotes(const Portee& portee) {
    bool ok = true;
    for (size_t k = 0; ok && k < portee.Symboles.size(); ++k) {
        const NotePortee& n = portee.Symboles[k];
        if (n.Etat != 0) continue;
        ok = EcritDebut("DebutNote") && EcritLong("Num", static_cast<int32_t>(k + 1)) &&
             EcritCorpsNote(portee, n) && EcritFin("FinNote");
    }
    return ok;
}

int32_t NombreNotesValides(const Portee& portee) {
    int32_t nb = 0;
    for (const NotePortee& n : portee.Symboles)
        if (n.Etat == 0) ++nb;
    return nb;
}

bool EcritPorteeSysteme(const Portee& portee) {
    return EcritLong("NbNotes", NombreNotesValides(portee)) && EcritClef(portee.Clef) &&
           EcritTableMesures(portee) && EcritNotes(portee);
}

bool EcritPartie(const EtatPage& etat, int indexPartie) {
    bool ok = EcritDebut("DebutPortee") && EcritLong("NumPortee", indexPartie + 1);
    const BandePartie bande = CalculeBandePartie(etat, indexPartie);
    if (ok && bande.Presente)
        ok = EcritReel("HauteurPortee", bande.HauteurPortee) &&
             EcritReel("LigneBasePortee", bande.LigneBasePortee);
    int accolade = 0, tablature = 0;
    for (const Portee& portee : etat.Portees) {
        if (!ok) break;
        if (portee.IndexPortee != indexPartie) continue;
        if (portee.Accolade) accolade = 1;
        if (portee.TablatureAssociee) tablature = 1;
        ok = EcritPorteeSysteme(portee);
    }
    return ok && EcritEntier("Accolade", static_cast<int16_t>(accolade)) &&
           EcritEntier("TablatureAssociee", static_cast<int16_t>(tablature)) &&
           EcritFin("FinPortee");
}

bool EcritCorpsPage(const EtatPage& etat) {
    bool ok = EcritChaine("NomPage", etat.NomPage.c_str()) &&
              EcritEntier("Resolution", etat.CadrePage.right) &&
              EcritNombre(etat.CadrePage.bottom) &&
              EcritLong("DureeTraitement", etat.DureeTraitement) &&
              EcritEntier("NbPortees", etat.NbPorteesParSysteme);
    if (ok && !etat.Portees.empty())
        ok = EcritReel("RetraitPremierGroupe", etat.RetraitPremierGroupe);
    for (int p = 0; ok && p < etat.NbPorteesParSysteme; ++p) ok = EcritPartie(etat, p);
    return ok;
}

}  // namespace

std::FILE* OuvreFichierResultat(const std::string& chemin, const std::string& nomDocument) {
    std::FILE* fichier = std::fopen(chemin.c_str(), "wb");
    if (fichier == nullptr) {
        Alerte("Can't open file '%s' for writing", chemin.c_str());
        return nullptr;
    }
    FichierCourantTemporaire courant(fichier);
    bool ok = EcritDebut("DebutDocument");
    if (ok && !nomDocument.empty()) ok = EcritChaine("NomDocument", nomDocument.c_str());
    if (!ok) {
        std::fclose(fichier);
        Alerte("Can't open file '%s' for writing", chemin.c_str());
        return nullptr;
    }
    return fichier;
}

bool EcritPageResultat(std::FILE* fichier, const EtatPage& etat) {
    FichierCourantTemporaire courant(fichier);
    const bool ok = EcritDebut("DebutPage") && EcritCorpsPage(etat);
    const bool fin = EcritFin("FinPage");
    return ok && fin;
}

bool FermeFichierResultat(std::FILE* fichier) {
    bool ok;
    {
        FichierCourantTemporaire courant(fichier);
        ok = EcritFin("FinDocument");
    }
    return std::fclose(fichier) == 0 && ok;
}
