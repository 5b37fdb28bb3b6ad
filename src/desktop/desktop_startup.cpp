// The marker is handled after the language is known: the question is asked
// in it. The files it may forget are none that start-up has read.
#include "desktop/desktop_startup.h"

#include "document/editor_link.h"
#include "recognition/batch_file.h"
#include "shell/application_path.h"
#include "shell/exit_routines.h"
#include "shell/startup.h"
#include "toolbox/folders.h"
#include "toolbox/music_font.h"

bool DemarrageBureau(const QuestionSortieAnormale& question) {
    if (!Demarrage()) return false;
    CheminFontMusique();
    PrepareDossiersDocuments();
    EcritCheminApplication();
    TraiteMarqueurSortieAnormale(question);
    ChargeLienEditeur();
    EffaceFichierCommande();  // a session starts without pending entries
    return true;
}

void ArretBureau() {
    ExecuteRoutinesSortie();
}
