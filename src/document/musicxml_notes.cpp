#include "document/musicxml_notes.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "document/rhythm.h"

namespace {

struct TypeNote {
    const char* Nom;
    int32_t Duree;
};

// From the longest; the shortest ones only come from many divisions.
constexpr TypeNote kTypes[] = {
    {"long", 4 * kDureeRonde},   {"breve", 2 * kDureeRonde},  {"whole", kDureeRonde},
    {"half", kDureeRonde / 2},   {"quarter", kDureeNoire},    {"eighth", kDureeNoire / 2},
    {"16th", kDureeNoire / 4},   {"32nd", kDureeNoire / 8},   {"64th", kDureeNoire / 16},
    {"128th", kDureeNoire / 32}, {"256th", kDureeNoire / 64}, {"512th", kDureeNoire / 128},
};
constexpr int kPointsMax = 3;

const char* const kPas = "CDEFGAB";

// numerateur / denominateur rounded half to even, as readers of the
// printed values do.
int64_t ArrondiPair(int64_t numerateur, int64_t denominateur) {
    int64_t q = numerateur / denominateur;
    const int64_t r2 = 2 * (numerateur % denominateur);
    if (r2 > denominateur || (r2 == denominateur && q % 2 != 0)) ++q;
    return q;
}

int64_t DureeImprimee(int32_t type, int points, int reelles, int normales) {
    const int64_t num = int64_t{type} * ((int64_t{2} << points) - 1) * (reelles ? normales : 1);
    const int64_t den = (int64_t{1} << points) * (reelles ? reelles : 1);
    return ArrondiPair(num, den);
}

const TypeNote* TypeDeDuree(int64_t duree) {
    for (const TypeNote& t : kTypes)
        if (t.Duree == duree) return &t;
    return nullptr;
}

// The value alone, when the note's own type, dots and tuplet do not give
// what it lasts (a rest that fills a measure, a value the alignment chose).
ValeurImprimee ValeurDeDuree(int32_t duree) {
    for (const TypeNote& t : kTypes)
        for (int p = 0; p <= kPointsMax; ++p)
            if (DureeImprimee(t.Duree, p, 0, 0) == duree) return {t.Nom, p, 0, 0};
    return {};
}

const char* NomAccidental(int code) {
    switch (code) {
        case 0:
            return "natural";
        case 1:
            return "sharp";
        case 3:
            return "flat";
        case 4:
            return "double-sharp";
        case 5:
            return "flat-flat";
        default:
            return nullptr;
    }
}

// Beams a type carries: 1 for an eighth, 2 for a sixteenth...
int NbCrochets(const char* type) {
    int n = 0;
    for (const TypeNote& t : kTypes) {
        if (t.Duree < kDureeNoire) ++n;
        if (type != nullptr && std::string(type) == t.Nom) return t.Duree < kDureeNoire ? n : 0;
    }
    return 0;
}

// Notes of a chord that share a length and a kind sound and print as one
// chord of one voice. Rests make no chords: two rests struck together (one
// voice's above the staff, the other's below) are two voices.
struct Groupe {
    std::vector<const NoteEcrite*> Notes;
    int64_t Debut = 0;
    int32_t Duree = 0;
    bool Silence = false;
    ValeurImprimee Valeur;
    // Filled when the voice is laid out.
    std::vector<std::string> Crochets;
    bool DebutTuplet = false, FinTuplet = false;
};

struct Voix {
    int64_t Fin = 0;
    std::vector<Groupe> Groupes;
};

std::vector<Groupe> GroupesAccord(const std::vector<NoteEcrite>& notes, size_t debut, size_t fin) {
    std::vector<Groupe> groupes;
    for (size_t k = debut; k < fin; ++k) {
        const NoteDoc& n = *notes[k].Source;
        if (n.DureeEffective <= 0) continue;
        auto it = std::find_if(groupes.begin(), groupes.end(), [&](const Groupe& g) {
            return g.Duree == n.DureeEffective && !g.Silence && n.Silence == 0;
        });
        if (it == groupes.end()) {
            Groupe g;
            g.Debut = notes[k].DebutAccord;
            g.Duree = n.DureeEffective;
            g.Silence = n.Silence != 0;
            g.Valeur = ValeurDe(n);
            groupes.push_back(g);
            it = groupes.end() - 1;
        }
        it->Notes.push_back(&notes[k]);
    }
    return groupes;
}

// The shortest group of each chord keeps the first voice going; the others
// go to the first further voice that is free by then.
std::vector<Voix> RepartitVoix(const MesureEcrite& mesure) {
    std::vector<Voix> voix(1);
    const auto& notes = mesure.Notes;
    size_t k = 0;
    while (k < notes.size()) {
        size_t fin = k;
        while (fin < notes.size() && notes[fin].Accord == notes[k].Accord) ++fin;
        std::vector<Groupe> groupes = GroupesAccord(notes, k, fin);
        k = fin;
        if (groupes.empty()) continue;
        auto principal =
            std::min_element(groupes.begin(), groupes.end(), [](const Groupe& a, const Groupe& b) {
                if (a.Duree != b.Duree) return a.Duree < b.Duree;
                return !a.Silence && b.Silence;
            });
        const bool principalPossible = principal->Debut >= voix[0].Fin;
        for (auto it = groupes.begin(); it != groupes.end(); ++it) {
            size_t v = 0;
            if (it != principal || !principalPossible) {
                v = 1;
                while (v < voix.size() && voix[v].Fin > it->Debut) ++v;
                if (v == voix.size()) voix.emplace_back();
            }
            voix[v].Fin = it->Debut + it->Duree;
            voix[v].Groupes.push_back(*it);
        }
    }
    return voix;
}

int NumeroAccroche(const Groupe& g) {
    for (const NoteEcrite* n : g.Notes)
        if (n->Source->Accroche > 0) return n->Source->Accroche;
    return 0;
}

// Consecutive notes of a voice that carry the same beam number are beamed
// together; each beam level begins, continues, ends or hooks.
void PoseCrochets(Voix& voix) {
    auto& g = voix.Groupes;
    const size_t n = g.size();
    std::vector<int> niveaux(n), accroche(n);
    for (size_t i = 0; i < n; ++i) {
        niveaux[i] = g[i].Silence ? 0 : std::min(NbCrochets(g[i].Valeur.Type), 8);
        accroche[i] = niveaux[i] > 0 ? NumeroAccroche(g[i]) : 0;
    }
    auto lie = [&](size_t a, size_t b) {
        return accroche[a] != 0 && accroche[a] == accroche[b] &&
               g[a].Debut + g[a].Duree == g[b].Debut;
    };
    for (size_t i = 0; i < n; ++i) {
        const bool avant = i > 0 && lie(i - 1, i);
        const bool apres = i + 1 < n && lie(i, i + 1);
        if (!avant && !apres) continue;
        for (int niveau = 1; niveau <= niveaux[i]; ++niveau) {
            const bool a = avant && niveaux[i - 1] >= niveau;
            const bool p = apres && niveaux[i + 1] >= niveau;
            g[i].Crochets.push_back(a && p  ? "continue"
                                    : p     ? "begin"
                                    : a     ? "end"
                                    : apres ? "forward hook"
                                            : "backward hook");
        }
    }
}

// The printed value without its tuplet, in the smallest unit it is made
// of: a dotted eighth is three sixteenths.
struct Unites {
    int64_t Unite = 0, Nombre = 0;
};
Unites UnitesDe(const ValeurImprimee& v) {
    const TypeNote* type = nullptr;
    for (const TypeNote& t : kTypes)
        if (v.Type != nullptr && std::string(v.Type) == t.Nom) type = &t;
    if (type == nullptr) return {};
    return {type->Duree >> v.Points, (int64_t{2} << v.Points) - 1};
}

// Where a tuplet bracket opened at group `i` closes: as soon as it holds a
// whole number of `reelles`-tuplets counted in its smallest value (three
// eighths, or a quarter and an eighth, in a triplet), as editors count
// them, or where the run of notes of that ratio ends.
struct Crochet {
    size_t Fin = 0;
    bool Complet = false;
};
Crochet FinCrochet(const std::vector<Groupe>& g, size_t i, int reelles) {
    auto memeRapport = [&](size_t a, size_t b) {
        return g[a].Valeur.Reelles == g[b].Valeur.Reelles &&
               g[a].Valeur.Normales == g[b].Valeur.Normales &&
               g[a].Debut + g[a].Duree == g[b].Debut;
    };
    Unites somme = UnitesDe(g[i].Valeur);
    auto complet = [&] { return somme.Unite > 0 && somme.Nombre % reelles == 0; };
    size_t fin = i + 1;
    while (fin < g.size() && memeRapport(fin - 1, fin) && !complet()) {
        Unites u = UnitesDe(g[fin].Valeur);
        if (u.Unite > 0 && somme.Unite > 0) {
            while (somme.Unite > u.Unite) somme = {somme.Unite / 2, somme.Nombre * 2};
            while (u.Unite > somme.Unite) u = {u.Unite / 2, u.Nombre * 2};
            somme.Nombre += u.Nombre;
        }
        ++fin;
    }
    return {fin, complet()};
}

// Tuplet brackets over runs of notes of one ratio. A run too short for its
// ratio may still be whole in the ratio reduced (three sixteenths of a
// sextuplet are a triplet), which then is written. A run that is whole in
// neither (a tuplet the alignment left incomplete) is still bracketed when
// it has two notes or more; one lone note cannot carry both ends of a
// bracket.
void PoseTuplets(Voix& voix) {
    auto& g = voix.Groupes;
    size_t i = 0;
    while (i < g.size()) {
        const int t = g[i].Valeur.Reelles;
        if (t <= 1) {
            ++i;
            continue;
        }
        Crochet c = FinCrochet(g, i, t);
        const int diviseur = std::gcd(t, g[i].Valeur.Normales);
        if (!c.Complet && diviseur > 1) {
            const Crochet reduit = FinCrochet(g, i, t / diviseur);
            if (reduit.Complet) {
                c = reduit;
                for (size_t k = i; k < c.Fin; ++k) {
                    g[k].Valeur.Reelles /= diviseur;
                    g[k].Valeur.Normales /= diviseur;
                }
            }
        }
        if (c.Fin - i > 1) {
            g[i].DebutTuplet = true;
            g[c.Fin - 1].FinTuplet = true;
        }
        i = c.Fin;
    }
}

pugi::xml_node Enfant(pugi::xml_node parent, const char* nom) {
    return parent.append_child(nom);
}

void Texte(pugi::xml_node parent, const char* nom, const std::string& valeur) {
    Enfant(parent, nom).text().set(valeur.c_str());
}

void Texte(pugi::xml_node parent, const char* nom, long long valeur) {
    Enfant(parent, nom).text().set(valeur);
}

void AjoutePitch(pugi::xml_node note, const HauteurEcrite& h) {
    pugi::xml_node pitch = Enfant(note, "pitch");
    Texte(pitch, "step", std::string(1, kPas[h.Degre()]));
    if (h.Alteration != 0) Texte(pitch, "alter", h.Alteration);
    Texte(pitch, "octave", std::clamp(h.Octave(), 0, 9));
}

void AjouteVoix(pugi::xml_node note, int voix) {
    Texte(note, "voice", std::to_string(voix));
}

void AjoutePortee(pugi::xml_node note, const ContexteMesure& c) {
    if (c.Portee > 0) Texte(note, "staff", c.Portee);
}

void AjouteAppogiatures(pugi::xml_node parent, const Groupe& g, int voix, const ContexteMesure& c) {
    for (const NoteEcrite* n : g.Notes)
        for (const HauteurEcrite& h : n->Appogiatures) {
            pugi::xml_node note = Enfant(parent, "note");
            Enfant(note, "grace").append_attribute("slash") = "yes";
            AjoutePitch(note, h);
            AjouteVoix(note, voix);
            Texte(note, "type", "eighth");
            AjoutePortee(note, c);
        }
}

pugi::xml_node Notations(pugi::xml_node note, pugi::xml_node& notations) {
    if (!notations) notations = Enfant(note, "notations");
    return notations;
}

void AjouteOrnement(pugi::xml_node note, pugi::xml_node& notations, int effet) {
    if (effet == 6) {
        Enfant(Enfant(Notations(note, notations), "articulations"), "staccato");
        return;
    }
    const char* nom = effet == 1 || effet == 3 || effet == 4 ? "inverted-mordent"
                      : effet == 2                           ? "mordent"
                      : effet == 5                           ? "trill-mark"
                                                             : nullptr;
    if (nom == nullptr) return;
    pugi::xml_node o = Enfant(Enfant(Notations(note, notations), "ornaments"), nom);
    if (effet == 3 || effet == 4) o.append_attribute("long") = "yes";
}

void AjouteNote(pugi::xml_node parent, const Groupe& g, size_t k, int64_t duree, int voix,
                bool seuleDeLaMesure, const ContexteMesure& c) {
    const NoteEcrite& ecrite = *g.Notes[k];
    const NoteDoc& source = *ecrite.Source;
    const LiensPartie* liens = c.Liens;
    const bool debutLiaison = liens && liens->DebutsLiaison.count(&ecrite);
    const bool finLiaison = liens && liens->FinsLiaison.count(&ecrite);

    pugi::xml_node note = Enfant(parent, "note");
    if (k > 0) Enfant(note, "chord");
    if (g.Silence) {
        pugi::xml_node rest = Enfant(note, "rest");
        if (seuleDeLaMesure) rest.append_attribute("measure") = "yes";
    } else {
        AjoutePitch(note, ecrite.Hauteur);
    }
    Texte(note, "duration", duree / c.Divisions);
    if (finLiaison) Enfant(note, "tie").append_attribute("type") = "stop";
    if (debutLiaison) Enfant(note, "tie").append_attribute("type") = "start";
    AjouteVoix(note, voix);
    if (g.Valeur.Type != nullptr && !seuleDeLaMesure) {
        Texte(note, "type", g.Valeur.Type);
        for (int p = 0; p < g.Valeur.Points; ++p) Enfant(note, "dot");
    }
    const char* accidental = g.Silence ? nullptr : NomAccidental(source.Alteration);
    if (accidental != nullptr) Texte(note, "accidental", accidental);
    if (g.Valeur.Reelles > 0) {
        pugi::xml_node tm = Enfant(note, "time-modification");
        Texte(tm, "actual-notes", g.Valeur.Reelles);
        Texte(tm, "normal-notes", g.Valeur.Normales);
    }
    if (!g.Silence && source.Queue >= 1 && source.Queue <= 4)
        Texte(note, "stem", source.Queue <= 2 ? "up" : "down");
    AjoutePortee(note, c);
    if (k == 0)
        for (size_t b = 0; b < g.Crochets.size(); ++b) {
            pugi::xml_node beam = Enfant(note, "beam");
            beam.append_attribute("number") = static_cast<int>(b + 1);
            beam.text().set(g.Crochets[b].c_str());
        }

    pugi::xml_node notations;
    if (finLiaison) Enfant(Notations(note, notations), "tied").append_attribute("type") = "stop";
    if (debutLiaison) Enfant(Notations(note, notations), "tied").append_attribute("type") = "start";
    auto legato = [&](const char* type) {
        pugi::xml_node s = Enfant(Notations(note, notations), "slur");
        s.append_attribute("type") = type;
        const int id = std::string(type) == "stop" ? source.FinLiaison : source.DebutLiaison;
        s.append_attribute("number") = (id - 1) % 6 + 1;
    };
    if (liens && liens->FinsLegato.count(&ecrite)) legato("stop");
    if (liens && liens->DebutsLegato.count(&ecrite)) legato("start");
    if (k == 0 && g.DebutTuplet) {
        pugi::xml_node t = Enfant(Notations(note, notations), "tuplet");
        t.append_attribute("type") = "start";
        t.append_attribute("bracket") = "yes";
    }
    if (k == 0 && g.FinTuplet)
        Enfant(Notations(note, notations), "tuplet").append_attribute("type") = "stop";
    if (!g.Silence) AjouteOrnement(note, notations, source.Effet);
    if (source.PointDOrgue != 0)
        Enfant(Notations(note, notations), "fermata").append_attribute("type") =
            source.PointDOrgue == 2 ? "inverted" : "upright";
}

void AjouteChangementClef(pugi::xml_node noeud, const ClefEcrite& c,
                          const ContexteMesure& contexte) {
    pugi::xml_node clef = Enfant(Enfant(noeud, "attributes"), "clef");
    if (contexte.Portee > 0) clef.append_attribute("number") = contexte.Portee;
    Texte(clef, "sign", c.TypeClef == 2 ? "F" : c.TypeClef == 3 ? "C" : "G");
    Texte(clef, "line", c.LigneClef);
}

// A clef change goes into the first voice, which runs through the measure
// chord by chord, where that voice reaches the chord it starts at.
void AjouteChangementsJusqua(pugi::xml_node noeud, const MesureEcrite& mesure, size_t& suivant,
                             int64_t jusqua, int64_t& position, int voix,
                             const ContexteMesure& contexte) {
    for (; suivant < mesure.ChangementsClef.size(); ++suivant) {
        const ClefEcrite& c = mesure.ChangementsClef[suivant];
        if (c.Debut > jusqua) return;
        if (c.Debut > position) {
            pugi::xml_node avance = Enfant(noeud, "forward");
            Texte(avance, "duration", (c.Debut - position) / contexte.Divisions);
            AjouteVoix(avance, voix);
            AjoutePortee(avance, contexte);
            position = c.Debut;
        }
        AjouteChangementClef(noeud, c, contexte);
    }
}

}  // namespace

