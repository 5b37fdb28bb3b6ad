#include "document/result_file_support.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "document/keyword_stream.h"
#include "document/result_file_reader.h"
#include "document/result_file_writer.h"
#include "toolbox/messages.h"

std::string Tokens(const std::string& texte) {
    std::istringstream flux(texte);
    std::string mot, resultat;
    while (flux >> mot) resultat += (resultat.empty() ? "" : " ") + mot;
    return resultat;
}

bool Contient(const std::string& texte, const std::string& morceau) {
    return texte.find(morceau) != std::string::npos;
}

std::string EcritEnMemoire(const std::function<void()>& ecrit) {
    char* donnees = nullptr;
    size_t taille = 0;
    std::FILE* f = open_memstream(&donnees, &taille);
    {
        FichierCourantTemporaire courant(f);
        ecrit();
    }
    std::fclose(f);
    std::string texte(donnees, taille);
    std::free(donnees);
    return texte;
}

std::string ResultatDePages(const std::vector<const EtatPage*>& pages, const std::string& nom) {
    char modele[] = "/tmp/ruzo-msb-XXXXXX";
    const int fd = mkstemp(modele);
    if (fd < 0) return "";
    close(fd);
    std::FILE* f = OuvreFichierResultat(modele, nom);
    for (const EtatPage* page : pages) EcritPageResultat(f, *page);
    FermeFichierResultat(f);
    std::FILE* lu = std::fopen(modele, "rb");
    std::string texte;
    char tampon[4096];
    size_t n;
    while ((n = std::fread(tampon, 1, sizeof tampon, lu)) > 0) texte.append(tampon, n);
    std::fclose(lu);
    std::remove(modele);
    return texte;
}

bool LitTexteResultat(const std::string& texte, DocumentMusical& document,
                      std::vector<std::string>* alertes) {
    std::FILE* f = std::tmpfile();
    std::fwrite(texte.data(), 1, texte.size(), f);
    std::rewind(f);
    CaptureAlertes capture;
    const bool ok = LitDocumentResultat(f, "test.msb", document);
    std::fclose(f);
    if (alertes) *alertes = capture.Textes();
    return ok;
}

EtatPage PageSimple() {
    EtatPage page;
    page.NomPage = "page-1.png";
    page.CadrePage = Rect{0, 0, 3500, 2480};
    page.DureeTraitement = 7;
    page.InterligneMoyenne = 10;
    page.NbPorteesParSysteme = 1;
    page.RetraitPremierGroupe = 0.5f;
    Portee p;
    p.IndexPortee = 0;
    p.Interligne = 10;
    p.DebutProfil = 100;
    p.FinProfil = 140;
    p.Clef.TypeClef = 1;
    p.Clef.Numerateur = 4;
    p.Clef.Denominateur = 4;
    for (int i = 0; i < 5; ++i) {
        Mesure m;
        m.PosXMesure = static_cast<int16_t>(100 + 100 * i);
        p.Mesures.push_back(m);
    }
    page.Portees.push_back(p);
    return page;
}

NotePortee NoteRecord(uint32_t id, uint8_t code, int16_t position, int16_t mesure,
                      int16_t posMesure) {
    NotePortee n;
    n.IdNote = id;
    n.CodeNote = code;
    n.Silence = (code == 119 || code == 250 || code == 207 || code == 59) ? 0 : 1;
    n.Interligne = position;
    n.NumMesure = mesure;
    n.PosMesure = posMesure;
    n.PosX = static_cast<int16_t>(110 + 100 * mesure + posMesure / 10);
    return n;
}

NoteDoc Note(int32_t duree, int16_t posMesure, int16_t division, int16_t pointe) {
    NoteDoc n;
    n.Duree = duree;
    n.PosMesure = posMesure;
    n.DivDuree = division;
    n.Pointe = pointe;
    n.TaillePixInterligne = 10;
    n.PosX = static_cast<int16_t>(posMesure);
    return n;
}

NoteDoc Silence(int32_t duree, int16_t posMesure) {
    NoteDoc n = Note(duree, posMesure);
    n.Silence = 1;
    return n;
}
