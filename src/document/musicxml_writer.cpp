#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <numeric>
#include <sstream>

#include "document/music_file.h"
#include "document/musicxml.h"
#include "document/musicxml_notes.h"
#include "document/musicxml_parts.h"
#include "document/output_file.h"
#include "document/zip_archive.h"

namespace {

int64_t Divisions(const std::vector<PartieEcrite>& ecrites) {
    int64_t pgcd = kDureeNoire;
    for (const PartieEcrite& p : ecrites)
        for (const MesureEcrite& m : p.Mesures) {
            pgcd = std::gcd(pgcd, int64_t{m.Longueur});
            for (const NoteEcrite& n : m.Notes)
                if (n.Source->DureeEffective > 0)
                    pgcd = std::gcd(pgcd, int64_t{n.Source->DureeEffective});
        }
    return pgcd;
}

pugi::xml_node Enfant(pugi::xml_node parent, const char* nom) {
    return parent.append_child(nom);
}

template <typename T>
void Texte(pugi::xml_node parent, const char* nom, T valeur) {
    Enfant(parent, nom).text().set(valeur);
}

void AjouteClef(pugi::xml_node attributs, const MesureEcrite& m, int numero) {
    pugi::xml_node clef = Enfant(attributs, "clef");
    if (numero > 0) clef.append_attribute("number") = numero;
    Texte(clef, "sign", m.TypeClef == 2 ? "F" : m.TypeClef == 3 ? "C" : "G");
    Texte(clef, "line", m.LigneClef);
}

// A clef and the line it stands on, as one value to compare.
int ClefEtLigne(const MesureEcrite& m) {
    return m.TypeClef * 10 + m.LigneClef;
}

void AjouteTonalite(pugi::xml_node attributs, int tonalite, int numero) {
    pugi::xml_node cle = Enfant(attributs, "key");
    if (numero > 0) cle.append_attribute("number") = numero;
    Texte(cle, "fifths", QuintesTonalite(tonalite));
}

void AjouteBarre(pugi::xml_node mesure, const char* cote, const char* style,
                 const char* repetition) {
    pugi::xml_node barre = Enfant(mesure, "barline");
    barre.append_attribute("location") = cote;
    Texte(barre, "bar-style", style);
    if (repetition != nullptr) Enfant(barre, "repeat").append_attribute("direction") = repetition;
}

// The rest the rhythm alignment puts in front of notes that do not fill
// their measure: it has no note of the page behind it.
bool CommenceParUnComblement(const MesureEcrite& m) {
    return !m.Notes.empty() && m.Notes[0].Source->Silence && m.Notes[0].Source->IdNote == 0 &&
           m.Notes[0].DebutAccord == 0;
}

// The first measure is a pick-up when no part fills it: each part's notes
// are shorter than the time signature, or begin with the alignment's
// filling rest; and some part has notes of its own there.
bool CommenceParUneLevee(const std::vector<PartieEcrite>& parties) {
    bool notes = false;
    for (const PartieEcrite& p : parties) {
        if (p.Mesures.size() < 2) return false;
        const MesureEcrite& premiere = p.Mesures[0];
        const bool comblee = CommenceParUnComblement(premiere);
        if (!comblee && premiere.DureeNotes >= premiere.Longueur) return false;
        notes |= premiere.Notes.size() > (comblee ? 1u : 0u);
    }
    return notes;
}

// Score editors take a part's sound and name from its instrument.
void AjouteInstrument(pugi::xml_node sp, const PartieSortie& partie, size_t numero) {
    const std::string nom = partie.Nom(numero);
    const std::string id = "P" + std::to_string(numero + 1) + "-I1";
    Texte(sp, "part-name", nom.c_str());
    pugi::xml_node instrument = Enfant(sp, "score-instrument");
    instrument.append_attribute("id") = id.c_str();
    Texte(instrument, "instrument-name", nom.c_str());
    pugi::xml_node midi = Enfant(sp, "midi-instrument");
    midi.append_attribute("id") = id.c_str();
    Texte(midi, "midi-channel", CanalMidi(numero) + 1);
    Texte(midi, "midi-program", kProgrammeMidi);
}

// What one part has said so far, so that only changes are repeated.
struct EtatPartie {
    std::vector<int> Clefs, Tonalites;
    int Numerateur = 0, Denominateur = 0;
    bool Repetition = false;
};

class Ecrivain {
  public:
    Ecrivain(const DocumentMusical& document)
        : document_(document), ecrites_(LitPartitionEcrite(document)) {
        divisions_ = Divisions(ecrites_);
        for (const PartieEcrite& p : ecrites_) liens_.push_back(TrouveLiens(p));
        levee_ = CommenceParUneLevee(ecrites_);
    }

