#include "batch/batch_progress.h"

#include <unistd.h>

#include <string>

#include "toolbox/messages.h"

namespace {

constexpr int kLargeurBarre = 30;

std::string Duree(double secondes) {
    const long s = static_cast<long>(secondes);
    char texte[32];
    if (s >= 3600)
        std::snprintf(texte, sizeof texte, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(texte, sizeof texte, "%ld:%02ld", s / 60, s % 60);
    return texte;
}

}  // namespace

AffichageLot::AffichageLot(std::FILE* lignes, std::FILE* barre)
    : lignes_(lignes),
      barre_(barre),
      terminal_(isatty(fileno(barre)) != 0),
      debut_(std::chrono::steady_clock::now()),
      dernierDessin_(debut_) {}

AffichageLot::~AffichageLot() {
    EffaceBarre();
}

void AffichageLot::EffaceBarre() {
    if (!barreAffichee_) return;
    std::fputs("\r\033[K", barre_);
    std::fflush(barre_);
    barreAffichee_ = false;
}

void AffichageLot::DessineBarre(const CompteLot& c) {
    if (!terminal_ || c.total == 0) return;
    const int plein = c.Finis() * kLargeurBarre / c.total;
    const double ecoule =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - debut_).count();
    std::fprintf(barre_, TexteLangue("\r\033[K[%s%s] %d/%d  %d running"),
                 std::string(plein, '#').c_str(), std::string(kLargeurBarre - plein, '.').c_str(),
                 c.Finis(), c.total, c.enCours);
    if (c.echoues > 0) std::fprintf(barre_, TexteLangue(", %d failed"), c.echoues);
    std::fprintf(barre_, "  %s", Duree(ecoule).c_str());
    std::fflush(barre_);
    barreAffichee_ = true;
    dernierDessin_ = std::chrono::steady_clock::now();
}

void AffichageLot::DocumentFini(const BilanDocument& b, const CompteLot& compte) {
    EffaceBarre();
    std::fprintf(
        lignes_,
        TexteLangue("%-9s %s: %d page%s, %d staves, %d measures, %d notes, %.1f s, %.0f MB\n"),
        b.statut.c_str(), b.nom.c_str(), b.pages, b.pages == 1 ? "" : "s", b.portees, b.mesures,
        b.notes, b.secondes, b.memoireMo);
    for (const std::string& m : b.messages)
        if (b.statut != "ok") std::fprintf(lignes_, "          %s\n", m.c_str());
    std::fflush(lignes_);
    DessineBarre(compte);
}

void AffichageLot::Rafraichit(const CompteLot& compte) {
    if (std::chrono::steady_clock::now() - dernierDessin_ >= std::chrono::seconds(1))
        DessineBarre(compte);
}

void AffichageLot::Resume(const CompteLot& c, const std::string& journal) {
    EffaceBarre();
    const double ecoule =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - debut_).count();
    std::fprintf(
        lignes_,
        TexteLangue("%d documents: %d recognised, %d failed, %d cancelled, %d already done, "
                    "%d not started; %d pages in %s; peak memory of a worker %.0f MB\nlog: %s\n"),
        c.total, c.reussis, c.echoues, c.annules, c.sautes, c.total - c.Finis(), c.pages,
        Duree(ecoule).c_str(), c.memoireMaxMo, journal.c_str());
    std::fflush(lignes_);
}
