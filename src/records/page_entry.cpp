#include "records/page_entry.h"

ListePages Document;

std::string EntreePage::CheminImage() const {
    if (LibPath.empty() || NomFichier.empty() || NomFichier.front() == '/') return NomFichier;
    return LibPath.back() == '/' ? LibPath + NomFichier : LibPath + "/" + NomFichier;
}

EntreePage* PageCourante(ListePages& document) {
    if (document.NumPage < 0 || document.NumPage >= static_cast<int>(document.Pages.size()))
        return nullptr;
    return &document.Pages[document.NumPage];
}

EntreePage* PageCourante() {
    return PageCourante(Document);
}
