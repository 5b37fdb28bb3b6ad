#include "document/options_dialog.h"

#include <gtest/gtest.h>

#include <fstream>

#include "document/named_settings.h"
#include "document/options_file.h"
#include "support/test_home.h"
#include "toolbox/folders.h"

class DialogueOptions : public DossierTest {};

TEST_F(DialogueOptions, ControlsCoverEveryOptionOnce) {
    int nb = 0;
    for (int page = 1; page <= kNbPagesOptions; ++page) {
        for (const ControleOptions& c : ControlesPageOptions(page)) {
            const ChampOption* champ = ChercheOption(c.option);
            ASSERT_NE(champ, nullptr) << c.option;
            EXPECT_EQ(c.genre == GenreControle::GroupeRadio, champ->max == 2) << c.option;
            ++nb;
        }
    }
    EXPECT_EQ(nb, 13);
    EXPECT_TRUE(ControlesPageOptions(3).empty());
}

TEST_F(DialogueOptions, WorkingCopyReachesTheDocumentOnlyOnOk) {
    OptionsReconnaissance document;
    ModeleDialogueOptions dialogue(document);
    dialogue.ChoisitBouton("ModeArmature", 2);
    dialogue.ChoisitBouton("RechercherClef", 5);  // no such button
    dialogue.BasculeCase("AutoriserRondes");
    EXPECT_TRUE(dialogue.DonneTexteNombre("PourcentGraceNote", "-3"));
    EXPECT_FALSE(dialogue.DonneTexteNombre("PourcentGraceNote", "abc"));
    EXPECT_EQ(dialogue.Valeur("ModeArmature"), 2);
    EXPECT_EQ(dialogue.Valeur("RechercherClef"), 2);
    EXPECT_EQ(dialogue.Valeur("AutoriserRondes"), 1);
    EXPECT_EQ(dialogue.Valeur("PourcentGraceNote"), -3);
    EXPECT_EQ(document.ModeArmature, 1);  // Cancel would leave it so

    // Save as standard writes the copy, not the document's record.
    ASSERT_TRUE(dialogue.SauveCommeStandard());
    OptionsReconnaissance standard;
    ChargeOptionsStandard(standard);
    EXPECT_EQ(standard.PourcentGraceNote, -3);
    EXPECT_EQ(document.PourcentGraceNote, 4);

    EXPECT_TRUE(dialogue.Valide(document));
    EXPECT_EQ(document.ModeArmature, 2);
    EXPECT_FALSE(ModeleDialogueOptions(document).Valide(document));  // nothing changed

    dialogue.RegleParDefaut();
    EXPECT_EQ(dialogue.Valeur("AutoriserRondes"), 0);
}

TEST_F(DialogueOptions, LoadTakesThePageListsBlock) {
    const std::string liste = Racine() + "/liste.lfs";
    std::ofstream(liste, std::ios::binary)
        << "\nDebutDocument \n\t DebutConfig \n\t \t AutoriserEffets 0 \n\t FinConfig ";
    ModeleDialogueOptions dialogue{OptionsReconnaissance{}};
    EXPECT_TRUE(dialogue.ChargeListePages(liste));
    EXPECT_EQ(dialogue.Valeur("AutoriserEffets"), 0);
    EXPECT_FALSE(dialogue.ChargeListePages(Racine() + "/absente.lfs"));
    EXPECT_EQ(dialogue.Valeur("AutoriserEffets"), 0);
}
