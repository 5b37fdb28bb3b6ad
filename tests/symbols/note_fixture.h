// A synthetic staff for the note-stage tests: one staff of interline 20 with
// its top line at row 60, candidates and vertical lines set by hand, the
// default options and tuning, and the staff's glyph size.
#pragma once

#include <gtest/gtest.h>

#include "band_fixture.h"
#include "records/options.h"
#include "symbols/candidates.h"
#include "symbols/graphe.h"
#include "toolbox/progress.h"

class PorteeNotes : public ::testing::Test {
  protected:
    static constexpr int kS = 20;
    static constexpr int kHaut = 60;  // row of the top line

    void SetUp() override {
        RegleOptionsParDefaut(Options);
        RegleParametresParDefaut();
        EffaceAnnulation();
        etat.Portees[0].TailleSymboles = TailleCaracteresPortee(kS);
    }
    void TearDown() override {
        bande_.reset();
        RegleOptionsParDefaut(Options);
        RegleParametresParDefaut();
    }

    Portee& portee() { return etat.Portees[0]; }
    BandeTest& bande() { return *bande_; }

    // Row of staff position p (0 = top line).
    static int Rang(int p) { return kHaut + p * kS / 2; }

    int Candidat(uint16_t code, int prob, int y, int x, int graphe = -1) {
        const int16_t g = static_cast<int16_t>(graphe >= 0 ? graphe : prochainGraphe_++);
        return AjouteCaractereProbable(etat, g, code, static_cast<int16_t>(prob),
                                       Point{static_cast<int16_t>(y), static_cast<int16_t>(x)});
    }
    // A vertical line of rows haut .. haut + longueur at column x.
    int LigneVerticale(int x, int haut, int longueur, int accroches = 0, int numero = 0) {
        LigneVert l;
        l.PosX = static_cast<int16_t>(x);
        l.PosY = static_cast<int16_t>(haut);
        l.Longueur = static_cast<int16_t>(longueur);
        l.Epaisseur = 2;
        l.NbAccroches = static_cast<int16_t>(accroches);
        l.NumAccroche = static_cast<int16_t>(numero);
        portee().LignesVert.push_back(l);
        return static_cast<int>(portee().LignesVert.size()) - 1;
    }
    bool Actif(int index) const { return etat.Caracteres[index].Actif != 0; }

  private:
    std::unique_ptr<BandeTest> bande_ =
        std::make_unique<BandeTest>(600, 200, static_cast<float>(kS), kHaut);
    int prochainGraphe_ = 100;

  protected:
    EtatPage& etat = bande_->etat;  // the band's page state
};
