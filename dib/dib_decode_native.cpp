// Built natively, for the tests of the reader around it: the system's
// decoders are Windows' own, so no PNG, JPEG or GIF is decoded here.
#include "dib/dib_decode.h"

namespace dib {

HGLOBAL DecodePicture(const WCHAR*, HANDLE, Kind, COLORREF, Refusal* why) {
    *why = Refusal::NoDecoder;
    return nullptr;
}

} // namespace dib
