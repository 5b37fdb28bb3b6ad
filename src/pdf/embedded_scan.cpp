// Taking a scan out of a page. Poppler lists the page's pictures with the
// rectangle each covers; a page is a scan when it holds exactly one picture
// covering nearly all of it. Poppler then hands the picture over at its
// stored size, decoded (CCITT, JBIG2, JPEG, flate) but not scaled.
//
// The picture comes in its own row order, which is not always the page's: a
// writer may place it flipped or turned with the page's transform. So a
// small drawing of the rectangle by poppler, which applies every transform,
// is compared with the picture shrunk to the same size, as it is and
// flipped each way; the picture is flipped to the closest match. A picture
// placed turned (its rectangle off the page, or its sides not fitting the
// rectangle's) or that matches none of them closely is not used, and the
// page is drawn at the picture's resolution instead.
#include "pdf/embedded_scan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "pdf/page_rendering.h"
#include "pdf/pdf_library.h"

namespace {

// Share of the page the picture must cover.
constexpr double kCouvertureMin = 0.9;
// Largest difference between the resolutions along the two sides.
constexpr double kEcartResolutionMax = 0.03;
// Width of the comparison drawings, and the largest mean difference (in
// gray levels) of a picture that matches its drawing.
constexpr int kLargeurVignette = 160;
constexpr double kEcartVignetteMax = 24.0;
// Largest share of the drawing's mean ink the difference may reach.
constexpr double kPartEncreMax = 0.5;

struct ImageTrouvee {
    int id = -1;
    PopplerRectangle zone{};
    bool dansLaPage = false;  // the rectangle lies on the page
};

// How far (points) the rectangle may stick out of the page.
constexpr double kDebordMax = 2.0;

// The page's only picture when it is as large as the page. Poppler gives the
// rectangle of a picture placed turned as if it were not turned, which may
// put it off the page: such a picture is not taken as it is stored.
bool SeuleImage(PopplerPage* page, ImageTrouvee& trouvee) {
    GList* liste = Pdf().poppler_page_get_image_mapping(page);
    const bool une = liste != nullptr && liste->next == nullptr;
    if (une) {
        const auto* m = static_cast<const PopplerImageMapping*>(liste->data);
        trouvee.id = m->image_id;
        trouvee.zone = m->area;
    }
    Pdf().poppler_page_free_image_mapping(liste);
    if (!une) return false;
    PopplerRectangle& z = trouvee.zone;
    if (z.x2 < z.x1) std::swap(z.x1, z.x2);
    if (z.y2 < z.y1) std::swap(z.y1, z.y2);
    double l = 0, h = 0;
    Pdf().poppler_page_get_size(page, &l, &h);
    trouvee.dansLaPage = z.x1 >= -kDebordMax && z.y1 >= -kDebordMax && z.x2 <= l + kDebordMax &&
                         z.y2 <= h + kDebordMax;
    return (z.x2 - z.x1) * (z.y2 - z.y1) >= kCouvertureMin * l * h;
}

// The picture shrunk to largeur x hauteur, each pixel the mean of its box.
std::vector<double> Reduit(const ImageGrise& image, int largeur, int hauteur) {
    std::vector<double> somme(static_cast<size_t>(largeur) * hauteur, 0.0);
    std::vector<double> nombre(somme.size(), 0.0);
    for (int y = 0; y < image.hauteur; ++y) {
        const size_t ligne =
            static_cast<size_t>(static_cast<long long>(y) * hauteur / image.hauteur) * largeur;
        const uint8_t* source = image.pixels.data() + static_cast<size_t>(y) * image.largeur;
        for (int x = 0; x < image.largeur; ++x) {
            const size_t i =
                ligne + static_cast<size_t>(static_cast<long long>(x) * largeur / image.largeur);
            somme[i] += source[x];
            nombre[i] += 1.0;
        }
    }
    for (size_t i = 0; i < somme.size(); ++i)
        somme[i] = nombre[i] > 0 ? somme[i] / nombre[i] : 255.0;
    return somme;
}

// Mean difference between the drawing and the shrunk picture flipped
// left-right and/or top-bottom.
double Ecart(const ImageGrise& dessin, const std::vector<double>& reduite, bool gaucheDroite,
             bool hautBas) {
    const int l = dessin.largeur, h = dessin.hauteur;
    double total = 0.0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < l; ++x) {
            const int xs = gaucheDroite ? l - 1 - x : x, ys = hautBas ? h - 1 - y : y;
            total += std::abs(dessin.pixels[static_cast<size_t>(y) * l + x] -
                              reduite[static_cast<size_t>(ys) * l + xs]);
        }
    return total / (static_cast<double>(l) * h);
}

