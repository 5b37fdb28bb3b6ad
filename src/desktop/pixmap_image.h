// The engine's indexed pixel maps as Qt images: the page view the engine
// draws is shown as it is, through the shared colour table.
#pragma once

#include <QImage>

#include "toolbox/pixmap.h"

// An 8-bit indexed image holding a copy of the map's pixels; a null image
// for an empty map.
QImage ImageDePixMap(const PixMap& carte);

// A palette index of the shared colour table as a Qt colour.
QColor CouleurQt(int index);
