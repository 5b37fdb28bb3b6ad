// MusicXML 4.0 (partwise) from the aligned document model: the same parts,
// measures and notes as the music file, for every score editor.
#pragma once

#include <string>

#include "document/document_model.h"

// The whole file as text.
std::string TexteMusicXML(const DocumentMusical& document);

// Writes the file; a name ending in ".mxl" gets the zip container with
// "META-INF/container.xml". False (with a message) when it can't be written.
bool EcritMusicXML(const DocumentMusical& document, const std::string& chemin);

// Reads a result file, aligns its rhythm as the music-file export does and
// writes MusicXML. False (with a message) on any failure.
bool ExporteMusicXML(const std::string& cheminResultat, const std::string& chemin);
