// One acquisition from a SANE device: open, set the options, start, read
// the image row by row into a bitmap held in memory, end, close; then the
// bitmap is saved as a BMP file.
//
// Rows are converted as they come: 1-bit gray (where SANE's set bit is
// black) is inverted into a black-and-white bitmap whose set bit is white;
// 8-bit gray is kept; 16-bit gray and RGB colour become 8-bit gray. A device
// that does not know the page height beforehand (a hand scanner) is read to
// its end. The bitmap is bounded by the largest page the program handles.
#include <sane/sane.h>
#include <sys/utsname.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "acquisition/bmp_file.h"
#include "acquisition/scan_trace.h"
#include "acquisition/scanner.h"
#include "acquisition/scanner_errors.h"
#include "acquisition/scanner_options.h"
#include "document/preferences.h"
#include "toolbox/bounded_call.h"
#include "toolbox/messages.h"
#include "toolbox/pixmap.h"
#include "toolbox/progress.h"

namespace {

// A real device stops within seconds, even one that ejects the page first.
constexpr std::chrono::seconds kDelaiArret{20};

// Tells the device to stop a transfer. One that doesn't within the delay is
// left as it is: closing it, or ending SANE, would wait for it again.
void ArreteTransfert(SANE_Handle h) {
    if (ScannerBloque()) return;
    if (AppelBorne([h] { sane_cancel(h); }, kDelaiArret)) return;
    MarqueScannerBloque();
    Alerte("The scanner did not stop when told to: restart Ruzo before scanning again");
}

// The source, closed whatever way the acquisition ends.
class SourceOuverte {
  public:
    explicit SourceOuverte(SANE_Handle h) : h_(h) {}
    ~SourceOuverte() {
        TraceScanner("CloseDataSource");
        if (!ScannerBloque()) sane_close(h_);
    }
    SourceOuverte(const SourceOuverte&) = delete;
    SourceOuverte& operator=(const SourceOuverte&) = delete;
    SANE_Handle get() const { return h_; }

  private:
    SANE_Handle h_;
};

// The image being received, rows top first.
class ImageRecue {
  public:
    // Empty text when the parameters describe an image we can take.
    std::string Accepte(const SANE_Parameters& p) {
        p_ = p;
        if (p.format != SANE_FRAME_GRAY && p.format != SANE_FRAME_RGB)
            return TexteLangue("three-pass colour frames");
        if (p.depth != 1 && p.depth != 8 && p.depth != 16) return TexteLangue("unknown depth");
        if (p.format == SANE_FRAME_RGB && p.depth == 1) return "1-bit colour";
        if (p.pixels_per_line <= 0 || p.pixels_per_line > kDimensionMax || p.lines > kDimensionMax)
            return TexteLangue("absurd size");
        const int64_t octetsPixels =
            (int64_t{p.pixels_per_line} * p.depth * (p.format == SANE_FRAME_RGB ? 3 : 1) + 7) / 8;
        if (p.bytes_per_line < octetsPixels) return TexteLangue("rows shorter than their pixels");
        bits_ = (p.format == SANE_FRAME_GRAY && p.depth == 1) ? 1 : 8;
        pas_ = PasLigneBMP(p.pixels_per_line, bits_);
        return "";
    }

    // Takes `n` bytes from the device; false when the image grows past the
    // largest page.
    bool Ajoute(const uint8_t* octets, size_t n) {
        ligne_.insert(ligne_.end(), octets, octets + n);
        size_t debut = 0;
        const size_t tailleLigne = static_cast<size_t>(p_.bytes_per_line);
        for (; ligne_.size() - debut >= tailleLigne; debut += tailleLigne) {
            if (NbRangees() >= kDimensionMax) return false;
            ConvertitRangee(ligne_.data() + debut);
        }
        ligne_.erase(ligne_.begin(), ligne_.begin() + static_cast<std::ptrdiff_t>(debut));
        return true;
    }

    int NbRangees() const { return static_cast<int>(pixels_.size() / static_cast<size_t>(pas_)); }
    int Bits() const { return bits_; }
    int Pourcentage() const { return p_.lines > 0 ? NbRangees() * 100 / p_.lines : 0; }

    bool Sauve(const std::string& chemin) {
        const int hauteur = NbRangees();
        for (int haut = 0, bas = hauteur - 1; haut < bas; ++haut, --bas)  // bottom row first
            std::swap_ranges(pixels_.begin() + haut * pas_, pixels_.begin() + (haut + 1) * pas_,
                             pixels_.begin() + bas * pas_);
        std::vector<uint32_t> palette(bits_ == 1 ? 2 : 256);
        for (uint32_t i = 0; i < palette.size(); ++i)
            palette[i] = (i * 255 / static_cast<uint32_t>(palette.size() - 1)) * 0x010101u;
        ImageDIB dib;
        dib.info.biWidth = p_.pixels_per_line;
        dib.info.biHeight = hauteur;
        dib.info.biBitCount = static_cast<uint16_t>(bits_);
        dib.couleurs = palette.data();
        dib.pixels = pixels_.data();
        return SauveBMPFile(dib, chemin);
    }

  private:
    // One gray sample of pixel x of a row (8 or 16 bits, gray or RGB).
    uint8_t Gris(const uint8_t* rangee, int x) const {
        const int octets = p_.depth / 8;  // 16-bit samples are host order: the high byte is last
        const int haut = octets - 1;
        if (p_.format == SANE_FRAME_GRAY) return rangee[x * octets + haut];
        const uint8_t* rvb = rangee + 3 * x * octets;
        return static_cast<uint8_t>(
            (30 * rvb[haut] + 59 * rvb[octets + haut] + 11 * rvb[2 * octets + haut]) / 100);
    }

