// Small helpers shared by the image tests: bitmaps drawn from text and a
// scratch folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "image/offscreen.h"

// One character a pixel: '#' black, '.' white, 'y' light yellow, 'r' red.
Offscreen BitmapDepuisTexte(const std::vector<std::string>& lignes);
std::vector<std::string> TexteDepuisBitmap(Offscreen o);

// A new empty folder under the system's temporary folder, removed with its
// files when the object goes.
class DossierEssai {
  public:
    DossierEssai();
    ~DossierEssai();
    DossierEssai(const DossierEssai&) = delete;
    DossierEssai& operator=(const DossierEssai&) = delete;

    const std::string& Chemin() const { return chemin_; }
    std::string Fichier(const std::string& nom) const { return chemin_ + "/" + nom; }
    void Ecrit(const std::string& nom, const std::vector<unsigned char>& octets) const;

  private:
    std::string chemin_;
};

// Loads `octets` as file `nom` of `dossier` with `charge` and expects a
// refusal with an alert holding `texte`.
void AttendRefus(const DossierEssai& dossier, const std::string& nom,
                 const std::vector<unsigned char>& octets,
                 const std::function<Offscreen(const std::string&)>& charge,
                 const std::string& texte);

// A grey PNG written by the library: white, with a black bar across rows
// [20, 30), stored uncompressed. With `lignes` below the height only that
// many rows are written, then flushed: a file whose header claims more than
// it holds.
bool EcritPNGGris(const std::string& chemin, int largeur, int hauteur, int lignes,
                  bool entrelace = false);
