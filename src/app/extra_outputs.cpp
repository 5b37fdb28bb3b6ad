#include "app/extra_outputs.h"

#include <cstdio>

#include "document/file_names.h"
#include "document/midi_file.h"
#include "document/musicxml.h"

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
