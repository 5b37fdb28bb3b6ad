// The page list fuzz target reads and writes lists without loading pages.
#include "recognition/page_loading.h"

bool ChargePageDocument(int) { return false; }
