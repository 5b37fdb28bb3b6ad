#include "shell/language_file.h"

#include <cstdint>
#include <cstdio>

#include "toolbox/file_replace.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace {

int MotGrosBoutiste(const uint8_t* octets) {
    return static_cast<int16_t>(static_cast<uint16_t>((octets[0] << 8) | octets[1]));
}

}  // namespace

bool LitFichierLangue(const std::string& chemin, int& langue) {
    std::FILE* f = std::fopen(chemin.c_str(), "rb");
    if (!f) return false;
    uint8_t octets[4] = {};
    const size_t lus = std::fread(octets, 1, sizeof octets, f);
    std::fclose(f);
    langue = 1;
    if (lus == sizeof octets && MotGrosBoutiste(octets) == kMarqueurLangue)
        langue = MotGrosBoutiste(octets + 2);
    return true;
}

bool EcritFichierLangue(const std::string& chemin, int langue) {
    const std::string octets = {
        static_cast<char>(kMarqueurLangue >> 8), static_cast<char>(kMarqueurLangue & 0xFF),
        static_cast<char>((langue >> 8) & 0xFF), static_cast<char>(langue & 0xFF)};
    return RemplaceFichier(chemin, octets);
}

std::string FichierLangue() {
    return FichierPreferences("RuzoLangue.cfg");
}

void ChargeLangue() {
    int langue = 1;
    if (!LitFichierLangue(FichierLangue(), langue))
        LitFichierLangue(FichierPreferences("Langue.cfg"), langue);
    DefinitLangue(langue);
}
