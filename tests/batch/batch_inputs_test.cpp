// Finding a batch's documents: what makes a document, its pages' order, the
// names of its outputs, and the inputs that must stop a batch before it
// starts.
#include "batch/batch_inputs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "batch/natural_order.h"
#include "support/test_home.h"

namespace fs = std::filesystem;

namespace {

class DocumentsLotTest : public DossierTest {
  protected:
    std::string Cree(const std::string& relatif) {
        const fs::path p = fs::path(Racine()) / relatif;
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "x";
        return p.string();
    }
    std::vector<std::string> Noms(const InventaireLot& inv) {
        std::vector<std::string> noms;
        for (const DocumentLot& d : inv.documents) noms.push_back(d.nom);
        return noms;
    }
};

}  // namespace

TEST(OrdreNaturel, NumbersCompareByValueEverythingElseByByte) {
    EXPECT_TRUE(AvantEnOrdreNaturel("page-2.png", "page-10.png"));
    EXPECT_FALSE(AvantEnOrdreNaturel("page-10.png", "page-2.png"));
    EXPECT_TRUE(AvantEnOrdreNaturel("page-9", "page-10b"));
    EXPECT_TRUE(AvantEnOrdreNaturel("a", "a1"));
    EXPECT_TRUE(AvantEnOrdreNaturel("B", "a"));  // byte order, the same in every locale
    // Leading zeros: equal values still give a strict order, one way only.
    EXPECT_NE(AvantEnOrdreNaturel("p01", "p1"), AvantEnOrdreNaturel("p1", "p01"));
    EXPECT_FALSE(AvantEnOrdreNaturel("p1", "p1"));
    EXPECT_TRUE(AvantEnOrdreNaturel("p99999999999999999999", "p100000000000000000000"));
}

TEST_F(DocumentsLotTest, AFolderGivesOneDocumentPerFolderOfImagesWithPagesInNaturalOrder) {
    Cree("set/cover.png");
    Cree("set/hymn/engraved/page-10.png");
    Cree("set/hymn/engraved/page-2.png");
    Cree("set/hymn/engraved/notes.txt");
    Cree("set/hymn/scanned/page-1.TIF");
    Cree("set/lists/march.lfs");
    Cree("set/empty/readme.txt");
    const InventaireLot inv = TrouveDocuments({Racine() + "/set/"});
    ASSERT_TRUE(inv.erreurs.empty()) << inv.erreurs[0];
    EXPECT_EQ(Noms(inv),
              (std::vector<std::string>{"set", "hymn-engraved", "hymn-scanned", "lists-march"}));
    const DocumentLot& engraved = inv.documents[1];
    ASSERT_EQ(engraved.pages.size(), 2u);
    EXPECT_EQ(fs::path(engraved.pages[0]).filename(), "page-2.png");
    EXPECT_EQ(fs::path(engraved.pages[1]).filename(), "page-10.png");
    EXPECT_TRUE(fs::path(engraved.pages[0]).is_absolute());
    EXPECT_EQ(inv.documents[3].genre, GenreDocument::ListePages);

    // Single files are documents of their own, named without extension.
    const InventaireLot seuls =
        TrouveDocuments({Racine() + "/set/cover.png", Racine() + "/set/lists/march.lfs"});
    EXPECT_EQ(Noms(seuls), (std::vector<std::string>{"cover", "march"}));
}

TEST_F(DocumentsLotTest, InputsThatWouldLoseOrMixOutputsStopTheBatch) {
    Cree("a/engraved/page-1.png");
    Cree("b/engraved/page-1.png");
    Cree("notes.txt");
    // Two folders of one name would write the same outputs.
    InventaireLot inv = TrouveDocuments({Racine() + "/a/engraved", Racine() + "/b/engraved"});
    ASSERT_EQ(inv.erreurs.size(), 1u);
    EXPECT_NE(inv.erreurs[0].find("'engraved'"), std::string::npos) << inv.erreurs[0];
    // Found below a common parent, their names keep them apart.
    inv = TrouveDocuments({Racine()});
    EXPECT_TRUE(inv.erreurs.empty());
    EXPECT_EQ(Noms(inv), (std::vector<std::string>{"a-engraved", "b-engraved"}));

    inv = TrouveDocuments({Racine() + "/missing", Racine() + "/notes.txt"});
    EXPECT_EQ(inv.erreurs.size(), 2u);
    fs::create_directories(Racine() + "/nothing");
    EXPECT_EQ(TrouveDocuments({Racine() + "/nothing"}).erreurs.size(), 1u);
}

TEST_F(DocumentsLotTest, LinkedFoldersAreNotFollowed) {
    Cree("set/piece/page-1.png");
    fs::create_directory_symlink(Racine() + "/set", Racine() + "/set/piece/loop");
    const InventaireLot inv = TrouveDocuments({Racine() + "/set"});
    EXPECT_TRUE(inv.erreurs.empty());
    EXPECT_EQ(Noms(inv), (std::vector<std::string>{"piece"}));
}
