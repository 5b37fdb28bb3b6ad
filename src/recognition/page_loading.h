// Bringing a page of the document in for recognition: its image, made
// black and white, becomes the current page bitmap, and its saved results,
// if any, come back into EtatPage.
#pragma once

// Makes page `indexPage` current. False when its image cannot be loaded
// (the user was told) or its saved state is damaged.
bool ChargePageDocument(int indexPage);
