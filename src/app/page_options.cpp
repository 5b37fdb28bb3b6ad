#include "app/page_options.h"

#include <cctype>
#include <charconv>

#include "image/command_areas.h"
#include "records/catalogue.h"
#include "toolbox/messages.h"

namespace {

std::string Simplifie(const std::string& nom) {
    std::string s;
    for (unsigned char c : nom)
        if (c != ' ' && c != '.') s += static_cast<char>(std::tolower(c));
    return s;
}

bool LitNombre(const std::string& texte, long minimum, long maximum, long& valeur) {
    const char* fin = texte.data() + texte.size();
    const auto [p, erreur] = std::from_chars(texte.data(), fin, valeur);
    return erreur == std::errc() && p == fin && valeur >= minimum && valeur <= maximum;
}

int16_t Inversion(const std::string& texte) {
    if (texte == "auto") return kVideoAutomatique;
    return texte == "1" ? kVideoInversee : kVideoNormale;
}

bool NomCorrespond(const char* nom, const std::string& cherche) {
    return nom != nullptr && std::string(nom) != "???" && Simplifie(nom) == cherche;
}

}  // namespace

void AjouteOptionsPage(CLI::App& commande, OptionsPageLigne& o) {
    commande.add_option("--rotate", o.rotations, "Quarter turns clockwise at load, 0 to 3")
        ->check(CLI::Range(0, 3));
    commande.add_option("--invert", o.inversion, "Video inversion: 0 keep, 1 invert, auto decide")
        ->check(CLI::IsMember({"0", "1", "auto"}));
    commande.add_option("--threshold", o.seuil, "Threshold at load with this value (0 to 196605)")
        ->check(CLI::Range(0L, long{kSeuilMax}));
    commande.add_flag("--keep-margins", o.garderMarges, "Keep dark scanner margins");
    commande
        .add_option("--despeckle", o.depoussiere,
                    "Remove specks and holes up to this size (1 to " +
                        std::to_string(int{kNiveauDepoussiereMax}) +
                        "), off, or auto: only on a page found noisy")
        ->check(ValideurDepoussiere());
}

bool OptionsPageDonnees(const OptionsPageLigne& o) {
    return o.rotations || !o.inversion.empty() || o.seuil || o.garderMarges ||
           !o.depoussiere.empty();
}

CLI::Validator ValideurDepoussiere() {
    return CLI::Validator(
        [](std::string& valeur) {
            EntreePage essai;
            if (LitOptionDepoussiere(valeur, essai)) return std::string();
            return "despeckle takes off, auto or 1 to " +
                   std::to_string(int{kNiveauDepoussiereMax}) + ", not '" + valeur + "'";
        },
        "off|auto|LEVEL");
}

bool LitOptionDepoussiere(const std::string& valeur, EntreePage& page) {
    long n = 0;
    if (valeur == "off") {
        page.Depoussiere = kDepoussiereNon;
    } else if (valeur == "auto") {
        page.Depoussiere = kDepoussiereAutomatique;
    } else if (LitNombre(valeur, 1, int{kNiveauDepoussiereMax}, n)) {
        page.Depoussiere = kDepoussiereOui;
        page.NiveauDepoussiere = static_cast<int16_t>(n);
    } else {
        return false;
    }
    return true;
}

void AppliqueOptionsPage(const OptionsPageLigne& o, EntreePage& page) {
    if (o.rotations) page.NbRotations = static_cast<int16_t>(*o.rotations);
    if (!o.inversion.empty()) page.VideoInverse = Inversion(o.inversion);
    if (o.seuil) {
        page.Seuillage = 1;
        page.Seuil = static_cast<int32_t>(*o.seuil);
    }
    if (o.garderMarges) page.MangeMarge = 0;
    if (!o.depoussiere.empty()) LitOptionDepoussiere(o.depoussiere, page);
}

