#include "shell/dirty_exit.h"

#include <cstdio>
#include <ctime>
#include <string>

#include "shell/exit_routines.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace {

std::string FichierMarqueur() {
    return FichierPreferences("RuzoCrsh.txt");
}

bool MarqueurPresent() {
    std::FILE* f = std::fopen(FichierMarqueur().c_str(), "r");
    if (!f) return false;
    std::fclose(f);
    return true;
}

void OublieReglages() {
    for (const char* nom : {"RuzoFiles.Cfg", "RuzoLangue.cfg", "LastFileScan.cfg"})
        std::remove(FichierPreferences(nom).c_str());
    DefinitLangue(1);
}

bool PoseMarqueur() {
    std::FILE* f = std::fopen(FichierMarqueur().c_str(), "w");
    if (!f) return false;
    const std::time_t maintenant = std::time(nullptr);
    char date[64] = {};
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", std::localtime(&maintenant));
    std::fprintf(f, "%s", date);
    return std::fclose(f) == 0;
}

}  // namespace

bool TraiteMarqueurSortieAnormale(const QuestionSortieAnormale& question) {
    if (MarqueurPresent() && question && question()) OublieReglages();
    if (!PoseMarqueur()) {
        Alerte("Can't open result file '%s'", FichierMarqueur().c_str());
        return false;
    }
    EnregistreRoutineSortie(EffaceMarqueurSortieAnormale);
    return true;
}

void EffaceMarqueurSortieAnormale() {
    std::remove(FichierMarqueur().c_str());
}
