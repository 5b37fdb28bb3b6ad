#include "recognition/page_loading.h"

#include "image/page_preparation.h"
#include "recognition/document.h"
#include "recognition/prepared_image.h"
#include "recognition/saved_state.h"

namespace {

// The page's image as its options make it: from the cache when the file is
// unchanged, else decoded and cleaned anew (and cached).
Offscreen ImagePreparee(EntreePage& page) {
    Offscreen image = ImagePrepareeEnCache(page);
    if (image) return image;
    if (PrepareImagePage(page, Document.Chemin, image, &Document.Modifie) != kPreparationFaite)
        return nullptr;
    GardeImagePreparee(page, image);
    return image;
}

}  // namespace

bool ChargePageDocument(int indexPage) {
    if (indexPage < 0 || indexPage >= static_cast<int>(Document.Pages.size())) return false;
    Document.NumPage = static_cast<int16_t>(indexPage);
    if (Document.ImagePage) DisposeOffscreen(Document.ImagePage);
    EntreePage& page = Document.Pages[indexPage];
    Offscreen image = ImagePreparee(page);
    if (!image) return false;
    // The stages see only black and white, whatever the page's own options.
    SeuillageAvantReconnaissance(page, image);
    Document.ImagePage = image;
    return RestaureEtatPage(indexPage);
}
