// Copies the rows of an indexed map into an indexed QImage and gives it the
// shared 256-entry table, 16-bit components reduced to 8.
#include "desktop/pixmap_image.h"

#include <cstring>

namespace {

QList<QRgb> TableCouleurs() {
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i) table[i] = CouleurQt(i).rgb();
    return table;
}

}  // namespace

QColor CouleurQt(int index) {
    const Couleur16 c = CouleurDIndex(static_cast<uint8_t>(index & 0xff));
    return QColor(c.rouge >> 8, c.vert >> 8, c.bleu >> 8);
}

QImage ImageDePixMap(const PixMap& carte) {
    if (carte.largeur <= 0 || carte.hauteur <= 0) return {};
    QImage image(carte.largeur, carte.hauteur, QImage::Format_Indexed8);
    if (image.isNull()) return {};
    static const QList<QRgb> table = TableCouleurs();
    image.setColorTable(table);
    for (int y = 0; y < carte.hauteur; ++y)
        std::memcpy(image.scanLine(y),
                    carte.PremiereLigne() + static_cast<size_t>(y) * carte.pasLigne,
                    static_cast<size_t>(carte.largeur));
    return image;
}
