// One acquisition through an acquire plug-in: prepare, start, the BMP file,
// continue until the plug-in has no more rows, the final header, finish,
// and the module unloaded.
#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "acquisition/bmp_file.h"
#include "acquisition/plugin_module.h"
#include "acquisition/plugins.h"
#include "acquisition/scan_trace.h"
#include "document/preferences.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"
#include "toolbox/system.h"

namespace {

// Continue calls allowed for one image: far more than any plug-in sending
// one row at a time needs, so that one that never ends its image is stopped.
constexpr int kNbMaxSuites = 4 * 32767;

int16_t AnnulationDemandee() {
    return TestAnnulation() ? 1 : 0;
}

void Progression(int32_t fait, int32_t total) {
    if (total > 0) ProgressionCourante().Pourcentage(static_cast<int>(int64_t{fait} * 100 / total));
}

class AppelPlugIn {
  public:
    explicit AppelPlugIn(PointEntreePlugIn entree) : entree_(entree) {
        record_.maxData = static_cast<int32_t>(
            std::clamp<int64_t>(MemoireLibre(), 0, std::numeric_limits<int32_t>::max()));
        record_.platformData = DonneesPlateforme();
        record_.abortProc = AnnulationDemandee;
        record_.progressProc = Progression;
        record_.hostField3 = 3;
        record_.hostFieldMinus1 = -1;
    }

    int16_t Appelle(int16_t selecteur) {
        int16_t resultat = 0;
        entree_(selecteur, &record_, &donnees_, &resultat);
        TraceScanner("Plug-in selector %d: %d", selecteur, resultat);
        return resultat;
    }

    const AcquireRecord& Record() const { return record_; }

  private:
    PointEntreePlugIn entree_;
    AcquireRecord record_{};
    intptr_t donnees_ = 0;
};

int MessageCreation(int resultat, const std::string& chemin, const AcquireRecord& r) {
    if (resultat == kErreurTailleBMP)
        Alerte("The plug-in's image of %d x %d pixels can't be a page", r.imageSize.h,
               r.imageSize.v);
    else if (resultat == kErreurFichierBMP)
        Alerte("Can't open '%s' for writing", chemin.c_str());
    return resultat;
}

// Continue until the plug-in ends the image; the result of the last call,
// or 1 when its rows did not fit the image.
int16_t RecoitRangees(AppelPlugIn& appel, FichierBMPAcquisition& fichier) {
    for (int n = 0; n < kNbMaxSuites; ++n) {
        const int16_t resultat = appel.Appelle(kSelecteurSuite);
        const AcquireRecord& r = appel.Record();
        if (resultat != 0 || r.data == nullptr) return resultat;
        if (!fichier.EcritRangees(r.theRect, static_cast<const uint8_t*>(r.data), r.rowBytes)) {
            Alerte("The plug-in sent rows %d to %d, columns %d to %d, outside its image",
                   r.theRect.top, r.theRect.bottom, r.theRect.left, r.theRect.right);
            return 1;
        }
    }
    Alerte("The plug-in never ended its image");
    return 1;
}

int16_t Acquiert(AppelPlugIn& appel, const std::string& chemin) {
    int16_t resultat = appel.Appelle(kSelecteurPrepare);
    if (resultat != 0) return resultat;
    resultat = appel.Appelle(kSelecteurDebut);
    if (resultat != 0) return resultat;
    const AcquireRecord& r = appel.Record();
    FichierBMPAcquisition fichier;
    const int creation = fichier.Cree(chemin, r.imageSize.h, r.imageSize.v, r.depth, r.planes);
    if (creation != 0) return static_cast<int16_t>(MessageCreation(creation, chemin, r));
    resultat = RecoitRangees(appel, fichier);
    if (!fichier.Termine() && resultat == 0) {
        Alerte("Can't write '%s'", chemin.c_str());
        resultat = 1;
    }
    return resultat;
}

}  // namespace

bool AcquiertAvecPlugIn(const std::string& nom, const std::string& chemin, int& bits,
                        int& resolution) {
    bits = -1;
    resolution = 0;
    const std::string plugIn =
        nom.empty() ? std::string(Prefs.NomPlugIn, strnlen(Prefs.NomPlugIn, sizeof Prefs.NomPlugIn))
                    : nom;
    if (plugIn.empty()) return false;
    const PointEntreePlugIn entree = EntreePlugIn(plugIn);
    if (entree == nullptr) {
        DechargePlugIn();
        return false;
    }
    AppelPlugIn appel(entree);
    int16_t resultat = Acquiert(appel, chemin);
    const int16_t fin = appel.Appelle(kSelecteurFin);
    if (resultat == 0) resultat = fin;
    bits = appel.Record().depth;
    resolution = appel.Record().imageHRes >> 16;
    DechargePlugIn();
    if (resultat == kErreurFormatAcquisition)
        Alerte("Bad scanning format. Check you're scanning in monochrome or 8-bits gray scale");
    return resultat == 0;
}
