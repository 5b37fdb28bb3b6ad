// What a batch shows while it runs: one line per finished document on
// stdout (kept in a cluster job's output), and on a terminal a progress bar
// on stderr under them, redrawn as documents end and once a second.
#pragma once

#include <chrono>
#include <cstdio>

#include "batch/batch_log.h"

struct CompteLot {
    int total = 0;
    int reussis = 0;
    int echoues = 0;
    int annules = 0;
    int sautes = 0;
    int enCours = 0;
    int pages = 0;
    double memoireMaxMo = 0;

    int Finis() const { return reussis + echoues + annules + sautes; }
};

class AffichageLot {
  public:
    explicit AffichageLot(std::FILE* lignes = stdout, std::FILE* barre = stderr);
    ~AffichageLot();

    void DocumentFini(const BilanDocument& bilan, const CompteLot& compte);
    // Redraws the bar when a second has passed since the last time.
    void Rafraichit(const CompteLot& compte);
    void Resume(const CompteLot& compte, const std::string& journal);

  private:
    void EffaceBarre();
    void DessineBarre(const CompteLot& compte);

    std::FILE* lignes_;
    std::FILE* barre_;
    bool terminal_;
    bool barreAffichee_ = false;
    std::chrono::steady_clock::time_point debut_;
    std::chrono::steady_clock::time_point dernierDessin_;
};
