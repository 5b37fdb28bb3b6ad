// The command areas of a page inside the page list file: one block per area,
// "DebutAireCommande" ... "FinAireCommande".
#pragma once

#include "recognition/document.h"

// Writes every area of the page into the current keyword file; false at the
// first failed write.
bool EcritAiresCommande(const EntreePage& page);

// After "DebutAireCommande": appends a zero-filled area to the page and fills
// it from the block. False when the block does not end or the page already
// holds kNbMaxAires areas.
bool LitAireCommande(EntreePage& page);
