// Reading a program file's signature on the platform: its headers and its
// certificate table only, however large the file (an installer may be
// gigabytes).
#ifndef TANDREL_LAUNCHER_SIGNATURE_FILE_H
#define TANDREL_LAUNCHER_SIGNATURE_FILE_H

#include "launcher/signature.h"

// What `path` carries; for a signed file, the signer's name in the ANSI code
// page in `signer` (`room` bytes), empty when its certificate gives none.
// A file that cannot be read is Unreadable.
signature::Kind ReadSignature(const char* path, char* signer, int room);

#endif
