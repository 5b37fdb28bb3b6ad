// A fresh, private RUZO_HOME for a test: preferences and temporary folders
// live in a new folder that is removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

class DossierTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    const std::string& Racine() const { return racine_; }

private:
    std::string racine_;
};
