#include "document/keyword_stream.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "document/keyword_position.h"

namespace {

// The stream: the current file and the indentation depth of the writers.
struct FluxMotsCles {
    std::FILE* fichier = nullptr;
    int16_t profondeur = 0;
};

FluxMotsCles Flux;

// How many LitBloc calls are running, across files.
int blocsOuverts = 0;

std::string TexteEntier(long valeur) {
    return std::to_string(valeur);
}

bool EcritOctets(const std::string& texte) {
    if (Flux.fichier == nullptr) return false;
    if (texte.empty()) return true;
    return std::fwrite(texte.data(), 1, texte.size(), Flux.fichier) == texte.size();
}

// LF, the indentation, the keyword and a space.
std::string DebutLigne(const char* motCle) {
    std::string ligne = "\n";
    for (int i = 0; i < Flux.profondeur; ++i) ligne += "\t ";
    ligne += motCle;
    ligne += ' ';
    return ligne;
}

bool EcritLigne(const char* motCle, const std::string& valeur) {
    std::string ligne = DebutLigne(motCle);
    if (!valeur.empty()) {
        ligne += valeur;
        ligne += ' ';
    }
    return EcritOctets(ligne);
}

void Descend() {
    if (Flux.profondeur < INT16_MAX) ++Flux.profondeur;
}

void Remonte() {
    if (Flux.profondeur > 0) --Flux.profondeur;
}

int LitOctet() {
    if (Flux.fichier == nullptr) return EOF;
    return std::getc(Flux.fichier);
}

// Reads the next token into `mot` (at most kLongueurMaxMot bytes kept, the
// rest consumed). False at end of file before any token byte.
bool LitToken(char (&mot)[kLongueurMaxMot + 1]) {
    int c = LitOctet();
    while (c != EOF && c <= 32) c = LitOctet();
    if (c == EOF) {
        mot[0] = '\0';
        return false;
    }
    int longueur = 0;
    mot[longueur++] = static_cast<char>(c);
    while ((c = LitOctet()) != EOF && c >= 46) {
        if (longueur < kLongueurMaxMot) mot[longueur++] = static_cast<char>(c);
    }
    mot[longueur] = '\0';
    return true;
}

// The token as a whole number, saturated to 64 bits; 0 when it does not
// start with one.
long long LitNombreEntier() {
    char mot[kLongueurMaxMot + 1];
    if (!LitToken(mot)) return 0;
    return std::strtoll(mot, nullptr, 10);
}

// Keeps the nesting count right on every way out of LitBloc.
class BlocOuvert {
  public:
    BlocOuvert() { ++blocsOuverts; }
    ~BlocOuvert() { --blocsOuverts; }
    BlocOuvert(const BlocOuvert&) = delete;
    BlocOuvert& operator=(const BlocOuvert&) = delete;
};

template <typename Appel>
bool LitJusquA(const char* motFin, bool avecGestionnaire, Appel appelle) {
    if (blocsOuverts >= kProfondeurMaxBlocs) return false;
    BlocOuvert bloc;
    char mot[kLongueurMaxMot + 1];
    while (LitToken(mot)) {
        if (std::strcmp(mot, motFin) == 0) return true;
        if (!avecGestionnaire) continue;
        if (!appelle(mot)) return false;
    }
    return false;
}

}  // namespace

std::FILE* ChoisitFichierCourant(std::FILE* fichier) {
    std::FILE* precedent = Flux.fichier;
    Flux.fichier = fichier;
    Flux.profondeur = 0;
    return precedent;
}

bool EcritDebut(const char* motCle) {
    const bool ok = EcritLigne(motCle, "");
    Descend();
    return ok;
}

bool EcritFin(const char* motCle) {
    Remonte();
    return EcritLigne(motCle, "");
}

bool EcritDebutNum(const char* motCle, int16_t n) {
    const bool ok = EcritLigne(motCle, TexteEntier(n));
    Descend();
    return ok;
}

bool EcritFinNum(const char* motCle, int16_t n) {
    Remonte();
    return EcritLigne(motCle, TexteEntier(n));
}

bool EcritEntier(const char* motCle, int16_t valeur) {
    return EcritLigne(motCle, TexteEntier(valeur));
}

