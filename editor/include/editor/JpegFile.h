#pragma once
// JPEG export: a baseline, non-progressive JFIF file of three components,
// made from a 24-bit picture with the JPEG library's defaults and the chosen
// quality (0 to 100, baseline quantisation tables). The file is written
// whole or not at all; failures also go to the debug trace.

#include "editor/EditorStatus.h"

#include <string>

class CDib;

// JpegNeeds24Bits for any picture that is not uncompressed 24-bit (nothing
// is written), CannotWriteFile when the file cannot be made.
EditorStatus WriteJpegFile(const std::string& path, CDib& image, int quality);
