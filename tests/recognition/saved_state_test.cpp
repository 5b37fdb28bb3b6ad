#include "recognition/saved_state.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "image/temporary_files.h"
#include "recognition/document.h"
#include "records/etat_page.h"
#include "staff/page_state.h"
#include "support/test_home.h"

namespace {

// Fills every byte of a record with a pattern, so that a field lost or
// shifted on the way shows up.
template <typename T>
T Remplit(int graine) {
    T r;
    auto* octets = reinterpret_cast<unsigned char*>(&r);
    for (size_t i = 0; i < sizeof r; ++i)
        octets[i] = static_cast<unsigned char>(graine * 31 + i * 7);
    return r;
}

template <typename T>
bool MemesOctets(const std::vector<T>& a, const std::vector<T>& b) {
    if (a.size() != b.size()) return false;
    return a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

Portee PorteeRemplie(int graine, int n) {
    // The fields of the staff itself through its saved form, so that every
    // byte of the record is set, and the arrays with n elements each.
    PorteeEnregistree e = Remplit<PorteeEnregistree>(graine);
    Portee p = DepuisEnregistrement(e);
    for (int i = 0; i < n; ++i) {
        p.Echantillons.push_back(Remplit<EchantillonLignes>(graine + i));
        p.Symboles.push_back(Remplit<NotePortee>(graine + 2 * i));
        p.Mesures.push_back(Remplit<Mesure>(graine + 3 * i));
        p.Liaisons.push_back(Remplit<Liaison>(graine + 4 * i));
        p.LignesVert.push_back(Remplit<LigneVert>(graine + 5 * i));
        p.ChangementsClef.push_back(Remplit<Clef>(graine + 6 * i));
    }
    return p;
}

class EtatSauveTest : public DossierTest {
  protected:
    void TearDown() override {
        FermeDocument();
        LibereEtatPage(etat);
        DossierTest::TearDown();
    }

  protected:
    EtatPage& etat = Document.Etat;  // the state the document holds
};

TEST_F(EtatSauveTest, EveryArrayComesBackByteForByte) {
    LibereEtatPage(etat);
    etat.Portees.push_back(PorteeRemplie(1, 3));
    etat.Portees.push_back(PorteeRemplie(2, 0));  // a staff with no arrays at all
    etat.Portees.push_back(PorteeRemplie(3, 17));
    const std::vector<Portee> avant = etat.Portees;

    Document.Pages.resize(2);
    ASSERT_TRUE(SauveEtatPage(1));
    LibereEtatPage(etat);
    ASSERT_TRUE(RestaureEtatPage(1));

    ASSERT_EQ(etat.Portees.size(), avant.size());
    for (size_t i = 0; i < avant.size(); ++i) {
        const PorteeEnregistree a = VersEnregistrement(avant[i]);
        const PorteeEnregistree b = VersEnregistrement(etat.Portees[i]);
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "staff " << i;
        EXPECT_TRUE(MemesOctets(avant[i].Echantillons, etat.Portees[i].Echantillons));
        EXPECT_TRUE(MemesOctets(avant[i].Symboles, etat.Portees[i].Symboles));
        EXPECT_TRUE(MemesOctets(avant[i].Mesures, etat.Portees[i].Mesures));
        EXPECT_TRUE(MemesOctets(avant[i].Liaisons, etat.Portees[i].Liaisons));
        EXPECT_TRUE(MemesOctets(avant[i].LignesVert, etat.Portees[i].LignesVert));
        EXPECT_TRUE(MemesOctets(avant[i].ChangementsClef, etat.Portees[i].ChangementsClef));
    }

    // Saving again replaces the page's file; a page without one restores empty.
    std::FILE* premier = Document.Pages[1].EtatSauve;
    ASSERT_TRUE(SauveEtatPage(1));
    EXPECT_NE(Document.Pages[1].EtatSauve, nullptr);
    (void)premier;
    ASSERT_TRUE(RestaureEtatPage(0));
    EXPECT_TRUE(etat.Portees.empty());
}

TEST_F(EtatSauveTest, TheFileLayoutIsCountThenRecordsThenArrays) {
    LibereEtatPage(etat);
    etat.Portees.push_back(PorteeRemplie(5, 2));
    std::FILE* f = CreeFichierTemporaire();
    ASSERT_TRUE(EcritEtatPage(f, etat));
    // The clef changes, which the staff record does not count, come last
    // with their own count.
    const long attendu = 2 + 152 + 2 * (14 + 100 + 80 + 10 + 14) + 2 + 2 * 74;
    EXPECT_EQ(std::ftell(f), attendu);
    EffaceFichierTemporaire(f);
}

TEST_F(EtatSauveTest, DamagedFilesLeaveTheStateCleared) {
    LibereEtatPage(etat);
    etat.Portees.push_back(PorteeRemplie(7, 4));
    std::FILE* f = CreeFichierTemporaire();
    ASSERT_TRUE(EcritEtatPage(f, etat));
    const long taille = std::ftell(f);

    // Cut in the middle of an array.
    ASSERT_EQ(ftruncate(fileno(f), taille - 5), 0);
    std::rewind(f);
    EXPECT_FALSE(LitEtatPage(f, etat));
    EXPECT_TRUE(etat.Portees.empty());

    // A negative array count inside a staff record.
    ASSERT_EQ(ftruncate(fileno(f), 0), 0);
    std::rewind(f);
    const int16_t un = 1;
    PorteeEnregistree e = VersEnregistrement(PorteeRemplie(8, 0));
    e.NbSymboles = -3;
    std::fwrite(&un, 2, 1, f);
    std::fwrite(&e, sizeof e, 1, f);
    std::rewind(f);
    EXPECT_FALSE(LitEtatPage(f, etat));
    EXPECT_TRUE(etat.Portees.empty());

    // A negative staff count.
    std::rewind(f);
    const int16_t negatif = -1;
    std::fwrite(&negatif, 2, 1, f);
    std::rewind(f);
    EXPECT_FALSE(LitEtatPage(f, etat));
    EffaceFichierTemporaire(f);
}

}  // namespace
