// PNG, JPEG and GIF files for the tests and benchmarks, written and read back
// by Windows' own imaging component, so that no picture made elsewhere is
// needed. The caller has started COM.
#ifndef TANDREL_TOOLS_WIC_FILES_H
#define TANDREL_TOOLS_WIC_FILES_H

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

namespace wic {

using Pixels = std::vector<std::uint8_t>; // blue, green, red, alpha; top row first

// PNG keeps the alpha, JPEG drops it; a GIF takes up to 256 colours, and any
// of alpha 0 as its transparent one.
bool Write(const std::string& path, const GUID& container, int width, int height,
           const Pixels& bgra);
// As the imaging component decodes the file; empty when it does not.
Pixels Read(const std::string& path);

} // namespace wic

#endif
