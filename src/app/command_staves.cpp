// `ruzo staves IMAGE`: runs staff detection on one page and prints what it
// found, optionally drawing it over the page.
#include <cmath>
#include <cstdio>
#include <memory>

#include "app/cli.h"
#include "app/commands.h"
#include "app/draw_stages.h"
#include "app/staff_overlay.h"
#include "image/page_preparation.h"
#include "records/options.h"
#include "records/page_entry.h"
#include "shell/startup.h"
#include "staff/orientation.h"
#include "staff/page_state.h"
#include "staff/staff_detection.h"
#include "toolbox/png_io.h"
#include "toolbox/progress_console.h"

namespace {

struct ArgumentsPortees {
    std::string image;
    bool json = false;
    std::string dessin;
    std::string etape;  // "lines", "stems" or "beams": draw the per-staff stages
};

int EchantillonsValides(const Portee& p) {
    int n = 0;
    for (const EchantillonLignes& e : p.Echantillons) n += e.Chaine != 0;
    return n;
}

// The threshold as a share of white, the unit a user sets it in.
int PourCentSeuil(int32_t seuil) {
    return static_cast<int>(std::lround(seuil * 100.0 / 196605));
}

void AfficheTexte(bool resultat, const MesuresChargement& mesures, const PeseeExtremites& pesee,
                  int quartsDeTour) {
    const MiseALEchelle& echelle = mesures.echelle;
    if (quartsDeTour == 0)
        std::printf("page orientation: upright");
    else
        std::printf("page orientation: turned %d degrees clockwise to stand upright",
                    90 * quartsDeTour);
    std::printf(" (ink at the staves' starts %lld, at their ends %lld)\n",
                static_cast<long long>(pesee.encreDebuts), static_cast<long long>(pesee.encreFins));
    if (mesures.seuilDeLaPage)
        std::printf("page threshold %d %%: the page's own\n", PourCentSeuil(mesures.seuil.seuil));
    else if (echelle.facteur > 1)
        std::printf("page threshold %d %% on the enlarged grey levels, thin strokes' ridges kept\n",
                    PourCentSeuil(mesures.seuil.seuil));
    else if (mesures.seuil.epaisseurTraits > 0)
        std::printf("page threshold %d %%: strokes %.2f px thick\n",
                    PourCentSeuil(mesures.seuil.seuil), mesures.seuil.epaisseurTraits);
    else
        std::printf("page threshold %d %%: default, no strokes measured\n",
                    PourCentSeuil(mesures.seuil.seuil));
    if (echelle.facteur != 1)
        std::printf("page interline %.2f px: resampled by %.3f\n", echelle.interligne,
                    echelle.facteur);
    else
        std::printf("page interline %.2f px: not resampled\n", echelle.interligne);
    std::printf("page %dx%d: %s, %d staves\n", Document.Etat.CadrePage.right,
                Document.Etat.CadrePage.bottom, resultat ? "found" : "failed",
                Document.Etat.NbPorteesTrouvees());
    std::printf("line thickness %.2f, mean interline %.2f, noise %d, geometry %d\n",
                Document.Etat.EpaisseurLigne, Document.Etat.InterligneMoyenne,
                Document.Etat.QualiteBruit, Document.Etat.QualiteGeometrie);
    for (int i = 0; i < Document.Etat.NbPorteesTrouvees(); ++i) {
        const Portee& p = Document.Etat.Portees[i];
        const Rect& b = p.CadreBande;
        const Rect& l = p.CadreLignes;
        std::printf(
            "staff %d: band %d,%d-%d,%d lines %d,%d-%d,%d, %d lines, interline %.2f, "
            "samples %d/%zu valid\n",
            i + 1, b.top, b.left, b.bottom, b.right, l.top, l.left, l.bottom, l.right,
            p.NbLignesPortee, p.Interligne, EchantillonsValides(p), p.Echantillons.size());
    }
}

void AfficheRect(const char* nom, const Rect& r) {
    std::printf("\"%s\": {\"top\": %d, \"left\": %d, \"bottom\": %d, \"right\": %d}", nom, r.top,
                r.left, r.bottom, r.right);
}

void AfficheJson(bool resultat, const MesuresChargement& mesures, const PeseeExtremites& pesee,
                 int quartsDeTour) {
    const MiseALEchelle& echelle = mesures.echelle;
    std::printf("{\"found\": %s, \"width\": %d, \"height\": %d, ", resultat ? "true" : "false",
                Document.Etat.CadrePage.right, Document.Etat.CadrePage.bottom);
    std::printf("\"page_interline\": %.3f, \"scale\": %.4f, ", echelle.interligne, echelle.facteur);
    std::printf("\"threshold\": %d, \"stroke_thickness\": %.3f, \"quarter_turns\": %d, ",
                mesures.seuil.seuil, mesures.seuil.epaisseurTraits, quartsDeTour);
    std::printf("\"ink_at_staff_starts\": %lld, \"ink_at_staff_ends\": %lld, ",
                static_cast<long long>(pesee.encreDebuts), static_cast<long long>(pesee.encreFins));
    std::printf("\"ink_before_staves\": %lld, \"ink_after_staves\": %lld, ",
                static_cast<long long>(pesee.encreAvant), static_cast<long long>(pesee.encreApres));
    std::printf(
        "\"line_thickness\": %.3f, \"mean_interline\": %.3f, \"noise\": %d, \"geometry\": %d, ",
        Document.Etat.EpaisseurLigne, Document.Etat.InterligneMoyenne, Document.Etat.QualiteBruit,
        Document.Etat.QualiteGeometrie);
    std::printf("\"staves\": [");
    for (int i = 0; i < Document.Etat.NbPorteesTrouvees(); ++i) {
        const Portee& p = Document.Etat.Portees[i];
        std::printf("%s{", i > 0 ? ", " : "");
        AfficheRect("band", p.CadreBande);
        std::printf(", ");
        AfficheRect("lines", p.CadreLignes);
        std::printf(
            ", \"line_count\": %d, \"interline\": %.3f, \"valid_samples\": %d, \"samples\": %zu}",
            p.NbLignesPortee, p.Interligne, EchantillonsValides(p), p.Echantillons.size());
    }
    std::printf("]}\n");
}

void AfficheBilans(const std::vector<BilanPortee>& bilans) {
    for (size_t i = 0; i < bilans.size(); ++i) {
        const BilanPortee& b = bilans[i];
        if (!b.traitee) {
            std::printf("staff %zu: skipped\n", i + 1);
            continue;
        }
        const auto& t = b.tigesParAccroches;
        std::printf(
            "staff %zu: %d vertical lines (%d bar-line candidates), %d beams, "
            "lines by beam count 0:%d 1:%d 2:%d 3:%d 4+:%d\n",
            i + 1, b.lignesVert, b.barres, b.accroches, t[0], t[1], t[2], t[3], t[4]);
    }
}

// The drawing of the stages after detection: staves alone, or what the
// per-staff stages made of each band.
Offscreen DessinDemande(const ArgumentsPortees& a, Offscreen page) {
    if (a.etape.empty()) {
        DessinePortees(page);
        return DupliqueOffscreen(page);
    }
    EtapeDessin etape;
    LitEtapeDessin(a.etape, etape);
    std::vector<BilanPortee> bilans;
    Offscreen dessin = DessineEtapesPortees(page, etape, &bilans);
    if (!a.json) AfficheBilans(bilans);
    return dessin;
}

int ExecutePortees(const ArgumentsPortees& a) {
    if (!Demarrage()) return kEntreeInvalide;
    MesuresChargement mesures;
    Offscreen page = ChargeImageReconnaissance(a.image, &mesures);
    if (!page) return kEntreeInvalide;
    // Recognition turns an upside-down page over first; so does this.
    const PeseeExtremites pesee =
        PeseExtremitesPortees(page, ReglagesCourants(), mesures.quartsDeTour != 0);
    if (pesee.renversee) Rotation180(page);
    const int quartsDeTour = mesures.quartsDeTour + (pesee.renversee ? 2 : 0);
    // Detection consumes the page; the drawing needs it as loaded.
    Offscreen copie = nullptr;
    if (!a.dessin.empty() && !(copie = DupliqueOffscreen(page))) {
        DisposeOffscreen(page);
        return kEntreeInvalide;
    }
    ProgressionConsole progression(a.json);
    DefinitProgression(&progression);
    InstalleInterruptionConsole();
    LibereEtatPage(Document.Etat);
    const bool resultat = RecherchePortees(Document.Etat, ReglagesCourants(), page);
    DefinitProgression(nullptr);

    if (a.json)
        AfficheJson(resultat, mesures, pesee, quartsDeTour);
    else
        AfficheTexte(resultat, mesures, pesee, quartsDeTour);
    int code = resultat ? kSucces : kEchecReconnaissance;
    if (copie) {
        Offscreen dessin = resultat ? DessinDemande(a, copie) : DupliqueOffscreen(copie);
        if (!dessin || !EcritPNG(*dessin, a.dessin)) {
            std::fprintf(stderr, "ruzo: can't write '%s'\n", a.dessin.c_str());
            code = kEntreeInvalide;
        }
        if (dessin) DisposeOffscreen(dessin);
        DisposeOffscreen(copie);
    }
    return code;
}

}  // namespace

void EnregistreCommandePortees(CLI::App& app, int& code) {
    auto args = std::make_shared<ArgumentsPortees>();
    CLI::App* cmd =
        app.add_subcommand("staves", "Find the staves of a page image and describe them");
    cmd->add_option("IMAGE", args->image, "Page image (PNG, JPEG, BMP, TIFF or PICT)")->required();
    cmd->add_flag("--json", args->json, "Print the result as one JSON object");
    cmd->add_option("--draw", args->dessin, "Write the page with the staves drawn over it (PNG)");
    CLI::Option* dessin = cmd->get_option("--draw");
    cmd->add_option("--stage", args->etape,
                    "With --draw: draw each band after line removal (lines), with its vertical "
                    "lines (stems) or with its beams too (beams)")
        ->check(CLI::IsMember({"lines", "stems", "beams"}))
        ->needs(dessin);
    cmd->callback([args, &code] { code = ExecutePortees(*args); });
}
