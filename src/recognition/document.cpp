#include "recognition/document.h"

#include "image/temporary_files.h"

EntreePage NouvelleEntreePage(const std::vector<EntreePage>& pages) {
    if (pages.empty()) return EntreePage{};
    const EntreePage& derniere = pages.back();
    EntreePage page;
    page.VolRefNum = derniere.VolRefNum;
    page.VRefNum = derniere.VRefNum;
    page.LibPath = derniere.LibPath;
    page.NomFichier = derniere.NomFichier;
    page.NumPage = derniere.NumPage;
    page.ForceEchellePdf = derniere.ForceEchellePdf;
    page.NbRotations = derniere.NbRotations;
    page.Seuillage = derniere.Seuillage;
    page.Seuil = derniere.Seuil;
    page.MangeMarge = derniere.MangeMarge;
    page.Depoussiere = derniere.Depoussiere;
    page.NiveauDepoussiere = derniere.NiveauDepoussiere;
    return page;
}

void LiberePage(EntreePage& page) {
    EffaceFichierTemporaire(page.ImagePreparee);
    EffaceFichierTemporaire(page.EtatSauve);
    page.DateImagePreparee = 0;
    page.IconeFaite = 0;
}

void FermeDocument() {
    for (EntreePage& page : Document.Pages) LiberePage(page);
    if (Document.ImagePage) DisposeOffscreen(Document.ImagePage);
    Document = ListePages{};
}
