#include "records/page_entry.h"

ListePages Document;

std::string EntreePage::CheminImage() const {
    if (LibPath.empty() || NomFichier.empty() || NomFichier.front() == '/') return NomFichier;
    return LibPath.back() == '/' ? LibPath + NomFichier : LibPath + "/" + NomFichier;
}

EntreePage* PageCourante() {
    if (Document.NumPage < 0 || Document.NumPage >= static_cast<int>(Document.Pages.size()))
        return nullptr;
    return &Document.Pages[Document.NumPage];
}
