#include "launcher/check_rules.h"

#include <cstring>

namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Edits between two names of at most 99 characters, letters compared without
// case, a swap of neighbours counting as one.
int Distance(const char* a, const char* b) {
    const size_t kMost = 100;
    size_t m = strlen(a), n = strlen(b);
    if (m >= kMost || n >= kMost) {
        return 1000;
    }
    int rows[3][kMost + 1];
    int* before = rows[0];
    int* previous = rows[1];
    int* current = rows[2];
    for (size_t j = 0; j <= n; ++j) {
        previous[j] = static_cast<int>(j);
    }
    for (size_t i = 1; i <= m; ++i) {
        current[0] = static_cast<int>(i);
        for (size_t j = 1; j <= n; ++j) {
            int cost = Upper(a[i - 1]) == Upper(b[j - 1]) ? 0 : 1;
            int best = previous[j - 1] + cost;
            best = previous[j] + 1 < best ? previous[j] + 1 : best;
            best = current[j - 1] + 1 < best ? current[j - 1] + 1 : best;
            if (i > 1 && j > 1 && Upper(a[i - 1]) == Upper(b[j - 2]) &&
                Upper(a[i - 2]) == Upper(b[j - 1]) && before[j - 2] + 1 < best) {
                best = before[j - 2] + 1;
            }
            current[j] = best;
        }
        int* spare = before;
        before = previous;
        previous = current;
        current = spare;
    }
    return previous[n];
}

} // namespace

bool IsCheckCommand(const char* commandLine) {
    if (!commandLine) {
        return false;
    }
    while (IsBlank(*commandLine)) {
        ++commandLine;
    }
    if (*commandLine != '/' && *commandLine != '-') {
        return false;
    }
    const char* word = "CHECK";
    ++commandLine;
    for (; *word; ++word, ++commandLine) {
        if (Upper(*commandLine) != *word) {
            return false;
        }
    }
    while (IsBlank(*commandLine)) {
        ++commandLine;
    }
    return *commandLine == '\0';
}

bool SameName(const char* a, const char* b) {
    for (; *a && Upper(*a) == Upper(*b); ++a, ++b) {
    }
    return Upper(*a) == Upper(*b);
}

const char* NearestName(const char* name, const char* const known[], int count) {
    const char* nearest = nullptr;
    int nearestDistance = 3;
    for (int i = 0; i < count; ++i) {
        if (SameName(name, known[i])) {
            return nullptr;
        }
        int distance = Distance(name, known[i]);
        if (distance < nearestDistance && 2 * distance < static_cast<int>(strlen(name))) {
            nearest = known[i];
            nearestDistance = distance;
        }
    }
    return nearest;
}

char MnemonicOf(const char* caption) {
    for (const char* at = caption; *at; ++at) {
        if (*at == '&') {
            if (at[1] != '&') {
                return Upper(at[1]);
            }
            ++at; // "&&" shows one ampersand
        }
    }
    return 0;
}

bool CaptionFits(int textWidth, int textHeight, int buttonWidth, int buttonHeight) {
    return textWidth <= buttonWidth - kCaptionMarginX &&
           textHeight <= buttonHeight - kCaptionMarginY;
}

CheckReport::CheckReport() : text_(), length_(0), lineStart_(0), lineFits_(true), counts_() {}

void CheckReport::Begin(CheckSeverity severity) {
    static const char* const kPrefixes[] = {"note: ", "warning: ", "error: "};
    ++counts_[severity];
    lineStart_ = length_;
    lineFits_ = true;
    Add(kPrefixes[severity]);
}

void CheckReport::Add(const char* text) {
    size_t length = strlen(text);
    // Room for the line's end and the terminating zero.
    if (!lineFits_ || length_ + length + 3 > kRoom) {
        lineFits_ = false;
        return;
    }
    memcpy(text_ + length_, text, length);
    length_ += length;
    text_[length_] = '\0';
}

void CheckReport::End() {
    if (!lineFits_) {
        // A finding that does not fit is left out whole.
        length_ = lineStart_;
    } else {
        memcpy(text_ + length_, "\r\n", 3);
        length_ += 2;
    }
    text_[length_] = '\0';
}

int CheckReport::ExitCode() const {
    return counts_[kCheckError] > 0 ? 2 : counts_[kCheckWarning] > 0 ? 1 : 0;
}