    void ConvertitRangee(const uint8_t* source) {
        const size_t debut = pixels_.size();
        pixels_.resize(debut + static_cast<size_t>(pas_), 0);
        uint8_t* cible = pixels_.data() + debut;
        const int largeur = p_.pixels_per_line;
        if (bits_ == 1) {
            for (int i = 0; i < (largeur + 7) / 8; ++i) cible[i] = static_cast<uint8_t>(~source[i]);
            return;
        }
        for (int x = 0; x < largeur; ++x) cible[x] = Gris(source, x);
    }

    SANE_Parameters p_{};
    int bits_ = 8;
    int64_t pas_ = 1;
    std::vector<uint8_t> ligne_;
    std::vector<uint8_t> pixels_;
};

void TraceDebut(const ReglagesNumerisation& reglages) {
    TraceScanner("%s", std::string(114, '-').c_str());
    TraceScanner("GetImageTwain: Begin");
    if (!Prefs.TwainDebug) return;
    TraceScanner("Ruzo version : %s,Linux", RUZO_VERSION);
    utsname machine{};
    if (uname(&machine) == 0)
        TraceScanner("Computer : %s %s %s", machine.nodename, machine.sysname, machine.machine);
    TraceScanner("%s", DecritSource(reglages.source).c_str());
}

SANE_Handle OuvreSource(const std::string& nom) {
    TraceScanner("OpenDataSource %s", nom.c_str());
    SANE_Handle h = nullptr;
    const SANE_Status s = sane_open(nom.c_str(), &h);
    ArreteScannerAvantSesModules();
    if (s == SANE_STATUS_GOOD) return h;
    // A name no backend knows is refused as an invalid argument: no such source.
    const std::string contexte =
        FormateTexte(TexteLangue("Can't open data source '%s'"), nom.c_str());
    if (s == SANE_STATUS_INVAL)
        AfficheErreurCondition(contexte, 3);
    else
        AfficheErreurScanner(contexte, s);
    return nullptr;
}

// Reads the started image to its end. False when it could not be read
// (shown) or was cancelled (silent, the device told to stop).
bool LitImage(SANE_Handle h, ImageRecue& image) {
    std::vector<uint8_t> tampon(size_t{1} << 16);
    for (;;) {
        if (TestAnnulation()) {
            ArreteTransfert(h);
            return false;
        }
        SANE_Int lus = 0;
        const SANE_Status s =
            sane_read(h, tampon.data(), static_cast<SANE_Int>(tampon.size()), &lus);
        if (s == SANE_STATUS_EOF) return true;
        if (s != SANE_STATUS_GOOD) {
            ArreteTransfert(h);
            if (s != SANE_STATUS_CANCELLED) AfficheErreurScanner("Can' get image", s);
            return false;
        }
        if (!image.Ajoute(tampon.data(), static_cast<size_t>(std::max<SANE_Int>(lus, 0)))) {
            ArreteTransfert(h);
            Alerte("Can' get image\n[the image is taller than %d rows]", kDimensionMax);
            return false;
        }
        ProgressionCourante().Pourcentage(image.Pourcentage());
    }
}

bool Transfere(SANE_Handle h, const std::string& chemin, ImageAcquise& resultat) {
    resultat.resolution = LitResolution(h);  // options can't be read while scanning
    TraceScanner("SendMessageDataSource begin sane_start");
    SANE_Status s = sane_start(h);
    TraceScanner("SendMessageDataSource end : %s ", sane_strstatus(s));
    if (s != SANE_STATUS_GOOD) {
        if (s != SANE_STATUS_CANCELLED) AfficheErreurScanner("Can' get image", s);
        return false;
    }
    SANE_Parameters p{};
    s = sane_get_parameters(h, &p);
    ImageRecue image;
    const std::string refus = s == SANE_STATUS_GOOD ? image.Accepte(p) : sane_strstatus(s);
    if (!refus.empty()) {
        ArreteTransfert(h);
        Alerte("Can' get image\n[%s]", refus.c_str());
        return false;
    }
    TraceScanner("GetImageTwain:Image X%dxY%d, depth :%d, resolution %dx%d, compression %d",
                 p.pixels_per_line, p.lines, p.depth, resultat.resolution, resultat.resolution, 0);
    if (Prefs.TwainFileTransfert)
        TraceScanner("File transfer asked: SANE has none, memory is used");
    TraceScanner("FixeScanSurMemoire");
    if (!LitImage(h, image)) return false;
    ArreteTransfert(h);  // ends the transfer; required after the last frame
    if (image.NbRangees() == 0) {
        Alerte("Can' get image\n[the scanner sent no rows]");
        return false;
    }
    resultat.bits = image.Bits();
    if (!image.Sauve(chemin)) {
        TraceScanner("WindowsGetNativeImage: Can't save BMP '%s' , error %d", chemin.c_str(), 0);
        return false;
    }
    return true;
}

}  // namespace

bool AcquiertAvecScanner(const ReglagesNumerisation& reglages, const std::string& chemin,
                         ImageAcquise& resultat) {
    resultat = {};
    TraceDebut(reglages);
    if (!InitialiseScanner()) return false;
    const std::string nom = reglages.source.empty() ? SourceParDefaut() : reglages.source;
    if (nom.empty()) {
        AfficheErreurCondition("Can't open data source", 3);
        return false;
    }
    SANE_Handle h = OuvreSource(nom);
    if (h == nullptr) return false;
    bool ok = false;
    {
        SourceOuverte source(h);
        FixeAlimentation(h, reglages.alimentation);
        FixeMode(h, reglages.mode);
        FixeResolution(h, reglages.resolution);
        ok = Transfere(h, chemin, resultat);
    }
    TraceScanner("GetImageTwain: End");
    return ok;
}
