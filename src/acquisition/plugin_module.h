// The loaded plug-in module, one per process.
#pragma once

#include <string>

#include "acquisition/acquire_record.h"

// The entry point of the plug-in file `nom` of the plug-in folder: the
// loaded module when it came from that file, else the module loaded now
// (any other one unloaded first). Null when the file can't be loaded or has
// no entry point; a module of the wrong kind is reported.
PointEntreePlugIn EntreePlugIn(const std::string& nom);

// The platform data handed to plug-ins: the main window.
PlatformData* DonneesPlateforme();
