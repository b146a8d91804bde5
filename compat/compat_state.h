// State shared by the stand-in's files, memory and drawing calls.
#ifndef TANDREL_COMPAT_STATE_H
#define TANDREL_COMPAT_STATE_H

#include "compat_control.h"

namespace compat {

// True when a planned failure of this call is due now.
bool ShouldFail(Call call);
void ReportViolation(const char* format, ...);

void RecordOpen(const char* name);
void RecordRead(UINT bytes);
void RecordDraw(const DrawCall& call);
SIZE_T GlobalLimit();

// The live, locked global block that holds [start, start + bytes), or none.
// On success *blockStart is the block's first byte.
bool FindLockedRange(const void* start, std::size_t bytes, const BYTE** blockStart);
// The live, locked global block that holds `start` and how many of its bytes
// lie from `start` to its end.
bool FindLockedBlock(const void* start, const BYTE** blockStart, std::size_t* bytesToEnd);

} // namespace compat

#endif
