// Files through POSIX descriptors; an HFILE is the descriptor.
#include "compat_state.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <set>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::set<int>& openFiles() {
    static std::set<int> files;
    return files;
}

bool IsOpen(HFILE file) {
    return openFiles().count(file) != 0;
}

// The open both OpenFile and _lopen make: read-only, recorded, and refused
// when a failure is planned.
HFILE OpenForReading(LPCSTR fileName) {
    compat::RecordOpen(fileName ? fileName : "");
    if (!fileName || compat::ShouldFail(compat::Call::OpenFile)) {
        return HFILE_ERROR;
    }
    int fd = open(fileName, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return HFILE_ERROR;
    }
    openFiles().insert(fd);
    return fd;
}

// Like the platform, OpenFile refuses a file whose full path does not fit the
// 128-byte field of its OFSTRUCT.
bool FitsOpenBuffer(LPCSTR fileName) {
    std::string full = fileName;
    char directory[PATH_MAX];
    if (full.empty() || full[0] != '/') {
        if (!getcwd(directory, sizeof directory)) {
            return false;
        }
        full = std::string(directory) + "/" + full;
    }
    return full.size() < OFS_MAXPATHNAME;
}

} // namespace

HFILE OpenFile(LPCSTR fileName, OFSTRUCT* openBuffer, UINT style) {
    if (openBuffer) {
        std::memset(openBuffer, 0, sizeof *openBuffer);
        openBuffer->cBytes = sizeof *openBuffer;
    }
    if (style != OF_READ || (fileName && !FitsOpenBuffer(fileName))) {
        compat::RecordOpen(fileName ? fileName : "");
        return HFILE_ERROR;
    }
    HFILE file = OpenForReading(fileName);
    if (openBuffer) {
        if (file == HFILE_ERROR) {
            openBuffer->nErrCode = 2; // ERROR_FILE_NOT_FOUND, near enough
        } else {
            std::strncpy(openBuffer->szPathName, fileName, OFS_MAXPATHNAME - 1);
        }
    }
    return file;
}

HFILE _lopen(LPCSTR fileName, int mode) {
    if (mode != OF_READ) {
        compat::RecordOpen(fileName ? fileName : "");
        return HFILE_ERROR;
    }
    return OpenForReading(fileName);
}

UINT _lread(HFILE file, LPVOID buffer, UINT bytes) {
    compat::RecordRead(bytes);
    if (!IsOpen(file) || compat::ShouldFail(compat::Call::Read)) {
        return static_cast<UINT>(HFILE_ERROR);
    }
    // A regular file gives everything up to its end in one ReadFile.
    char* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < bytes) {
        ssize_t got = read(file, out + done, bytes - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return static_cast<UINT>(HFILE_ERROR);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<UINT>(got);
    }
    return done;
}

LONG _llseek(HFILE file, LONG offset, int origin) {
    if (!IsOpen(file) || origin < FILE_BEGIN || origin > FILE_END) {
        return HFILE_ERROR;
    }
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    off_t at = lseek(file, offset, whence[origin]);
    if (at < 0 || at > LONG_MAX) {
        return HFILE_ERROR;
    }
    return static_cast<LONG>(at);
}

HFILE _lclose(HFILE file) {
    if (!IsOpen(file)) {
        return HFILE_ERROR;
    }
    openFiles().erase(file);
    return close(file) == 0 ? 0 : HFILE_ERROR;
}

namespace compat {
int OpenFiles() {
    return static_cast<int>(openFiles().size());
}
} // namespace compat
