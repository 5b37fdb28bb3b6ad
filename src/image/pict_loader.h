// QuickDraw picture files, as scanners and image programs of the classic
// Macintosh saved pages: a 512-byte header, then the picture. Only the
// bitmap opcodes are drawn; every other opcode is skipped by its length.
#pragma once

#include <string>

#include "image/offscreen.h"
#include "toolbox/pixmap.h"

// None when the file holds no picture that can be drawn (after an alert when
// the picture is damaged). A file of 512 bytes or less has no picture: such
// pictures lived in the resource fork, which files on Linux do not have.
Offscreen ChargePICT(const std::string& nom, int dimensionMax = kDimensionMax);
