// The drawing is the engine's own page view; this only converts it and
// describes the notes and rests of each staff, in the staff's geometry.
#include "desktop/page_view_job.h"

#include <QCoreApplication>
#include <memory>

#include "desktop/pixmap_image.h"
#include "document/preferences.h"
#include "recognition/page_loading.h"
#include "recognition/page_view_drawing.h"
#include "recognition/page_view_image.h"
#include "records/catalogue.h"
#include "records/page_entry.h"

namespace {

QString Decrit(const NotePortee& n, int portee) {
    QString texte = QString::fromUtf8(NomCaractere(n.CodeNote));
    if (texte.isEmpty()) texte = n.Silence ? QStringLiteral("rest") : QStringLiteral("note");
    texte += QCoreApplication::translate("Vue", ", staff %1").arg(portee + 1);
    if (n.NumMesure > 0)
        texte += QCoreApplication::translate("Vue", ", measure %1").arg(n.NumMesure);
    if (n.DivDuree > 0)
        texte += QCoreApplication::translate("Vue", ", %1 flags or beams").arg(n.DivDuree);
    if (n.Pointe > 0) texte += QCoreApplication::translate("Vue", ", %1 dot(s)").arg(n.Pointe);
    static const char* const alterations[] = {"natural", "sharp",        "",
                                              "flat",    "double sharp", "double flat"};
    if (!n.Silence && n.Alteration < 6 && n.Alteration != kSansAlteration)
        texte += QStringLiteral(", ") + QString::fromLatin1(alterations[n.Alteration]);
    if (n.Etat != 0) texte += QCoreApplication::translate("Vue", " (removed by the export)");
    return texte;
}

void DecritSymboles(std::vector<SymboleVu>& symboles) {
    symboles.clear();
    for (int i = 0; i < Document.Etat.NbPorteesTrouvees(); ++i) {
        const RepereePortee r(i);
        for (const NotePortee& n : r.portee.Symboles)
            symboles.push_back(SymboleVu{r.dx + n.PosX, r.dy + n.PosY, r.Interligne(),
                                         n.Silence != 0, Decrit(n, i)});
    }
}

}  // namespace

bool DessineVueCourante(int index, VueCalculee& vue) {
    vue.page = index;
    if (index < 0 || index >= static_cast<int>(Document.Pages.size()) || !Document.ImagePage)
        return false;
    vue.aires = Document.Pages[index].Aires;
    std::unique_ptr<PixMap> carte(DessineVuePage(*Document.ImagePage, {}, Prefs));
    if (!carte) return false;
    vue.image = ImageDePixMap(*carte);
    DecritSymboles(vue.symboles);
    return !vue.image.isNull();
}

bool CalculeVue(int index, VueCalculee& vue) {
    vue.page = index;
    if (index < 0 || index >= static_cast<int>(Document.Pages.size())) return false;
    if (!ChargePageDocument(index)) return false;
    return DessineVueCourante(index, vue);
}

const SymboleVu* SymboleSous(const std::vector<SymboleVu>& symboles, int x, int y) {
    const SymboleVu* proche = nullptr;
    long meilleure = 0;
    for (const SymboleVu& s : symboles) {
        const long dx = s.x - x, dy = s.y - y, d = dx * dx + dy * dy;
        if (d > static_cast<long>(s.rayon) * s.rayon) continue;
        if (proche == nullptr || d < meilleure) {
            proche = &s;
            meilleure = d;
        }
    }
    return proche;
}
