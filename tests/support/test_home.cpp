#include "support/test_home.h"

#include "image/offscreen.h"
#include "image/temporary_files.h"
#include "toolbox/folders.h"

void DossierTest::SetUp() {
    home_.emplace();
    InitialiseCouleurs();
    ASSERT_TRUE(PrepareDossiersPreferences());
}

void DossierTest::TearDown() {
    EffaceTousFichiersTemporaires();
    home_.reset();
}
