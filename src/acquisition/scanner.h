// The scanners: devices reached through SANE, the Linux scanner interface.
//
// The interface is started once per process, on first use, and stopped at
// exit. A source is a device name as SANE gives it ("test:0", "epson2:...").
// One acquisition opens the source, sets the resolution, the mode (gray or
// line art) and the paper source, reads one image into memory, saves it as
// a BMP file and closes the source. The user's default source is kept in
// "RuzoScanner.cfg" in the preferences folder.
#pragma once

#include <string>
#include <vector>

struct SourceScanner {
    std::string nom;  // what --device takes
    std::string fabricant, modele, genre;
};

// Starts SANE when it is not started yet; false with a message when it can't be.
bool InitialiseScanner();

// Once SANE has loaded its backends (devices listed or opened): makes SANE
// stop at exit before the backends' own objects are destroyed.
void ArreteScannerAvantSesModules();

// A device that did not stop when told to keeps a thread of SANE waiting
// for ever: from then on SANE is neither used nor stopped in this process.
void MarqueScannerBloque();
bool ScannerBloque();

// The devices SANE finds now; empty when none (or SANE can't start).
std::vector<SourceScanner> ListeSources();

// The source chosen by the user, kept between runs ("" when none).
std::string SourceMemorisee();

// Makes `nom` the user's source and clears the chosen acquire plug-in, so
// that the scanner is used; saves both. False with a message on failure.
bool ChoisitSource(const std::string& nom);

// The default source: the remembered one when it is present, else the first
// device found; "" when there is none.
std::string SourceParDefaut();

// One line describing a source ("" for the default one) for the plug-in
// list: its maker, model and kind with the SANE version; the language's
// text for "no source" or "no scanner interface" otherwise.
std::string DecritSource(const std::string& nom = "");

enum class ModeNumerisation { Gris, Trait };

struct ReglagesNumerisation {
    std::string source;    // "" for the default source
    int resolution = 300;  // dots per inch, the nearest the device offers
    ModeNumerisation mode = ModeNumerisation::Trait;
    std::string alimentation;  // paper source ("Flatbed", ...); "" the device's
};

// What the scan loop checks of an acquired image.
struct ImageAcquise {
    int bits = -1;       // bits per pixel of the saved file
    int resolution = 0;  // horizontal, dots per inch
};

// Scans one image into the BMP file `chemin`. The progress window shows the
// transfer and its cancel stops it. False when nothing was saved: failures
// are shown (mapped through the condition table), a cancel is silent.
bool AcquiertAvecScanner(const ReglagesNumerisation& reglages, const std::string& chemin,
                         ImageAcquise& image);
