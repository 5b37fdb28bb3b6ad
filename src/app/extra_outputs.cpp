#include "app/extra_outputs.h"

#include <cstdio>

#include "document/file_names.h"
#include "document/midi_file.h"
#include "document/musicxml.h"
#include "document/preferences.h"
#include "recognition/document.h"
#include "recognition/page_loading.h"
#include "recognition/page_view_image.h"
#include "toolbox/messages.h"
#include "toolbox/png_io.h"

void AjouteOptionsSorties(CLI::App& commande, SortiesDemandees& sorties, bool avecVues) {
    CLI::Option* xml =
        commande.add_option("--musicxml", sorties.musicXml,
                            "Also write MusicXML (default NAME.musicxml; a name ending in .mxl "
                            "gets the compressed container)")
            ->expected(0, 1);
    CLI::Option* midi =
        commande.add_option("--midi", sorties.midi, "Also write a MIDI file (default NAME.mid)")
            ->expected(0, 1);
    commande.add_option("--tempo", sorties.tempo, "Quarter notes per minute of the MIDI file")
        ->check(CLI::Range(10, 400));
    if (avecVues)
        commande.add_flag("--overlay", sorties.vuesPages,
                          "Also draw each page with what was recognised, as NAME-pN.png");
    sorties.optionMusicXml = xml;
    sorties.optionMidi = midi;
}

void ConstateSortiesDemandees(SortiesDemandees& sorties) {
    sorties.musicXmlDemande = sorties.optionMusicXml && sorties.optionMusicXml->count() > 0;
    sorties.midiDemande = sorties.optionMidi && sorties.optionMidi->count() > 0;
}

bool EcritSortiesDocument(const SortiesDemandees& sorties, const std::string& cheminResultat,
                          const std::string& nomBase) {
    bool ok = true;
    if (sorties.musicXmlDemande) {
        const std::string chemin =
            sorties.musicXml.empty() ? RemplaceExtension(nomBase, "musicxml") : sorties.musicXml;
        if (ExporteMusicXML(cheminResultat, chemin))
            std::printf("MusicXML file: %s\n", chemin.c_str());
        else
            ok = false;
    }
    if (sorties.midiDemande) {
        const std::string chemin =
            sorties.midi.empty() ? RemplaceExtension(nomBase, "mid") : sorties.midi;
        if (ExporteMidi(cheminResultat, chemin, sorties.tempo))
            std::printf("MIDI file: %s\n", chemin.c_str());
        else
            ok = false;
    }
    return ok;
}

namespace {

// NAME-pN.png beside the result file NAME.msb.
std::string CheminVue(const std::string& cheminResultat, int indexPage) {
    std::string base = RemplaceExtension(cheminResultat, "x");
    base.resize(base.size() - 2);
    return base + "-p" + std::to_string(indexPage + 1) + ".png";
}

}  // namespace

bool DessineVuesPages(const SortiesDemandees& sorties, const std::string& cheminResultat,
                      int premiere, int derniere) {
    if (!sorties.vuesPages) return true;
    bool ok = true;
    for (int p = premiere; p <= derniere; ++p) {
        if (!ChargePageDocument(p) || Document.ImagePage == nullptr) {
            Alerte("Can't bring page %d back to draw it", p + 1);
            ok = false;
            continue;
        }
        PixMap* vue = DessineVuePage(*Document.ImagePage, Document.Pages[p].Aires, Prefs);
        if (vue == nullptr) {
            Alerte("Not enough memory to draw page %d", p + 1);
            ok = false;
            continue;
        }
        const std::string chemin = CheminVue(cheminResultat, p);
        if (EcritPNG(*vue, chemin)) {
            std::printf("page view: %s\n", chemin.c_str());
        } else {
            Alerte("Can't write the picture '%s'", chemin.c_str());
            ok = false;
        }
        delete vue;
    }
    return ok;
}
