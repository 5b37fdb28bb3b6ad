#include "app/extra_outputs.h"

#include <cctype>
#include <cstdio>
#include <initializer_list>
#include <memory>

#include "document/file_names.h"
#include "document/midi_file.h"
#include "document/musicxml.h"
#include "document/preferences.h"
#include "recognition/document.h"
#include "recognition/page_loading.h"
#include "recognition/page_view_image.h"
#include "toolbox/messages.h"
#include "toolbox/png_io.h"
#include "toolbox/progress.h"

void AjouteOptionsSorties(CLI::App& commande, SortiesDemandees& sorties, bool avecVues) {
    // Flags whose file name comes only after "=": a name taken from the next
    // word could be a page image, which would then be written over.
    CLI::Option* xml = commande.add_flag(
        "--musicxml{}", sorties.musicXml,
        "Also write MusicXML (NAME.musicxml; --musicxml=FILE ending in .musicxml, .xml, or .mxl "
        "for the zip container)");
    CLI::Option* midi =
        commande.add_flag("--midi{}", sorties.midi,
                          "Also write a MIDI file (NAME.mid; --midi=FILE ending in .mid or .midi)");
    commande.add_option("--tempo", sorties.tempo, "Quarter notes per minute of the MIDI file")
        ->check(CLI::Range(10, 400));
    if (avecVues)
        commande.add_flag("--overlay", sorties.vuesPages,
                          "Also draw each page with what was recognised, as NAME-pN.png");
    sorties.optionMusicXml = xml;
    sorties.optionMidi = midi;
}

namespace {

bool FiniParUneDe(const std::string& chemin, std::initializer_list<const char*> extensions) {
    std::string minuscules = chemin;
    for (char& c : minuscules) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* e : extensions) {
        const std::string fin(e);
        if (minuscules.size() > fin.size() &&
            minuscules.compare(minuscules.size() - fin.size(), fin.size(), fin) == 0)
            return true;
    }
    return false;
}

}  // namespace

// A file name of the wrong format is refused rather than written in another.
bool ConstateSortiesDemandees(SortiesDemandees& sorties) {
    sorties.musicXmlDemande = sorties.optionMusicXml && sorties.optionMusicXml->count() > 0;
    sorties.midiDemande = sorties.optionMidi && sorties.optionMidi->count() > 0;
    if (sorties.musicXmlDemande && !sorties.musicXml.empty() &&
        !FiniParUneDe(sorties.musicXml, {".musicxml", ".xml", ".mxl"})) {
        Alerte("The MusicXML file '%s' must end in .musicxml, .xml or .mxl",
               sorties.musicXml.c_str());
        return false;
    }
    if (sorties.midiDemande && !sorties.midi.empty() &&
        !FiniParUneDe(sorties.midi, {".mid", ".midi"})) {
        Alerte("The MIDI file '%s' must end in .mid or .midi", sorties.midi.c_str());
        return false;
    }
    return true;
}

std::string LivraisonSorties::Fichier(const char* nature, const std::string& chemin) {
    const std::string provisoire = ensemble_.Provisoire(chemin);
    if (!provisoire.empty()) annonces_.emplace_back(nature, chemin);
    return provisoire;
}

bool LivraisonSorties::Livre() {
    if (!ensemble_.Valide()) return false;
    for (const auto& [nature, chemin] : annonces_)
        std::printf(TexteLangue("%s: %s\n"), nature.c_str(), chemin.c_str());
    annonces_.clear();
    return true;
}

bool EcritSortiesDocument(const SortiesDemandees& sorties, const std::string& cheminResultat,
                          const std::string& nomBase, LivraisonSorties& livraison) {
    if (sorties.musicXmlDemande) {
        const std::string chemin = livraison.Fichier(
            TexteLangue("MusicXML file"),
            sorties.musicXml.empty() ? RemplaceExtension(nomBase, "musicxml") : sorties.musicXml);
        if (chemin.empty() || !ExporteMusicXML(cheminResultat, chemin)) return false;
    }
    if (sorties.midiDemande) {
        const std::string chemin = livraison.Fichier(
            TexteLangue("MIDI file"),
            sorties.midi.empty() ? RemplaceExtension(nomBase, "mid") : sorties.midi);
        if (chemin.empty() || !ExporteMidi(cheminResultat, chemin, sorties.tempo)) return false;
    }
    return true;
}

namespace {

// NAME-pN.png beside the result file NAME.msb.
std::string CheminVue(const std::string& nomBase, int indexPage) {
    std::string base = RemplaceExtension(nomBase, "x");
    base.resize(base.size() - 2);
    return base + "-p" + std::to_string(indexPage + 1) + ".png";
}

}  // namespace

bool DessineVuesPages(const SortiesDemandees& sorties, const std::string& nomBase,
                      const std::vector<int>& pages, LivraisonSorties& livraison) {
    if (!sorties.vuesPages) return true;
    for (int p : pages) {
        if (TestAnnulation()) return false;
        if (!ChargePageDocument(p) || Document.ImagePage == nullptr) {
            Alerte("Can't bring page %d back to draw it", p + 1);
            return false;
        }
        std::unique_ptr<PixMap> vue(
            DessineVuePage(*Document.ImagePage, Document.Pages[p].Aires, Prefs));
        if (!vue) {
            Alerte("Not enough memory to draw page %d", p + 1);
            return false;
        }
        const std::string final = CheminVue(nomBase, p);
        const std::string chemin = livraison.Fichier(TexteLangue("page view"), final);
        if (chemin.empty() || !EcritPNG(*vue, chemin)) {
            Alerte("Can't write the picture '%s'", final.c_str());
            return false;
        }
    }
    return true;
}