bool ChangeOptionPage(EntreePage& page, const std::string& option, const std::string& valeur) {
    long n = 0;
    if (option == "rotate") {
        if (!LitNombre(valeur, 0, 3, n)) {
            Alerte("rotate takes 0, 1, 2 or 3 (quarter turns), not '%s'", valeur.c_str());
            return false;
        }
        page.NbRotations = static_cast<int16_t>(n);
    } else if (option == "invert") {
        if (valeur != "0" && valeur != "1" && valeur != "auto") {
            Alerte("invert takes 0, 1 or auto, not '%s'", valeur.c_str());
            return false;
        }
        page.VideoInverse = Inversion(valeur);
    } else if (option == "threshold") {
        if (valeur == "off") {
            page.Seuillage = 0;
        } else if (LitNombre(valeur, 0, kSeuilMax, n)) {
            page.Seuillage = 1;
            page.Seuil = static_cast<int32_t>(n);
        } else {
            Alerte("threshold takes off or 0 to %d, not '%s'", kSeuilMax, valeur.c_str());
            return false;
        }
    } else if (option == "keep-margins") {
        if (valeur != "yes" && valeur != "no") {
            Alerte("keep-margins takes yes or no, not '%s'", valeur.c_str());
            return false;
        }
        page.MangeMarge = valeur == "no";
    } else if (option == "despeckle") {
        if (!LitOptionDepoussiere(valeur, page)) {
            Alerte("despeckle takes off, auto or 1 to %d, not '%s'", int{kNiveauDepoussiereMax},
                   valeur.c_str());
            return false;
        }
    } else {
        Alerte("Unknown page option '%s': rotate, invert, threshold, keep-margins or despeckle",
               option.c_str());
        return false;
    }
    return true;
}

std::string TexteDepoussiere(const EntreePage& page) {
    if (page.Depoussiere == kDepoussiereNon) return "off";
    if (page.Depoussiere == kDepoussiereAutomatique) return "auto";
    return std::to_string(page.NiveauDepoussiere);
}

std::string TexteInversion(int16_t videoInverse) {
    if (videoInverse == kVideoAutomatique) return "auto";
    return videoInverse == kVideoNormale ? "0" : "1";
}

bool CodeSymbole(const std::string& texte, uint16_t& code) {
    long n = 0;
    const bool nombre = LitNombre(texte, 1, UINT16_MAX, n);
    const std::string cherche = Simplifie(texte);
    for (uint16_t c : CodesCatalogue()) {
        if ((nombre && c == n) || (!nombre && (NomCorrespond(NomCaractere(c, true), cherche) ||
                                               NomCorrespond(NomCaractere(c, false), cherche)))) {
            code = c;
            return true;
        }
    }
    Alerte("'%s' is not a symbol of the catalogue (a code such as 207 or a name such as Noire)",
           texte.c_str());
    return false;
}

bool AireDepuisArguments(const std::string& genre, int haut, int gauche, int bas, int droite,
                         AireCommande& aire) {
    uint16_t code = 0;
    if (genre == "erase") {
        aire.Commande = kAireEfface;
    } else if (genre == "symbol") {
        aire.Commande = kAireSymbole;
    } else if (genre.rfind("symbol=", 0) == 0) {
        if (!CodeSymbole(genre.substr(7), code)) return false;
        aire.Commande = kAireSymbole;
    } else {
        Alerte("An area is erase, symbol or symbol=CODE, not '%s'", genre.c_str());
        return false;
    }
    for (int v : {haut, gauche, bas, droite}) {
        if (v < 0 || v > INT16_MAX) {
            Alerte("Area coordinates run from 0 to %d, not %d", INT16_MAX, v);
            return false;
        }
    }
    if (haut >= bas || gauche >= droite) {
        Alerte(
            "The area %d,%d,%d,%d is inverted or empty: give TOP LEFT BOTTOM RIGHT with top "
            "above bottom and left before right",
            haut, gauche, bas, droite);
        return false;
    }
    aire.Aire = NormaliseAire(haut, gauche, bas, droite);
    aire.CommandeParam = code;
    return true;
}
