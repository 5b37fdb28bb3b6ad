// A PDF file opened through poppler's glib binding, read one page at a time:
// only the page being read is held, so a long file costs what one page costs.
#pragma once

#include <poppler.h>

#include <memory>
#include <string>

struct LibereObjetGlib {
    void operator()(void* objet) const;
};

using PagePdf = std::unique_ptr<PopplerPage, LibereObjetGlib>;

class DocumentPdf {
  public:
    // Opens the file; false with `erreur` set (a sentence naming the file)
    // when it is not a PDF, is damaged or cut short, is locked by a
    // password, or has no pages.
    bool Ouvre(const std::string& chemin, std::string& erreur);

    int NbPages() const;

    // Page `numero`, from 1; null when poppler can't read it.
    PagePdf Page(int numero) const;

  private:
    std::unique_ptr<PopplerDocument, LibereObjetGlib> document_;
};
