#include "shell/fpu_setup.h"

#include <cstdio>
#include <cstring>

#include "toolbox/messages.h"

namespace {

constexpr int kLongueurLigneMax = 250;

#if defined(__x86_64__)
// x87 control word: exception masks in bits 0-5, rounding in bits 10-11.
// MXCSR: flags in bits 0-5, masks in bits 7-12, rounding in bits 13-14.
constexpr uint16_t kMasquesX87 = 0x003F;
constexpr uint16_t kArrondiX87 = 0x0C00;
constexpr uint32_t kDrapeauxMXCSR = 0x003F;
constexpr uint32_t kMasquesMXCSR = 0x1F80;
constexpr uint32_t kArrondiMXCSR = 0x6000;

void EcritMotControleX87(uint16_t mot) {
    __asm__ volatile("fldcw %0" : : "m"(mot));
}
void EcritRegistreMXCSR(uint32_t valeur) {
    __asm__ volatile("ldmxcsr %0" : : "m"(valeur));
}
#endif

}  // namespace

uint16_t MotControleX87() {
#if defined(__x86_64__)
    uint16_t mot = 0;
    __asm__ volatile("fnstcw %0" : "=m"(mot));
    return mot;
#else
    return 0;
#endif
}

uint32_t RegistreMXCSR() {
#if defined(__x86_64__)
    uint32_t valeur = 0;
    __asm__ volatile("stmxcsr %0" : "=m"(valeur));
    return valeur;
#else
    return 0;
#endif
}

bool LitReglageFPU(const std::string& chemin, ReglageFPU& reglage) {
    reglage = ReglageFPU{};
    std::FILE* f = std::fopen(chemin.c_str(), "rb");
    if (!f) return false;
    char ligne[kLongueurLigneMax + 1] = {};
    const bool lu = std::fgets(ligne, sizeof ligne, f) != nullptr;
    std::fclose(f);
    if (!lu || std::strncmp(ligne, "MASK", 4) != 0) return true;
    unsigned short et = 0, ou = 0;
    if (std::strlen(ligne) < 5 || std::sscanf(ligne + 5, "%hx %hx", &et, &ou) != 2) {
        Alerte("'%s': the MASK line needs two hexadecimal words; all exceptions are masked",
               chemin.c_str());
        return true;
    }
    reglage.masqueEt = et;
    reglage.valeurOu = ou;
    return true;
}

void AppliqueReglageFPU(const ReglageFPU& reglage) {
#if defined(__x86_64__)
    __asm__ volatile("fnclex");
    const uint16_t mot =
        static_cast<uint16_t>((MotControleX87() & reglage.masqueEt) | reglage.valeurOu);
    EcritMotControleX87(mot);
    uint32_t mxcsr = RegistreMXCSR() & ~(kDrapeauxMXCSR | kMasquesMXCSR | kArrondiMXCSR);
    mxcsr |= static_cast<uint32_t>(mot & kMasquesX87) << 7;
    mxcsr |= static_cast<uint32_t>(mot & kArrondiX87) << 3;
    EcritRegistreMXCSR(mxcsr);
#else
    (void)reglage;
#endif
}

void RegleFPU(const std::string& dossier) {
    ReglageFPU reglage;
    if (LitReglageFPU(dossier + "/FPUPatch.txt", reglage)) AppliqueReglageFPU(reglage);
}
