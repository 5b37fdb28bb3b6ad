// MusicXML and MIDI from a result file: read back and aligned as for the
// music file, then written.
#include "document/midi_file.h"
#include "document/music_file.h"
#include "document/musicxml.h"
#include "document/result_file_reader.h"
#include "toolbox/messages.h"

namespace {

bool LitEtAligne(const std::string& cheminResultat, const std::string& chemin,
                 DocumentMusical& document) {
    if (!LitFichierResultat(cheminResultat, document)) return false;
    EgaliseNombreMesures(document);
    if (!AligneRythme(document)) {
        Alerte("The file '%s' was not written: cancelled", chemin.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool ExporteMusicXML(const std::string& cheminResultat, const std::string& chemin) {
    DocumentMusical document;
    return LitEtAligne(cheminResultat, chemin, document) && EcritMusicXML(document, chemin);
}

bool ExporteMidi(const std::string& cheminResultat, const std::string& chemin, int tempo) {
    DocumentMusical document;
    return LitEtAligne(cheminResultat, chemin, document) && EcritMidi(document, chemin, tempo);
}
