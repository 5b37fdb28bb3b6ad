// Tuplets, ornaments and staccato.
#pragma once

bool TraiteTuplets();
bool TraiteEffets();
