#include "app/extra_outputs.h"

#include <cctype>
#include <cstdio>
#include <initializer_list>

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
                            "Also write MusicXML (default NAME.musicxml; FILE ends in .musicxml, "
                            ".xml, or .mxl for the zip container)")
            ->expected(0, 1);
    CLI::Option* midi =
        commande.add_option("--midi", sorties.midi,
                            "Also write a MIDI file (default NAME.mid; FILE ends in .mid or .midi)")
            ->expected(0, 1);
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

// The option's value may be the next word of the command line: a page image
// taken for the file name would be overwritten, so only the formats' own
// extensions are accepted.
bool ConstateSortiesDemandees(SortiesDemandees& sorties) {
    sorties.musicXmlDemande = sorties.optionMusicXml && sorties.optionMusicXml->count() > 0;
    sorties.midiDemande = sorties.optionMidi && sorties.optionMidi->count() > 0;
    if (sorties.musicXmlDemande && !sorties.musicXml.empty() &&
        !FiniParUneDe(sorties.musicXml, {".musicxml", ".xml", ".mxl"})) {
        Alerte("The MusicXML file '%s' must end in .musicxml, .xml or .mxl", sorties.musicXml.c_str());
        return false;
    }
    if (sorties.midiDemande && !sorties.midi.empty() &&
        !FiniParUneDe(sorties.midi, {".mid", ".midi"})) {
        Alerte("The MIDI file '%s' must end in .mid or .midi", sorties.midi.c_str());
        return false;
    }
    return true;
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
