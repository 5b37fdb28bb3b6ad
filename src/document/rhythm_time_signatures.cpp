#include <algorithm>

#include "document/rhythm.h"
#include "toolbox/progress.h"

namespace {

// A time signature with its length; an observed measure has only a length.
struct Signature {
    int16_t Numerateur = 0;
    int16_t Denominateur = 0;
    int32_t Longueur = 0;
};

Signature SignatureDe(int numerateur, int denominateur) {
    return Signature{static_cast<int16_t>(numerateur), static_cast<int16_t>(denominateur),
                     LongueurMesure(numerateur, denominateur)};
}

Signature SignatureDepart(const ClefDoc& clef) {
    if (clef.Numerateur == 0 || clef.Denominateur == 0) return SignatureDe(4, 4);
    return SignatureDe(clef.Numerateur, clef.Denominateur);
}

// The first candidate with the most candidates of the same positive length;
// -1 when no length is positive.
int Vote(const std::vector<Signature>& candidats) {
    int gagnant = -1, meilleursVotes = 0;
    for (size_t c = 0; c < candidats.size(); ++c) {
        if (candidats[c].Longueur <= 0) continue;
        const auto votes =
            std::count_if(candidats.begin(), candidats.end(),
                          [&](const Signature& s) { return s.Longueur == candidats[c].Longueur; });
        if (votes > meilleursVotes) {
            meilleursVotes = static_cast<int>(votes);
            gagnant = static_cast<int>(c);
        }
    }
    return gagnant;
}

// An observed length becomes a signature in sixteenths, reduced while both
// terms are even and the denominator stays above 4 (12/16 becomes 3/4).
Signature SignatureObservee(int32_t longueur) {
    int64_t numerateur = longueur / (kDureeNoire / 4);
    int denominateur = 16;
    while (numerateur % 2 == 0 && denominateur % 2 == 0 && denominateur >= 5) {
        numerateur /= 2;
        denominateur /= 2;
    }
    return SignatureDe(static_cast<int>(std::min<int64_t>(numerateur, INT16_MAX)), denominateur);
}

}  // namespace

bool RecalageDivisionsTemporelles(DocumentMusical& document) {
    auto& parties = document.Portees;
    if (parties.empty()) return true;
    std::vector<Signature> courantes;
    for (const PorteeDoc& partie : parties)
        courantes.push_back(SignatureDepart(partie.ClefInitiale));
    // Every part must have every measure; the export has already made it so.
    const size_t nbMesures = static_cast<size_t>(EgaliseNombreMesures(document));
    Signature precedente;
    std::vector<Signature> candidats;
    for (size_t m = 0; m < nbMesures; ++m) {
        if (TestAnnulation()) return false;
        candidats.assign(1, courantes[0]);
        for (size_t p = 0; p < parties.size(); ++p) {
            const ClefDoc& clef = parties[p].Mesures[m].Clef;
            if (m == 0) {
                const ClefDoc& initiale = parties[p].ClefInitiale;
                courantes[p] = SignatureDe(initiale.Numerateur, initiale.Denominateur);
            }
            if (clef.Numerateur != 0 && clef.Denominateur != 0)
                courantes[p] = SignatureDe(clef.Numerateur, clef.Denominateur);
            const auto& notes = parties[p].Mesures[m].Notes;
            const int64_t observee = DureeMesure(notes, notes.size());
            candidats.push_back(
                Signature{0, 0, static_cast<int32_t>(std::min<int64_t>(observee, INT32_MAX))});
            candidats.push_back(courantes[p]);
        }
        // With no positive length at all, the previous measure's signature
        // holds; the first measure then keeps the signature it started with.
        const int gagnant = Vote(candidats);
        Signature choisie = gagnant >= 0 ? candidats[gagnant] : m == 0 ? candidats[0] : precedente;
        if (choisie.Numerateur == 0) choisie = SignatureObservee(choisie.Longueur);
        for (size_t p = 0; p < parties.size(); ++p) {
            ClefDoc& clef = parties[p].Mesures[m].Clef;
            clef.Numerateur = choisie.Numerateur;
            clef.Denominateur = choisie.Denominateur;
            clef.LongueurMesure = LongueurMesure(choisie.Numerateur, choisie.Denominateur);
            courantes[p] = choisie;
        }
        precedente = choisie;
    }
    return true;
}
