#include "recognition/prepared_image.h"

#include <sys/stat.h>

#include "image/temporary_files.h"
#include "recognition/document.h"

int64_t DateModificationFichier(const std::string& chemin) {
    struct stat etat {};
    if (stat(chemin.c_str(), &etat) != 0) return 0;
    return int64_t{etat.st_mtim.tv_sec} * 1000000000 + etat.st_mtim.tv_nsec;
}

Offscreen ImagePrepareeEnCache(EntreePage& page) {
    if (!page.ImagePreparee) return nullptr;
    const int64_t date = DateModificationFichier(page.CheminImage());
    if (date == 0 || date != page.DateImagePreparee) {
        OublieImagePreparee(page);
        return nullptr;
    }
    Offscreen image = GetOffscreenFromFile(page.ImagePreparee);
    if (!image) OublieImagePreparee(page);
    return image;
}

void GardeImagePreparee(EntreePage& page, Offscreen image) {
    OublieImagePreparee(page);
    const int64_t date = DateModificationFichier(page.CheminImage());
    if (date == 0 || !image) return;
    bool complet = false;
    page.ImagePreparee = PushOffscreen(image, &complet);
    if (page.ImagePreparee && !complet) EffaceFichierTemporaire(page.ImagePreparee);
    if (page.ImagePreparee) page.DateImagePreparee = date;
}

void OublieImagePreparee(EntreePage& page) {
    EffaceFichierTemporaire(page.ImagePreparee);
    page.DateImagePreparee = 0;
}
