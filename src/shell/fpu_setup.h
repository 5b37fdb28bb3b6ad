// Floating-point set-up from "FPUPatch.txt" in the settings folder.
//
// The file is a support tool: its first line "MASK aaaa oooo" (two hex words)
// sets the floating-point control word to (current AND aaaa) OR oooo; any
// other first line masks all six floating-point exceptions. Without the file
// nothing changes. On x86-64 the word is the x87 control word, and its
// exception masks and rounding mode are carried over to MXCSR, which is what
// the scalar float arithmetic actually obeys.
#pragma once

#include <cstdint>
#include <string>

struct ReglageFPU {
    uint16_t masqueEt = 0xFFFF;
    uint16_t valeurOu = 0x003F;
};

// Reads the set-up from the file; false when the file does not exist or
// cannot be read. A "MASK" line without two hex words keeps the defaults and
// shows a message.
bool LitReglageFPU(const std::string& chemin, ReglageFPU& reglage);

// Clears pending floating-point exceptions and applies the set-up.
void AppliqueReglageFPU(const ReglageFPU& reglage);

// Start-up step: reads "FPUPatch.txt" from `dossier` and applies it when found.
void RegleFPU(const std::string& dossier);

// The current x87 control word and MXCSR (0 where the processor has none).
uint16_t MotControleX87();
uint32_t RegistreMXCSR();
