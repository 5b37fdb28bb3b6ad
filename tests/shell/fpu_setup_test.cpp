#include "shell/fpu_setup.h"

#include <gtest/gtest.h>

#include <cfenv>

#include "support/ruzo_home.h"
#include "toolbox/messages.h"

namespace {

// Leaves the floating-point environment as the test found it.
class FPUEssai : public ::testing::Test {
  protected:
    void SetUp() override { std::fegetenv(&environnement_); }
    void TearDown() override { std::fesetenv(&environnement_); }

    std::string Fichier(const std::string& contenu) {
        const std::string chemin = home_.Chemin() + "/FPUPatch.txt";
        RuzoHomeEssai::EcritFichier(chemin, contenu);
        return chemin;
    }

    RuzoHomeEssai home_;
    std::fenv_t environnement_{};
};

TEST_F(FPUEssai, LineWithoutMaskMasksEveryException) {
    ReglageFPU reglage;
    ASSERT_TRUE(LitReglageFPU(Fichier("anything\n"), reglage));
    EXPECT_EQ(reglage.masqueEt, 0xFFFF);
    EXPECT_EQ(reglage.valeurOu, 0x003F);
#if defined(__x86_64__)
    feenableexcept(FE_DIVBYZERO | FE_INVALID);
    ASSERT_NE(MotControleX87() & 0x3F, 0x3F);
    RegleFPU(home_.Chemin());
    EXPECT_EQ(MotControleX87() & 0x3F, 0x3F);
    EXPECT_EQ(RegistreMXCSR() & 0x1F80, 0x1F80u);
#endif
}

TEST_F(FPUEssai, MaskLineAndsThenOrs) {
    // Clear the rounding bits, then ask for rounding toward zero.
    ReglageFPU reglage;
    ASSERT_TRUE(LitReglageFPU(Fichier("MASK F3FF 0C00\r\nsecond line ignored\n"), reglage));
    EXPECT_EQ(reglage.masqueEt, 0xF3FF);
    EXPECT_EQ(reglage.valeurOu, 0x0C00);
#if defined(__x86_64__)
    const uint16_t avant = MotControleX87();
    RegleFPU(home_.Chemin());
    EXPECT_EQ(MotControleX87(), static_cast<uint16_t>((avant & 0xF3FF) | 0x0C00));
    EXPECT_EQ(std::fegetround(), FE_TOWARDZERO);  // the SSE arithmetic follows
    volatile float un = 1.0f, trois = 3.0f;
    EXPECT_EQ(un / trois, 0.333333313f);
#endif
}

TEST_F(FPUEssai, MissingFileOrMaskLineWithoutTwoWords) {
    ReglageFPU manquant;
    EXPECT_FALSE(LitReglageFPU(home_.Chemin() + "/FPUPatch.txt", manquant));
    const uint16_t avant = MotControleX87();
    RegleFPU(home_.Chemin());
    EXPECT_EQ(MotControleX87(), avant);
    for (const char* ligne : {"MASK\n", "MASK zz 12\n", "MASK 12"}) {
        CaptureAlertes alertes;
        ReglageFPU reglage;
        ASSERT_TRUE(LitReglageFPU(Fichier(ligne), reglage)) << ligne;
        EXPECT_EQ(reglage.masqueEt, 0xFFFF) << ligne;
        EXPECT_EQ(reglage.valeurOu, 0x003F) << ligne;
        EXPECT_EQ(alertes.Textes().size(), 1u) << ligne;
    }
}

}  // namespace