bool EcritLong(const char* motCle, int32_t valeur) {
    return EcritLigne(motCle, TexteEntier(valeur));
}

bool EcritReel(const char* motCle, float valeur) {
    // Three decimals with a point, as "%.3f" gives in the C locale, but
    // without depending on the process locale.
    char texte[400];
    const auto [fin, erreur] = std::to_chars(
        texte, texte + sizeof texte, static_cast<double>(valeur), std::chars_format::fixed, 3);
    if (erreur != std::errc()) return false;
    return EcritLigne(motCle, std::string(texte, fin));
}

bool EcritRect(const char* motCle, const Rect& r) {
    const std::string valeur = TexteEntier(r.left) + " " + TexteEntier(r.top) + " " +
                               TexteEntier(r.right) + " " + TexteEntier(r.bottom);
    return EcritLigne(motCle, valeur);
}

bool EcritChaine(const char* motCle, const char* texte) {
    return EcritLigne(motCle, std::string("\"") + texte + "\"");
}

bool EcritMot(const char* motCle, const char* texte) {
    return EcritLigne(motCle, texte);
}

bool EcritNombre(int16_t valeur) {
    return EcritOctets(TexteEntier(valeur) + " ");
}

bool EcritTexte(const char* texte) {
    if (texte[0] == '\0') return EcritOctets("");
    return EcritOctets(std::string(texte) + " ");
}

bool LitBloc(const char* motFin, const GestionnaireMotCle& gestionnaire) {
    return LitJusquA(motFin, static_cast<bool>(gestionnaire),
                     [&](const char* mot) { return gestionnaire(mot); });
}

bool LitBloc(const char* motFin, const GestionnaireMotCleValeur& gestionnaire, int32_t valeur) {
    return LitJusquA(motFin, static_cast<bool>(gestionnaire),
                     [&](const char* mot) { return gestionnaire(mot, valeur); });
}

int LigneLue() {
    std::FILE* f = Flux.fichier;
    if (f == nullptr) return 0;
    const long fin = std::ftell(f);
    if (fin < 0 || std::fseek(f, 0, SEEK_SET) != 0) return 0;
    int ligne = 1;
    for (long i = 0; i + 1 < fin; ++i)
        if (std::fgetc(f) == '\n') ++ligne;
    std::fseek(f, fin, SEEK_SET);
    return ligne;
}

void SauteLigne() {
    int c;
    while ((c = LitOctet()) != EOF && c != '\n') {
    }
}

int16_t LitEntier() {
    return static_cast<int16_t>(LitNombreEntier());
}

int32_t LitLong() {
    return static_cast<int32_t>(LitNombreEntier());
}

float LitReel() {
    char mot[kLongueurMaxMot + 1];
    if (!LitToken(mot)) return 0.0f;
    // A leading '+' is accepted as "%f" does; from_chars alone would refuse it.
    const char* debut = mot[0] == '+' ? mot + 1 : mot;
    float valeur = 0.0f;
    const auto [fin, erreur] = std::from_chars(debut, mot + std::strlen(mot), valeur);
    if (erreur != std::errc() || fin == debut || !std::isfinite(valeur)) return 0.0f;
    return valeur;
}

bool LitBooleen() {
    return LitEntier() != 0;
}

void LitRect(Rect& r) {
    r.left = LitEntier();
    r.top = LitEntier();
    r.right = LitEntier();
    r.bottom = LitEntier();
}

bool LitMot(char* buffer, int max) {
    char mot[kLongueurMaxMot + 1];
    const bool lu = LitToken(mot);
    const size_t garde = std::min(std::strlen(mot), static_cast<size_t>(std::max(max, 0)));
    std::memcpy(buffer, mot, garde);
    buffer[garde] = '\0';
    return lu;
}

bool LitChaine(char* buffer, int max) {
    int c;
    while ((c = LitOctet()) != EOF && c != '"') {
    }
    int longueur = 0;
    if (c != EOF) {
        while ((c = LitOctet()) != EOF && c != '"') {
            if (longueur < max) buffer[longueur++] = static_cast<char>(c);
        }
    }
    buffer[longueur] = '\0';
    return c == '"';
}
