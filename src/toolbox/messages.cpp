#include "toolbox/messages.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <map>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "toolbox/held_messages.h"
#include "toolbox/text_format.h"

namespace {

// The sinks are the process's: recognitions running side by side hand them
// their lines one at a time. Recursive, for a sink that itself warns.
std::recursive_mutex verrouPuits;
PuitsTexte puitsAlertes;
PuitsTexte puitsTrace;
int langue = 1;
thread_local MessagesRetenus* retenus = nullptr;

void EnvoieAlerte(const std::string& texte) {
    const std::lock_guard<std::recursive_mutex> verrou(verrouPuits);
    if (puitsAlertes)
        puitsAlertes(texte);
    else
        std::fprintf(stderr, "ruzo: %s\n", texte.c_str());
}

void EnvoieTrace(const std::string& texte) {
    const std::lock_guard<std::recursive_mutex> verrou(verrouPuits);
    if (puitsTrace) puitsTrace(texte);
}

struct TexteDeuxLangues {
    const char* anglais;
    const char* francais;
};

// Numbered application messages. Stages add theirs here as they need them.
const std::map<int, TexteDeuxLangues>& Messages() {
    static const std::map<int, TexteDeuxLangues> m = {
        {7, {"Recognition cancelled.", "Reconnaissance interrompue."}},
        {50,
         {"The music font could not be found; symbols will be drawn as boxes.",
          "La police musicale est introuvable ; les symboles seront dessines en cadres."}},
        {51,
         {"Save the changes to the page list?",
          "Enregistrer les modifications de la liste de pages ?"}},
        {52,
         {"Save these options as the standard options?",
          "Enregistrer ces options comme options standard ?"}},
        {53, {"Reset the options to their defaults?", "Remettre les options par defaut ?"}},
        {54, {"No scanner found.", "Aucun scanner trouve."}},
        {55,
         {"The scanner interface (SANE) could not be started.",
          "L'interface des scanners (SANE) n'a pu etre demarree."}},
        {56, {"SANE %d.%d: %s %s (%s), device %s", "SANE %d.%d : %s %s (%s), peripherique %s"}},
        {57,
         {"The staff lines are very close together: recognition may be poor.",
          "Les lignes de portee sont tres serrees : la reconnaissance risque d'etre mauvaise."}},
        {58, {"No staff found on this page.", "Aucune portee trouvee sur cette page."}},
        {61,
         {"The page is not black and white (1 bit per pixel).",
          "La page n'est pas en noir et blanc (1 bit par pixel)."}},
        {62, {"The resolution is below 200 dpi.", "La resolution est inferieure a 200 dpi."}},
        {63, {"The resolution is above 300 dpi.", "La resolution est superieure a 300 dpi."}},
        {64,
         {"Recognition works best on black and white pages scanned at 200 to 300 dpi. Keep this "
          "page?",
          "La reconnaissance est meilleure sur des pages en noir et blanc a 200-300 dpi. Garder "
          "cette page ?"}},
        {100,
         {"The lines of staff %d could not be followed; the staff was skipped.",
          "Les lignes de la portee %d n'ont pu etre suivies ; la portee est ignoree."}},
        {101,
         {"Too many accidentals in the key signature of staff %d",
          "Trop d'alterations a la clef portee %d"}},
        {102,
         {"The measure position table is inconsistent (a column without entries)",
          "Erreur de coherence du tableau PosMesure"}},
        {103,
         {"A note's ornament has a symbol that is not an ornament", "CalculeEffetNote erreur"}},
    };
    return m;
}

const std::map<int, TexteDeuxLangues>& MessagesStatut() {
    static const std::map<int, TexteDeuxLangues> m = {
        {1, {"Music file written.", "Fichier musical ecrit."}},
        {7, {"Cancelling...", "Interruption..."}},
    };
    return m;
}

const std::map<int, TexteDeuxLangues>& LibellesEtapes() {
    static const std::map<int, TexteDeuxLangues> m = {
        {1, {"Preparing the page", "Preparation de la page"}},
        {2, {"Finding the staves", "Recherche des portees"}},
        {3, {"Reading the staves", "Lecture des portees"}},
        {4, {"Systems and measures", "Systemes et mesures"}},
        {10, {"Reading the result file", "Lecture du fichier de resultats"}},
        {11, {"Grouping chords", "Regroupement des accords"}},
        {12, {"Time signatures", "Chiffrages des mesures"}},
        {13, {"Fitting the rhythms", "Recalage des rythmes"}},
        {14, {"Writing the music file", "Ecriture du fichier musical"}},
    };
    return m;
}

std::string Cherche(const std::map<int, TexteDeuxLangues>& table, int numero) {
    const auto it = table.find(numero);
    if (it == table.end()) return "";
    return langue == 2 ? it->second.francais : it->second.anglais;
}

}  // namespace