void RetourneGaucheDroite(ImageGrise& image) {
    for (int y = 0; y < image.hauteur; ++y) {
        auto debut = image.pixels.begin() + static_cast<ptrdiff_t>(y) * image.largeur;
        std::reverse(debut, debut + image.largeur);
    }
}

void RetourneHautBas(ImageGrise& image) {
    for (int y = 0, y2 = image.hauteur - 1; y < y2; ++y, --y2)
        std::swap_ranges(image.pixels.begin() + static_cast<ptrdiff_t>(y) * image.largeur,
                         image.pixels.begin() + static_cast<ptrdiff_t>(y + 1) * image.largeur,
                         image.pixels.begin() + static_cast<ptrdiff_t>(y2) * image.largeur);
}

// Flips the picture to match poppler's drawing of its rectangle; false when
// no flip matches.
bool RedresseSelonDessin(PopplerPage* page, const PopplerRectangle& zone, ImageGrise& image) {
    const int largeur = std::min(kLargeurVignette, image.largeur);
    const int hauteur = std::max(
        1, static_cast<int>(std::lround(largeur * (zone.y2 - zone.y1) / (zone.x2 - zone.x1))));
    ImageGrise dessin;
    if (!DessineZone(page, zone, largeur, hauteur, dessin)) return false;
    const std::vector<double> reduite = Reduit(image, largeur, hauteur);
    int meilleur = 0;
    double ecarts[4];
    for (int v = 0; v < 4; ++v) {
        ecarts[v] = Ecart(dessin, reduite, (v & 1) != 0, (v & 2) != 0);
        if (ecarts[v] < ecarts[meilleur]) meilleur = v;
    }
    // A page that looks the same every way (blank, symmetric) stays as stored.
    if (ecarts[0] <= ecarts[meilleur] + 1.0) meilleur = 0;
    // The match must be close next to the ink there is: on a page that is
    // mostly white, any picture is close to the drawing on average.
    double encre = 0.0;
    for (uint8_t v : dessin.pixels) encre += 255 - v;
    encre /= static_cast<double>(dessin.pixels.size());
    if (ecarts[meilleur] > kEcartVignetteMax || ecarts[meilleur] > kPartEncreMax * encre + 2.0)
        return false;
    if ((meilleur & 1) != 0) RetourneGaucheDroite(image);
    if ((meilleur & 2) != 0) RetourneHautBas(image);
    return true;
}

}  // namespace

bool ExtraitScan(PopplerPage* page, ImageGrise& image, double& dpi) {
    dpi = 0;
    ImageTrouvee trouvee;
    if (!SeuleImage(page, trouvee)) return false;
    cairo_surface_t* surface = Pdf().poppler_page_get_image(page, trouvee.id);
    const bool lue = SurfaceEnGris(surface, image);
    if (surface != nullptr) Pdf().cairo_surface_destroy(surface);
    if (!lue) return false;
    const PopplerRectangle& z = trouvee.zone;
    const double dpiX = image.largeur * 72.0 / (z.x2 - z.x1);
    const double dpiY = image.hauteur * 72.0 / (z.y2 - z.y1);
    dpi = std::sqrt(dpiX * dpiY);
    const bool droite = trouvee.dansLaPage && std::abs(dpiX - dpiY) <= kEcartResolutionMax * dpi &&
                        RedresseSelonDessin(page, z, image);
    if (!droite) image = ImageGrise{};
    return droite;
}
