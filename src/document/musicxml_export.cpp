#include "document/music_file.h"
#include "document/musicxml.h"
#include "document/result_file_reader.h"
#include "toolbox/messages.h"

bool ExporteMusicXML(const std::string& cheminResultat, const std::string& chemin) {
    DocumentMusical document;
    if (!LitFichierResultat(cheminResultat, document)) return false;
    EgaliseNombreMesures(document);
    if (!AligneRythme(document)) {
        Alerte("The MusicXML file '%s' was not written: cancelled", chemin.c_str());
        return false;
    }
    return EcritMusicXML(document, chemin);
}
