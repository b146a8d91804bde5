#include "compat_state.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace compat {
namespace {

constexpr SIZE_T kDefaultGlobalLimit = 1u << 30;
constexpr int kCallKinds = static_cast<int>(Call::CreatePalette) + 1;

struct Plans {
    // For each kind: calls to let through before failing one, or -1.
    int skip[kCallKinds];
    Plans() { Clear(); }
    void Clear() {
        for (int& s : skip) {
            s = -1;
        }
    }
};

struct Records {
    int openCalls = 0;
    std::string lastName;
    std::vector<UINT> reads;
    std::vector<DrawCall> draws;
};

Plans& plans() {
    static Plans instance;
    return instance;
}

Records& records() {
    static Records instance;
    return instance;
}

SIZE_T& limit() {
    static SIZE_T value = kDefaultGlobalLimit;
    return value;
}

void AbortOnViolation(const char* message) {
    std::fprintf(stderr, "compat: %s\n", message);
    std::abort();
}

void (*&violationHandler())(const char*) {
    static void (*handler)(const char*) = AbortOnViolation;
    return handler;
}

} // namespace

void FailCall(Call call, int skip) {
    plans().skip[static_cast<int>(call)] = skip < 0 ? 0 : skip;
}

void Reset() {
    plans().Clear();
    records() = Records();
    limit() = kDefaultGlobalLimit;
}

void SetGlobalLimit(SIZE_T bytes) {
    limit() = bytes;
}

void SetViolationHandler(void (*handler)(const char*)) {
    violationHandler() = handler ? handler : AbortOnViolation;
}

int OpenFileCalls() {
    return records().openCalls;
}
std::string LastOpenedName() {
    return records().lastName;
}
const std::vector<UINT>& ReadRequests() {
    return records().reads;
}
const std::vector<DrawCall>& DrawCalls() {
    return records().draws;
}

bool ShouldFail(Call call) {
    int& skip = plans().skip[static_cast<int>(call)];
    if (skip < 0) {
        return false;
    }
    if (skip > 0) {
        --skip;
        return false;
    }
    skip = -1;
    return true;
}

void ReportViolation(const char* format, ...) {
    char message[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    violationHandler()(message);
}

void RecordOpen(const char* name) {
    ++records().openCalls;
    records().lastName = name;
}

void RecordRead(UINT bytes) {
    records().reads.push_back(bytes);
}
void RecordDraw(const DrawCall& call) {
    records().draws.push_back(call);
}
SIZE_T GlobalLimit() {
    return limit();
}

} // namespace compat
