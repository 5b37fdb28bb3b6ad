// A test fixture with a private RUZO_HOME whose preferences folders exist,
// and the colour table ready: for tests of code that keeps files there.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/ruzo_home.h"

class DossierTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    const std::string& Racine() const { return home_->Chemin(); }

  private:
    std::optional<RuzoHomeEssai> home_;
};
