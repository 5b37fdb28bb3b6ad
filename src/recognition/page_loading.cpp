#include "recognition/page_loading.h"

#include <utility>

#include "image/page_preparation.h"
#include "recognition/document.h"
#include "recognition/prepared_image.h"
#include "recognition/saved_state.h"
#include "records/options.h"
#include "records/page_entry.h"
#include "staff/orientation.h"
#include "staff/staff_detection.h"
#include "toolbox/messages.h"
#include "toolbox/progress.h"

namespace {

// The page's image as its options make it: from the cache when the file is
// unchanged, else decoded and cleaned anew (and cached).
Offscreen ImagePreparee(EntreePage& page, MesuresChargement& mesures) {
    Offscreen image = ImagePrepareeEnCache(page);
    if (image) return image;
    if (PrepareImagePage(page, Document.Chemin, image, &Document.Modifie, &mesures) !=
        kPreparationFaite)
        return nullptr;
    GardeImagePreparee(page, image);
    return image;
}

// A page with no turn of its own, or one just stood up from its side, is
// turned over when its staves end where they should start; the page list
// remembers the turn, and the user is told of any. The staves the check
// found on a page left as it stands are kept for its recognition.
void RedressePage(int indexPage, EntreePage& page, Offscreen image,
                  const MesuresChargement& mesures) {
    int quarts = mesures.quartsDeTour;
    if (page.NbRotations == 0 || quarts != 0) {
        const ReglagesReconnaissance reglages = ReglagesCourants();
        EtatPage portees;
        if (PeseExtremitesPortees(image, reglages, quarts != 0, &portees).renversee &&
            Rotation180(image)) {
            page.NbRotations = static_cast<int16_t>((page.NbRotations + 2) % 4);
            Document.Modifie = true;
            quarts += 2;
        } else if (!portees.Portees.empty()) {
            Document.PorteesChargees.Empreinte = EmpreinteDetection(*image, reglages);
            Document.PorteesChargees.Etat = std::move(portees);
        }
    }
    if (quarts != 0)
        ProgressionCourante().Avertissement(
            FormateTexte(TexteLangue("Page %d was turned %d degrees clockwise to stand upright"),
                         indexPage + 1, 90 * quarts));
}

}  // namespace

bool ChargePageDocument(int indexPage) {
    if (indexPage < 0 || indexPage >= static_cast<int>(Document.Pages.size())) return false;
    Document.NumPage = static_cast<int16_t>(indexPage);
    if (Document.ImagePage) DisposeOffscreen(Document.ImagePage);
    Document.PorteesChargees = {};
    EntreePage& page = Document.Pages[indexPage];
    MesuresChargement mesures;
    Offscreen image = ImagePreparee(page, mesures);
    if (!image) return false;
    RedressePage(indexPage, page, image, mesures);
    Document.ImagePage = image;
    return RestaureEtatPage(indexPage);
}
