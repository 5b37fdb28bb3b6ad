#include "staff/staff_quality.h"

#include <gtest/gtest.h>

#include "pages_de_test.h"

using namespace pages_de_test;

namespace {

class QualiteGeometrieTest : public TestPortees {};

Portee PorteeTroisEchantillons(float y1, float y2, float y3) {
    Portee p;
    p.CadreBande = Rect{0, 0, 200, 1000};
    p.Interligne = 10;
    for (auto [x, y] : {std::pair{0.0f, y1}, std::pair{500.0f, y2}, std::pair{1000.0f, y3}}) {
        EchantillonLignes e;
        e.X = x;
        e.Y = y;
        e.InterligneLocal = y < 0 ? 0.0f : 10.0f;
        p.Echantillons.push_back(e);
    }
    return p;
}

TEST_F(QualiteGeometrieTest, GeometryScoreWeighsTheWorstSkewAndCurvature) {
    EXPECT_EQ(QualiteGeometriePage(etat), 0);
    etat.Portees = {PorteeTroisEchantillons(100, 100, 100)};
    EXPECT_EQ(QualiteGeometriePage(etat), 1000);
    // Ten rows over a thousand columns: 10 per mille, 30 points each.
    etat.Portees.push_back(PorteeTroisEchantillons(100, 105, 110));
    EXPECT_EQ(QualiteGeometriePage(etat), 700);
    // Half an interline of bow: 500 per mille of curvature, half of it off.
    etat.Portees.push_back(PorteeTroisEchantillons(100, 95, 100));
    EXPECT_EQ(QualiteGeometriePage(etat), 1000 - 300 - 250);
    // A staff that could not be followed ruins the score.
    etat.Portees.push_back(PorteeTroisEchantillons(-1, -1, -1));
    EXPECT_EQ(QualiteGeometriePage(etat), 0);
}

}  // namespace
