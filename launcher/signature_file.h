// Reading a program file's signature on the platform: its headers and its
// certificate table only, however large the file (an installer may be
// gigabytes).
#ifndef TANDREL_LAUNCHER_SIGNATURE_FILE_H
#define TANDREL_LAUNCHER_SIGNATURE_FILE_H

#include "launcher/signature.h"

// What `path` carries; for a signed file, the signer's name in `signer`
// (`room` units with the closing zero), empty when its certificate gives
// none. A file that cannot be read is Unreadable.
signature::Kind ReadSignature(const wchar_t* path, wchar_t* signer, int room);

#endif