ValeurImprimee ValeurDe(const NoteDoc& note) {
    int64_t base = note.Duree;
    for (int d = 0; d < note.DivDuree && base > 0; ++d) {
        if (base % 2 != 0) base = 0;
        base /= 2;
    }
    const TypeNote* type = TypeDeDuree(base);
    const int points = note.Pointe;
    const int reelles = note.Tuplet > 0 ? note.Tuplet : 0;
    const int normales = reelles ? NombreNormal(reelles) : 0;
    if (type != nullptr && points >= 0 && points <= kPointsMax &&
        DureeImprimee(type->Duree, points, reelles, normales) == note.DureeEffective)
        return {type->Nom, points, reelles, normales};
    return ValeurDeDuree(note.DureeEffective);
}

FinNotes AjouteNotesMesure(pugi::xml_node noeud, const MesureEcrite& mesure,
                           const ContexteMesure& contexte) {
    std::vector<Voix> voix = RepartitVoix(mesure);
    size_t nbGroupes = 0;
    for (const Voix& v : voix) nbGroupes += v.Groupes.size();
    const int64_t finMesure = std::max<int64_t>(mesure.Longueur, voix[0].Fin);
    int64_t position = 0;
    for (size_t v = 0; v < voix.size(); ++v) {
        PoseCrochets(voix[v]);
        PoseTuplets(voix[v]);
        const int numero = contexte.PremiereVoix + static_cast<int>(v);
        size_t changement = v == 0 ? 0 : mesure.ChangementsClef.size();
        for (const Groupe& g : voix[v].Groupes) {
            AjouteChangementsJusqua(noeud, mesure, changement, g.Debut, position, numero, contexte);
            if (g.Debut < position) {
                Texte(Enfant(noeud, "backup"), "duration",
                      (position - g.Debut) / contexte.Divisions);
            } else if (g.Debut > position) {
                pugi::xml_node avance = Enfant(noeud, "forward");
                Texte(avance, "duration", (g.Debut - position) / contexte.Divisions);
                AjouteVoix(avance, numero);
                AjoutePortee(avance, contexte);
            }
            position = g.Debut;
            // A further voice may run past the bar line; readers check the
            // duration against the printed value, so that is what it keeps.
            const int64_t duree = g.Valeur.Type != nullptr
                                      ? g.Duree
                                      : std::min<int64_t>(g.Duree, finMesure - g.Debut);
            if (duree <= 0) continue;
            AjouteAppogiatures(noeud, g, numero, contexte);
            const bool seule =
                nbGroupes == 1 && g.Silence && g.Debut == 0 && g.Duree == mesure.Longueur;
            for (size_t k = 0; k < g.Notes.size(); ++k)
                AjouteNote(noeud, g, k, duree, numero, seule, contexte);
            position += duree;
        }
        AjouteChangementsJusqua(noeud, mesure, changement, INT64_MAX, position, numero, contexte);
    }
    return {position, static_cast<int>(voix.size())};
}
