#include "recognition/page_loading.h"

#include "image/page_preparation.h"
#include "recognition/document.h"
#include "recognition/saved_state.h"

bool ChargePageDocument(int indexPage) {
    if (indexPage < 0 || indexPage >= static_cast<int>(Document.Pages.size())) return false;
    Document.NumPage = static_cast<int16_t>(indexPage);
    if (Document.ImagePage) DisposeOffscreen(Document.ImagePage);
    EntreePage& page = Document.Pages[indexPage];
    Offscreen image = nullptr;
    if (PrepareImagePage(page, image) != kPreparationFaite) return false;
    // The stages see only black and white, whatever the page's own options.
    SeuillageAvantReconnaissance(page, image);
    Document.ImagePage = image;
    return RestaureEtatPage(indexPage);
}
