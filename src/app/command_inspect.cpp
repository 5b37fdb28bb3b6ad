// `ruzo inspect IMAGE [--staff N] [--json] [--draw OUT.png] [--notes]`: the
// symbol candidates of each staff of a page as extraction found them, and
// the notes the note stage made of them, for checking the matchers and the
// note rules and tuning their thresholds.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "app/cli.h"
#include "app/commands.h"
#include "app/inspect_drawing.h"
#include "app/inspect_notes.h"
#include "app/inspect_ties.h"
#include "image/page_preparation.h"
#include "recognition/document.h"
#include "recognition/inspection.h"
#include "records/catalogue.h"
#include "records/options.h"
#include "shell/startup.h"
#include "toolbox/json_text.h"
#include "toolbox/png_io.h"
#include "toolbox/progress_console.h"

namespace {

struct ArgumentsInspect {
    std::string image;
    int portee = 0;  // 1-based, 0 = every staff
    bool json = false;
    std::string dessin;
    int minimum = -1;          // only candidates scoring above it
    std::string bandes;        // prefix of the band files
    bool notesSeules = false;  // the notes without the candidates
};

bool Montre(const ArgumentsInspect& a, const CaractereProbable& k) {
    return !a.notesSeules && k.Prob > a.minimum;
}

// Only the candidates the options ask for.
void FiltreCandidats(const ArgumentsInspect& a, InspectionPage& inspection) {
    for (PorteeInspectee& p : inspection.portees) {
        std::erase_if(p.candidats,
                      [&](const CandidatInspecte& c) { return !Montre(a, c.caractere); });
    }
}

void EcritTexte(const InspectionPage& inspection) {
    std::printf("%d staves\n", inspection.nbPortees);
    for (const PorteeInspectee& p : inspection.portees) {
        std::printf(
            "staff %d: interline %.2f, top line row %.1f, font size %d, %d components "
            "(stack up to %d, %d cut short), %zu candidates, %.1f ms\n",
            p.index + 1, p.interligne, p.ligneHaut, p.tailleSymboles, p.nbGraphes, p.pileMaximum,
            p.composantesTronquees, p.candidats.size(), p.millisecondes);
        for (const CandidatInspecte& c : p.candidats) {
            const CaractereProbable& k = c.caractere;
            std::printf("  %5d %-22s %6d  row %4d col %5d  component %4d%s\n", k.Code,
                        NomCaractere(k.Code), k.Prob, k.Position.v, k.Position.h, k.NumGraphe,
                        k.Actif ? "" : "  (inactive)");
        }
        EcritNotesTexte(p);
        EcritLiaisonsTexte(p);
        EcritMarquesTexte(p);
    }
}

const char* NomTypeClef(uint16_t type) {
    switch (type) {
        case 1:
            return "Sol";
        case 2:
            return "Fa";
        case 3:
            return "Ut";
        default:
            return "none";
    }
}

void EcritClef(const Clef& c) {
    std::printf("clef %s", NomTypeClef(c.TypeClef));
    if (c.TypeClef == 3 && c.LigneClef != 0 && c.LigneClef != 3)
        std::printf(" on line %u", c.LigneClef);
    if (c.TypeClef != 0) std::printf(" score %d at row %d col %d", c.ProbClef, c.PosY, c.PosX);
    std::printf(", key %u sharps %u flats %u naturals", c.NbDiese, c.NbBemol, c.NbBecarre);
    const int n = std::min(c.NbDiese + c.NbBemol + c.NbBecarre, 8);
    for (int k = 0; k < n; ++k) {
        const AlterationArmature& a = c.Alterations[k];
        std::printf("%s%s@%d", k == 0 ? " (" : " ",
                    a.Code == 1   ? "sharp"
                    : a.Code == 3 ? "flat"
                                  : "natural",
                    a.Position);
    }
    std::printf("%s, time %d/%d%s, ends col %d", n > 0 ? ")" : "", c.Numerateur, c.Denominateur,
                c.NotationAbregee ? " (sign)" : "", c.FinX);
}

const char* NomMarque(uint8_t marque) {
    static const char* const noms[] = {"", "DebutMusique", "FinMusique", "DebutRepetition",
                                       "FinRepetition"};
    return marque < 5 ? noms[marque] : "?";
}

void EcritMesures(const StructurePortee& p) {
    std::printf("staff %d: %zu boundaries, first measure %d:", p.index + 1, p.mesures.size(),
                p.premiereMesure + 1);
    for (const Mesure& m : p.mesures) {
        std::printf(" %d", m.PosXMesure);
        for (uint8_t marque : m.Marques)
            if (marque != 0) std::printf("[%s]", NomMarque(marque));
        if (m.RepetePrecedente) std::printf("[repeat-previous]");
        if (m.Clef.TypeClef != 0 || m.Clef.FinX != 0) {
            std::printf("{");
            EcritClef(m.Clef);
            std::printf("}");
        }
    }
    for (const Clef& c : p.changementsClef) {
        std::printf(" {change: ");
        EcritClef(c);
        std::printf("}");
    }
    std::printf("\n");
}

// Start clefs, systems with their parts and braces, and measure boundaries.
void EcritStructure(const InspectionPage& inspection) {
    for (const StructurePortee& p : inspection.structure) {
        std::printf("staff %d start: ", p.index + 1);
        EcritClef(p.clef);
        std::printf("\n");
    }
    std::printf("%d systems, %d parts, first-group indent %.2f\n", inspection.nbSystemes,
                inspection.nbPorteesParSysteme, inspection.retraitPremierGroupe);
    for (int systeme = 0; systeme < inspection.nbSystemes; ++systeme) {
        std::printf("system %d:", systeme + 1);
        for (const StructurePortee& p : inspection.structure)
            if (p.numSysteme == systeme && !p.tablature)
                std::printf(" staff %d part %d%s", p.index + 1, p.indexPortee + 1,
                            p.accolade ? " brace" : "");
        std::printf("\n");
    }
    for (const ChiffrageVerifie& v : inspection.chiffrages) {
        const bool change =
            v.NumerateurRetenu != v.NumerateurLu || v.DenominateurRetenu != v.DenominateurLu;
        std::printf("time %d/%d read, %d/%d kept: of %d measures that can tell, %d hold %d/%d",
                    v.NumerateurLu, v.DenominateurLu, v.NumerateurRetenu, v.DenominateurRetenu,
                    v.MesuresComptees, v.MesuresLues, v.NumerateurLu, v.DenominateurLu);
        if (change)
            std::printf(" and %d hold %d/%d", v.MesuresRetenues, v.NumerateurRetenu,
                        v.DenominateurRetenu);
        std::printf("\n");
    }
    for (const StructurePortee& p : inspection.structure)
        if (p.tablature) std::printf("staff %d: tablature\n", p.index + 1);
    for (const StructurePortee& p : inspection.structure)
        if (!p.tablature) EcritMesures(p);
}

void EcritJSON(const ArgumentsInspect& a, const InspectionPage& inspection) {
    std::printf("{\"image\": %s, \"recognised\": %s, \"staves\": %d, \"inspected\": [",
                ChaineJSON(a.image).c_str(), inspection.reconnue ? "true" : "false",
                inspection.nbPortees);
    bool premiere = true;
    for (const PorteeInspectee& p : inspection.portees) {
        std::printf(
            "%s\n {\"staff\": %d, \"interline\": %.3f, \"top_line_row\": %.2f, "
            "\"font_size\": %d, \"band\": [%d, %d, %d, %d], \"milliseconds\": %.3f, "
            "\"components\": %d, \"stack_peak\": %d, \"components_cut_short\": %d, "
            "\"candidates\": [",
            premiere ? "" : ",", p.index + 1, p.interligne, p.ligneHaut, p.tailleSymboles,
            p.cadreBande.top, p.cadreBande.left, p.cadreBande.bottom, p.cadreBande.right,
            p.millisecondes, p.nbGraphes, p.pileMaximum, p.composantesTronquees);
        premiere = false;
        bool premierCandidat = true;
        for (const CandidatInspecte& c : p.candidats) {
            const CaractereProbable& k = c.caractere;
            std::printf(
                "%s\n  {\"code\": %d, \"name\": %s, \"score\": %d, \"row\": %d, "
                "\"column\": %d, \"component\": %d, \"box\": [%d, %d, %d, %d], "
                "\"active\": %s}",
                premierCandidat ? "" : ",", k.Code, ChaineJSON(NomCaractere(k.Code)).c_str(),
                k.Prob, k.Position.v, k.Position.h, k.NumGraphe, c.cadreGraphe.top,
                c.cadreGraphe.left, c.cadreGraphe.bottom, c.cadreGraphe.right,
                k.Actif ? "true" : "false");
            premierCandidat = false;
        }
        std::printf("], \"notes\": ");
        EcritNotesJSON(p);
        EcritLiaisonsJSON(p);
        EcritMarquesJSON(p);
        std::printf("}");
    }
    std::printf("]}\n");
}

int ExecuteInspect(const ArgumentsInspect& a) {
    if (!Demarrage()) return kEntreeInvalide;
    Offscreen page = ChargeImageReconnaissance(a.image);
    if (!page) return kEntreeInvalide;
    Document.Pages.push_back(EntreePage{});
    Document.Pages.back().NomFichier = a.image;
    Document.ImagePage = page;

    ProgressionConsole progression(true);
    DefinitProgression(&progression);
    InstalleInterruptionConsole();
    InspectionPage inspection;
    InspectePage(Document.Etat, ReglagesCourants(), a.image, a.portee - 1, inspection);
    DefinitProgression(nullptr);

    if (a.portee > inspection.nbPortees) {
        std::fprintf(stderr, "ruzo: there is no staff %d on this page (%d staves)\n", a.portee,
                     inspection.nbPortees);
        return kErreurUsage;
    }
    FiltreCandidats(a, inspection);
    if (a.json)
        EcritJSON(a, inspection);
    else {
        EcritTexte(inspection);
        EcritStructure(inspection);
    }

    // The bands as extraction saw them, for reproducing a staff on its own.
    if (!a.bandes.empty()) {
        for (const PorteeInspectee& p : inspection.portees) {
            if (!p.bande) continue;
            const std::string chemin = a.bandes + "-" + std::to_string(p.index + 1) + ".png";
            if (!EcritPNG(*p.bande, chemin)) {
                std::fprintf(stderr, "ruzo: can't write '%s'\n", chemin.c_str());
                return kEntreeInvalide;
            }
        }
    }
    if (!a.dessin.empty()) {
        std::unique_ptr<PixMap> dessin(DessineInspection(inspection));
        if (!dessin) {
            std::fprintf(stderr, "ruzo: nothing to draw\n");
            return kEchecReconnaissance;
        }
        if (!EcritPNG(*dessin, a.dessin)) {
            std::fprintf(stderr, "ruzo: can't write '%s'\n", a.dessin.c_str());
            return kEntreeInvalide;
        }
    }
    return inspection.reconnue ? kSucces : kEchecReconnaissance;
}

}  // namespace

void EnregistreCommandeInspect(CLI::App& app, int& code) {
    auto args = std::make_shared<ArgumentsInspect>();
    CLI::App* cmd = app.add_subcommand(
        "inspect", "Show the symbol candidates found on each staff of a page image");
    cmd->add_option("IMAGE", args->image, "Page image (PNG, JPEG, BMP, TIFF or PICT)")->required();
    cmd->add_option("--staff", args->portee, "Only this staff (1 = top of the page)")
        ->check(CLI::Range(1, 1000));
    cmd->add_flag("--json", args->json, "Write JSON instead of text");
    cmd->add_option("--min", args->minimum, "Only candidates scoring above this");
    cmd->add_option("--save-bands", args->bandes,
                    "Write each staff band as extraction saw it to PREFIX-N.png");
    cmd->add_option("--draw", args->dessin,
                    "Draw the staves with their candidates and notes as PNG");
    cmd->add_flag("--notes", args->notesSeules, "Only the notes, not the candidates");
    cmd->callback([args, &code] { code = ExecuteInspect(*args); });
}
