// Beams of the current staff band.
#pragma once

bool RechercheAccroches();