std::string FormateListe(const char* format, va_list args) {
    va_list copie;
    va_copy(copie, args);
    const int n = std::vsnprintf(nullptr, 0, format, copie);
    va_end(copie);
    if (n <= 0) return "";
    std::string texte(static_cast<size_t>(n), '\0');
    std::vsnprintf(texte.data(), texte.size() + 1, format, args);
    return texte;
}

const char* TexteLangue(const char* anglais) {
    if (langue != 2 || anglais == nullptr) return anglais;
    static const std::unordered_map<std::string_view, const char*> francais = [] {
        std::unordered_map<std::string_view, const char*> m;
        for (const TexteFrancais& t : CatalogueFrancais()) m.emplace(t.anglais, t.francais);
        return m;
    }();
    const auto it = francais.find(anglais);
    return it == francais.end() ? anglais : it->second;
}

void Alerte(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string texte = FormateListe(TexteLangue(format), args);
    va_end(args);
    if (retenus)
        retenus->Retiens(true, texte);
    else
        EnvoieAlerte(texte);
}

std::string FormateTexte(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string texte = FormateListe(format, args);
    va_end(args);
    return texte;
}

void Trace(const char* format, ...) {
    if (!TraceActive()) return;
    va_list args;
    va_start(args, format);
    const std::string texte = FormateListe(format, args);
    va_end(args);
    if (retenus)
        retenus->Retiens(false, texte);
    else
        EnvoieTrace(texte);
}

MessagesRetenus::MessagesRetenus() : precedent_(retenus) {
    retenus = this;
}

MessagesRetenus::~MessagesRetenus() {
    retenus = precedent_;
}

void MessagesRetenus::Retiens(bool alerte, std::string texte) {
    lignes_.push_back({alerte, std::move(texte)});
}

std::vector<MessagesRetenus::Ligne> MessagesRetenus::Prends() {
    return std::exchange(lignes_, {});
}

void MessagesRetenus::Envoie(const std::vector<Ligne>& lignes) {
    for (const Ligne& l : lignes) {
        if (l.alerte)
            EnvoieAlerte(l.texte);
        else
            EnvoieTrace(l.texte);
    }
}

PuitsTexte DefinitPuitsAlertes(PuitsTexte puits) {
    const std::lock_guard<std::recursive_mutex> verrou(verrouPuits);
    std::swap(puits, puitsAlertes);
    return puits;
}

PuitsTexte DefinitPuitsTrace(PuitsTexte puits) {
    const std::lock_guard<std::recursive_mutex> verrou(verrouPuits);
    std::swap(puits, puitsTrace);
    return puits;
}

bool TraceActive() {
    const std::lock_guard<std::recursive_mutex> verrou(verrouPuits);
    return static_cast<bool>(puitsTrace);
}

int LangueCourante() {
    return langue;
}

bool LangueDisponible(int l) {
    return l == 1 || l == 2;
}

void DefinitLangue(int l) {
    langue = LangueDisponible(l) ? l : 1;
}

std::string MessageNumero(int numero) {
    return Cherche(Messages(), numero);
}
std::string MessageStatut(int numero) {
    return Cherche(MessagesStatut(), numero);
}
std::string LibelleEtape(int numero) {
    return Cherche(LibellesEtapes(), numero);
}

CaptureAlertes::CaptureAlertes() {
    precedent_ = DefinitPuitsAlertes([this](const std::string& t) { textes_.push_back(t); });
}

CaptureAlertes::~CaptureAlertes() {
    DefinitPuitsAlertes(precedent_);
}

bool CaptureAlertes::Contient(const std::string& texte) const {
    return std::find(textes_.begin(), textes_.end(), texte) != textes_.end();
}
