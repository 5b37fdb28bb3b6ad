#include "toolbox/page_view.h"

namespace {

VuePage vueMuette;
VuePage* vue = nullptr;

}  // namespace

VuePage& VuePageCourante() { return vue ? *vue : vueMuette; }

void DefinitVuePage(VuePage* v) { vue = v; }
