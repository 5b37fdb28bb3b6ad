// What the worker thread hands the page view for one page: the page as the
// engine draws it (without the command areas, which the view draws itself
// so that they can be edited), the page's areas, and where each recognised
// note or rest is with a line saying what it is, for pointing at it.
#pragma once

#include <QImage>
#include <QMetaType>
#include <QString>
#include <vector>

#include "recognition/document.h"

struct SymboleVu {
    int x = 0;  // page pixels
    int y = 0;
    int rayon = 0;
    bool silence = false;
    QString texte;
};

struct VueCalculee {
    int page = -1;
    QImage image;
    std::vector<AireCommande> aires;
    std::vector<SymboleVu> symboles;
};
Q_DECLARE_METATYPE(VueCalculee)

// Engine side, on the worker thread: brings page `index` in (its image and
// saved results) and draws it. False, with the user told why, when the page
// cannot be loaded.
bool CalculeVue(int index, VueCalculee& vue);
// Draws the page EtatPage holds, whose bitmap is current (after a page was
// recognised).
bool DessineVueCourante(int index, VueCalculee& vue);

// The symbol nearest to a page point within its radius; nullptr when none.
const SymboleVu* SymboleSous(const std::vector<SymboleVu>& symboles, int x, int y);
