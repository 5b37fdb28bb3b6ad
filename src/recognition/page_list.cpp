#include "recognition/page_list.h"

#include <algorithm>

#include "recognition/page_loading.h"
#include "recognition/prepared_image.h"
#include "records/page_entry.h"
#include "staff/page_state.h"
#include "toolbox/messages.h"

int16_t TailleIcone(int hauteurImage, int largeurImage) {
    if (hauteurImage <= 0 || largeurImage <= 0) return 32;
    const long hauteur = long{kLargeurIcone} * hauteurImage / largeurImage;
    return static_cast<int16_t>(std::clamp<long>(hauteur, 16, INT16_MAX));
}

bool AjoutePage(const EntreePage& page) {
    if (Document.Pages.size() >= kNbMaxPages) {
        Alerte("A page list holds at most %zu pages", kNbMaxPages);
        return false;
    }
    const int n = static_cast<int>(Document.Pages.size());
    const int position = (Document.NumPage >= 0 && Document.NumPage < n) ? Document.NumPage : n;
    EntreePage nouvelle = page;
    // Whatever the caller copied, the new page owns no file yet.
    nouvelle.ImagePreparee = nullptr;
    nouvelle.EtatSauve = nullptr;
    nouvelle.DateImagePreparee = 0;
    nouvelle.IconeFaite = 0;
    Document.Pages.insert(Document.Pages.begin() + position, std::move(nouvelle));
    Document.NumPage = static_cast<int16_t>(position);
    Document.Modifie = true;

    const bool charge = ChargePageDocument(position);
    EntreePage& ajoutee = Document.Pages[position];
    ajoutee.TailleIcone = Document.ImagePage && charge ? TailleIcone(Document.ImagePage->hauteur,
                                                                     Document.ImagePage->largeur)
                                                       : TailleIcone(0, 0);
    return charge;
}

bool SupprimePage(bool charge) {
    EntreePage* page = PageCourante();
    if (!page) return false;
    const int position = Document.NumPage;
    if (Document.ImagePage) DisposeOffscreen(Document.ImagePage);
    LibereEtatPage(Document.Etat);
    LiberePage(*page);
    Document.Pages.erase(Document.Pages.begin() + position);
    Document.Modifie = true;
    Document.NumPage = static_cast<int16_t>(std::max(position - 1, 0));
    if (charge && !Document.Pages.empty()) ChargePageDocument(Document.NumPage);
    return true;
}

void OptionsPageModifiees(EntreePage& page) {
    OublieImagePreparee(page);
    Document.Modifie = true;
}