    std::string Texte();

  private:
    void AjouteEntete(pugi::xml_node racine, const std::vector<PartieSortie>& parties);
    void AjoutePartie(pugi::xml_node racine, const PartieSortie& partie, size_t numero);
    void AjouteMesure(pugi::xml_node noeudPartie, const PartieSortie& partie, size_t m,
                      EtatPartie& etat);
    void AjouteAttributs(pugi::xml_node mesure, const PartieSortie& partie, size_t m,
                         EtatPartie& etat);

    const DocumentMusical& document_;
    std::vector<PartieEcrite> ecrites_;
    std::vector<LiensPartie> liens_;
    int64_t divisions_ = 1;
    bool levee_ = false;
};

void Ecrivain::AjouteEntete(pugi::xml_node racine, const std::vector<PartieSortie>& parties) {
    const std::string titre = std::filesystem::path(document_.Nom).stem().string();
    if (!titre.empty()) ::Texte(Enfant(racine, "work"), "work-title", titre.c_str());
    pugi::xml_node encodage = Enfant(Enfant(racine, "identification"), "encoding");
    ::Texte(encodage, "software", (std::string("Ruzo ") + RUZO_VERSION).c_str());
    char date[16];
    const std::time_t maintenant = std::time(nullptr);
    std::tm local{};
    localtime_r(&maintenant, &local);
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    ::Texte(encodage, "encoding-date", date);

    pugi::xml_node liste = Enfant(racine, "part-list");
    for (size_t i = 0; i < parties.size(); ++i) {
        const PartieSortie& p = parties[i];
        if (p.DebutGroupe) {
            pugi::xml_node g = Enfant(liste, "part-group");
            g.append_attribute("type") = "start";
            g.append_attribute("number") = p.Groupe;
            ::Texte(g, "group-symbol", "bracket");
            ::Texte(g, "group-barline", "yes");
        }
        pugi::xml_node sp = Enfant(liste, "score-part");
        sp.append_attribute("id") = ("P" + std::to_string(i + 1)).c_str();
        AjouteInstrument(sp, p, i);
        if (p.FinGroupe) {
            pugi::xml_node g = Enfant(liste, "part-group");
            g.append_attribute("type") = "stop";
            g.append_attribute("number") = p.Groupe;
        }
    }
}

void Ecrivain::AjouteAttributs(pugi::xml_node mesure, const PartieSortie& partie, size_t m,
                               EtatPartie& etat) {
    const size_t nb = partie.Portees.size();
    std::vector<const MesureEcrite*> mesures;
    for (size_t p : partie.Portees) mesures.push_back(&ecrites_[p].Mesures[m]);
    const MesureEcrite& premiere = *mesures[0];

    bool tonaliteChange = m == 0, clefChange = false;
    for (size_t s = 0; s < nb; ++s) {
        tonaliteChange |= mesures[s]->Tonalite != etat.Tonalites[s];
        clefChange |= ClefEtLigne(*mesures[s]) != etat.Clefs[s];
    }
    const bool tempsChange =
        premiere.Numerateur != etat.Numerateur || premiere.Denominateur != etat.Denominateur;
    const bool repetitionChange = premiere.Repetition != etat.Repetition;
    if (!(m == 0 || tonaliteChange || clefChange || tempsChange || repetitionChange)) return;

    pugi::xml_node attributs = Enfant(mesure, "attributes");
    if (m == 0) ::Texte(attributs, "divisions", static_cast<long long>(kDureeNoire / divisions_));
    if (tonaliteChange) {
        bool memes = true;
        for (size_t s = 1; s < nb; ++s) memes &= mesures[s]->Tonalite == mesures[0]->Tonalite;
        for (size_t s = 0; s < (memes ? 1 : nb); ++s)
            AjouteTonalite(attributs, mesures[s]->Tonalite, memes ? 0 : static_cast<int>(s + 1));
    }
    if (tempsChange) {
        pugi::xml_node temps = Enfant(attributs, "time");
        ::Texte(temps, "beats", premiere.Numerateur);
        ::Texte(temps, "beat-type", premiere.Denominateur);
    }
    if (m == 0 && nb > 1) {
        ::Texte(attributs, "staves", static_cast<int>(nb));
        ::Texte(attributs, "part-symbol", "brace");
    }
    for (size_t s = 0; s < nb; ++s)
        if (m == 0 || ClefEtLigne(*mesures[s]) != etat.Clefs[s])
            AjouteClef(attributs, *mesures[s], nb > 1 ? static_cast<int>(s + 1) : 0);
    if (repetitionChange) {
        pugi::xml_node style = Enfant(Enfant(attributs, "measure-style"), "measure-repeat");
        style.append_attribute("type") = premiere.Repetition ? "start" : "stop";
        if (premiere.Repetition) style.text().set(1);
    }
    for (size_t s = 0; s < nb; ++s) {
        etat.Tonalites[s] = mesures[s]->Tonalite;
        etat.Clefs[s] = ClefEtLigne(*mesures[s]);
    }
    etat.Numerateur = premiere.Numerateur;
    etat.Denominateur = premiere.Denominateur;
    etat.Repetition = premiere.Repetition;
}

void Ecrivain::AjouteMesure(pugi::xml_node noeudPartie, const PartieSortie& partie, size_t m,
                            EtatPartie& etat) {
    pugi::xml_node mesure = Enfant(noeudPartie, "measure");
    // A pick-up measure is bar 0 and not counted, as editors number bars.
    mesure.append_attribute("number") = static_cast<unsigned>(levee_ ? m : m + 1);
    if (levee_ && m == 0) mesure.append_attribute("implicit") = "yes";
    // Breaks follow the first staff of the pages, in every part alike.
    const MesureDoc& tete = document_.Portees[0].Mesures[m];
    if (tete.DebutPage)
        Enfant(mesure, "print").append_attribute("new-page") = "yes";
    else if (tete.DebutSysteme)
        Enfant(mesure, "print").append_attribute("new-system") = "yes";

    const PorteeDoc& source = document_.Portees[partie.Portees[0]];
    if (source.Mesures[m].DebutRepetition) AjouteBarre(mesure, "left", "heavy-light", "forward");
    AjouteAttributs(mesure, partie, m, etat);

    // Each staff's voices are numbered from 1 + 4 x its rank, or after the
    // previous staff's when it needed more than four.
    const size_t nb = partie.Portees.size();
    int premiereVoix = 1;
    for (size_t s = 0; s < nb; ++s) {
        ContexteMesure contexte;
        contexte.Divisions = divisions_;
        contexte.Portee = nb > 1 ? static_cast<int>(s + 1) : 0;
        contexte.PremiereVoix = std::max(premiereVoix, 1 + 4 * static_cast<int>(s));
        contexte.Liens = &liens_[partie.Portees[s]];
        const MesureEcrite& ecrite = ecrites_[partie.Portees[s]].Mesures[m];
        const FinNotes fin = AjouteNotesMesure(mesure, ecrite, contexte);
        // The next measure compares its clef with the last one written.
        if (!ecrite.ChangementsClef.empty())
            etat.Clefs[s] = ecrite.ChangementsClef.back().TypeClef * 10 +
                            ecrite.ChangementsClef.back().LigneClef;
        premiereVoix = contexte.PremiereVoix + fin.NbVoix;
        if (s + 1 < nb && fin.Position > 0)
            ::Texte(Enfant(mesure, "backup"), "duration",
                    static_cast<long long>(fin.Position / divisions_));
    }

    // A bar-line sign marks the boundary it stands on: a repeat end there
    // closes the measure before.
    if (m + 1 < source.Mesures.size()) {
        const MesureDoc& suivante = source.Mesures[m + 1];
        if (suivante.FinRepetition)
            AjouteBarre(mesure, "right", "light-heavy", "backward");
        else if (suivante.FinMusique)
            AjouteBarre(mesure, "right", "light-heavy", nullptr);
    }
}

void Ecrivain::AjoutePartie(pugi::xml_node racine, const PartieSortie& partie, size_t numero) {
    pugi::xml_node noeud = Enfant(racine, "part");
    noeud.append_attribute("id") = ("P" + std::to_string(numero + 1)).c_str();
    EtatPartie etat;
    etat.Clefs.assign(partie.Portees.size(), 0);
    etat.Tonalites.assign(partie.Portees.size(), 0);
    const size_t nbMesures = document_.Portees[partie.Portees[0]].Mesures.size();
    for (size_t m = 0; m < nbMesures; ++m) AjouteMesure(noeud, partie, m, etat);
}

std::string Ecrivain::Texte() {
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    doc.append_child(pugi::node_doctype)
        .set_value(
            "score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
            "\"http://www.musicxml.org/dtds/partwise.dtd\"");
    pugi::xml_node racine = doc.append_child("score-partwise");
    racine.append_attribute("version") = "4.0";
    const std::vector<PartieSortie> parties = ComposeParties(document_);
    AjouteEntete(racine, parties);
    for (size_t i = 0; i < parties.size(); ++i) AjoutePartie(racine, parties[i], i);
    std::ostringstream flux;
    doc.save(flux, "  ", pugi::format_default, pugi::encoding_utf8);
    return flux.str();
}

bool FiniPar(const std::string& texte, const std::string& fin) {
    if (texte.size() < fin.size()) return false;
    return std::equal(fin.rbegin(), fin.rend(), texte.rbegin(), [](char a, char b) {
        return a == std::tolower(static_cast<unsigned char>(b));
    });
}

constexpr const char* kConteneur =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<container>\n"
    "  <rootfiles>\n"
    "    <rootfile full-path=\"score.musicxml\" "
    "media-type=\"application/vnd.recordare.musicxml+xml\"/>\n"
    "  </rootfiles>\n"
    "</container>\n";

}  // namespace

std::string TexteMusicXML(const DocumentMusical& document) {
    if (document.Portees.empty()) return {};
    bool vide = true;
    for (const PorteeDoc& p : document.Portees) vide &= p.Mesures.empty();
    if (!vide) return Ecrivain(document).Texte();
    // A part needs at least one measure: an empty one carries its clef.
    DocumentMusical copie = document;
    for (PorteeDoc& p : copie.Portees) p.Mesures.resize(1);
    return Ecrivain(copie).Texte();
}

bool EcritMusicXML(const DocumentMusical& document, const std::string& chemin) {
    const std::string texte = TexteMusicXML(document);
    std::string octets = texte;
    if (FiniPar(chemin, ".mxl"))
        octets = ArchiveZip({{"mimetype", "application/vnd.recordare.musicxml", false},
                             {"META-INF/container.xml", kConteneur},
                             {"score.musicxml", texte}});
    return EcritFichierExport(chemin, octets, "MusicXML");
}
