// Accidentals and augmentation dots.
#pragma once

bool TraitePointes();
