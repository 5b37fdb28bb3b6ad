// Every visible corpus document, recognised and written as MusicXML: the
// file validates against the MusicXML 4.0 schema, scores exactly as the
// music file it was written beside, and, where MuseScore 3 is installed,
// imports there without an error line. Skips without the corpus.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/test_home.h"
#include "test_paths.h"

namespace {

namespace fs = std::filesystem;

struct DocumentCorpus {
    std::string piece, source;
};

// Names the document in test listings instead of dumping its bytes.
void PrintTo(const DocumentCorpus& d, std::ostream* os) {
    *os << d.piece << "/" << d.source;
}

// One document per engraver of each piece: pages/PIECE/ENGRAVER/page-N.png.
std::vector<DocumentCorpus> DocumentsCorpus() {
    std::vector<DocumentCorpus> documents;
    const fs::path pages = fs::path(RUZO_CORPUS) / "pages";
    std::error_code erreur;
    if (!fs::is_directory(pages, erreur)) return {{"none", "none"}};
    for (const auto& piece : fs::directory_iterator(pages))
        for (const auto& source : fs::directory_iterator(piece.path()))
            if (source.is_directory())
                documents.push_back({piece.path().filename(), source.path().filename()});
    std::sort(documents.begin(), documents.end(), [](const auto& a, const auto& b) {
        return a.piece + "/" + a.source < b.piece + "/" + b.source;
    });
    return documents;
}

std::string PagesDe(const DocumentCorpus& d) {
    std::vector<std::pair<int, std::string>> pages;
    for (const auto& f :
         fs::directory_iterator(fs::path(RUZO_CORPUS) / "pages" / d.piece / d.source)) {
        const std::string nom = f.path().filename();
        if (nom.rfind("page-", 0) == 0) pages.emplace_back(std::atoi(nom.c_str() + 5), f.path());
    }
    std::sort(pages.begin(), pages.end());
    std::string liste;
    for (const auto& [n, chemin] : pages) liste += " '" + chemin + "'";
    return liste;
}

std::string Sortie(const std::string& commande) {
    std::string texte;
    std::FILE* tube = popen(("(" + commande + ") 2>&1").c_str(), "r");
    if (tube == nullptr) return texte;
    char tampon[4096];
    size_t lus = 0;
    while ((lus = std::fread(tampon, 1, sizeof tampon, tube)) > 0) texte.append(tampon, lus);
    pclose(tube);
    return texte;
}

std::string DerniereLigne(const std::string& texte) {
    std::istringstream flux(texte);
    std::string ligne, derniere;
    while (std::getline(flux, ligne))
        if (!ligne.empty()) derniere = ligne;
    return derniere;
}

bool Present(const char* commande) {
    return std::system((std::string(commande) + " >/dev/null 2>&1").c_str()) == 0;
}

// What MuseScore says while it converts, less its own progress lines.
std::vector<std::string> MessagesImport(const std::string& texte) {
    static const std::regex progres(R"(^(QStandardPaths|convert <|\s*to <|\.\.\. success))");
    std::vector<std::string> lignes;
    std::istringstream flux(texte);
    std::string ligne;
    while (std::getline(flux, ligne))
        if (!ligne.empty() && !std::regex_search(ligne, progres)) lignes.push_back(ligne);
    return lignes;
}

class MusicXMLCorpus : public DossierTest, public ::testing::WithParamInterface<DocumentCorpus> {};

}  // namespace

TEST_P(MusicXMLCorpus, ValidatesScoresAsTheMusicFileAndImports) {
    const DocumentCorpus& d = GetParam();
    const fs::path corpus = RUZO_CORPUS;
    if (!fs::exists(corpus / "pages" / d.piece)) GTEST_SKIP() << "no corpus at " << corpus;
    const std::string base = Racine() + "/" + d.piece + "-" + d.source;
    const ResultatProgramme r =
        ExecuteRuzo("recognize -q" + PagesDe(d) + " -o '" + base + "' --musicxml");
    ASSERT_EQ(r.code, 0) << r.sortie;
    const std::string xml = base + ".musicxml";

    if (Present("xmllint --version")) {
        const std::string lint = Sortie("xmllint --noout --nonet --schema '" RUZO_TEST_DATA
                                        "/musicxml-schema/musicxml.xsd' '" +
                                        xml + "'");
        EXPECT_EQ(lint, xml + " validates\n");
    }
    if (!Present("python3 -c pass")) return;
    const std::string score = "python3 '" + (corpus / "score.py").string() + "' '" +
                              (corpus / "scores" / (d.piece + ".musicxml")).string() + "' '";
    const std::string msf = DerniereLigne(Sortie(score + base + ".msf'"));
    EXPECT_NE(msf.find("notes "), std::string::npos) << msf;
    EXPECT_EQ(DerniereLigne(Sortie(score + xml + "'")), msf);

    // The round trip through MuseScore 3: what it makes of the file, written
    // out again, scores the same, and it reports no error on the way.
    if (!Present("command -v mscore3")) return;
    const std::string retour = base + "-musescore.musicxml";
    const std::vector<std::string> messages = MessagesImport(
        Sortie("QT_QPA_PLATFORM=offscreen mscore3 -o '" + retour + "' '" + xml + "'"));
    for (const std::string& m : messages) EXPECT_EQ(m.find("Error"), std::string::npos) << m;
    for (const std::string& m : messages) std::printf("MuseScore: %s\n", m.c_str());
    EXPECT_EQ(DerniereLigne(Sortie(score + retour + "'")), msf);
}

INSTANTIATE_TEST_SUITE_P(Corpus, MusicXMLCorpus, ::testing::ValuesIn(DocumentsCorpus()),
                         [](const ::testing::TestParamInfo<DocumentCorpus>& info) {
                             std::string nom = info.param.piece + "_" + info.param.source;
                             for (char& c : nom)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return nom;
                         });
