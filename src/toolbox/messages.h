// Messages to the user and the debug trace.
//
// Alerts are the printf-style texts a user must see; they all go through one
// sink, which the command line prints to stderr and the tests capture. The
// trace is a sink for progress texts of the stages; it is discarded unless a
// destination is set. Numbered messages and stage labels come from the
// language table (language 1 English, 2 French).
//
// Every other text a user sees is written in English in the code and passed
// through `TexteLangue`, which looks it up in the French catalogue when the
// language is 2. Alerts do so themselves. The catalogue is keyed by the
// English format, so a test can check that every alert of the sources has
// its French text, with the same conversions in the same order.
#pragma once

#include <functional>
#include <string>
#include <vector>

using PuitsTexte = std::function<void(const std::string&)>;

void Alerte(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// printf into a string; for formats taken from the language table.
std::string FormateTexte(const char* format, ...);

// `anglais` in the current language: its French text when the language is 2
// and the catalogue has one, else `anglais` itself. The result lives as long
// as the process, and printf checks it against the arguments as it would
// `anglais`.
const char* TexteLangue(const char* anglais) __attribute__((format_arg(1)));

// The French catalogue: English format, French format.
struct TexteFrancais {
    const char* anglais;
    const char* francais;
};
const std::vector<TexteFrancais>& CatalogueFrancais();

// Replaces a sink and returns the previous one; an empty function restores the
// default (alerts to stderr as "ruzo: TEXT", trace discarded).
PuitsTexte DefinitPuitsAlertes(PuitsTexte puits);
PuitsTexte DefinitPuitsTrace(PuitsTexte puits);
bool TraceActive();

// The process language: 1 English (the fallback), 2 French.
int LangueCourante();
void DefinitLangue(int langue);
bool LangueDisponible(int langue);

// Entry n of the numbered application messages, of the status messages and of
// the stage labels of the current language; "" when there is none.
std::string MessageNumero(int numero);
std::string MessageStatut(int numero);
std::string LibelleEtape(int numero);

// Captures every alert while alive; used by tests and by commands that need
// to report alerts in their own way.
class CaptureAlertes {
  public:
    CaptureAlertes();
    ~CaptureAlertes();
    CaptureAlertes(const CaptureAlertes&) = delete;
    CaptureAlertes& operator=(const CaptureAlertes&) = delete;

    const std::vector<std::string>& Textes() const { return textes_; }
    bool Contient(const std::string& texte) const;
    void Efface() { textes_.clear(); }

  private:
    std::vector<std::string> textes_;
    PuitsTexte precedent_;
};
