#include "launcher/check_rules.h"

#include <cstring>

#include "launcher/settings_text.h"
#include "launcher/utf16.h"

namespace {

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Edits between two names of at most 99 characters, letters compared without
// case, a swap of neighbours counting as one.
int Distance(const char16_t* a, const char16_t* b) {
    const std::size_t kMost = 100;
    std::size_t m = Utf16Length(a), n = Utf16Length(b);
    if (m >= kMost || n >= kMost) {
        return 1000;
    }
    int rows[3][kMost + 1];
    int* before = rows[0];
    int* previous = rows[1];
    int* current = rows[2];
    for (std::size_t j = 0; j <= n; ++j) {
        previous[j] = static_cast<int>(j);
    }
    for (std::size_t i = 1; i <= m; ++i) {
        current[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= n; ++j) {
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

const char16_t* NearestName(const char16_t* name, const char16_t* const known[], int count) {
    const char16_t* nearest = nullptr;
    int nearestDistance = 3;
    TextSpan span = {name, Utf16Length(name)};
    for (int i = 0; i < count; ++i) {
        if (SameSettingsName(span, known[i])) {
            return nullptr;
        }
        int distance = Distance(name, known[i]);
        if (distance < nearestDistance && 2 * distance < static_cast<int>(span.length)) {
            nearest = known[i];
            nearestDistance = distance;
        }
    }
    return nearest;
}

char16_t MnemonicOf(const char16_t* caption) {
    for (const char16_t* at = caption; *at; ++at) {
        if (*at == u'&') {
            if (at[1] != u'&') {
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
    static const char16_t* const kPrefixes[] = {u"note: ", u"warning: ", u"error: "};
    ++counts_[severity];
    lineStart_ = length_;
    lineFits_ = true;
    Add(kPrefixes[severity]);
}

void CheckReport::Add(const char16_t* text) {
    std::size_t length = Utf16Length(text);
    // Room for the line's end and the terminating zero.
    if (!lineFits_ || length_ + length + 3 > kRoom) {
        lineFits_ = false;
        return;
    }
    std::memcpy(text_ + length_, text, length * sizeof(char16_t));
    length_ += length;
    text_[length_] = u'\0';
}

void CheckReport::End() {
    if (!lineFits_) {
        // A finding that does not fit is left out whole.
        length_ = lineStart_;
    } else {
        std::memcpy(text_ + length_, u"\r\n", 3 * sizeof(char16_t));
        length_ += 2;
    }
    text_[length_] = u'\0';
}

int CheckReport::ExitCode() const {
    return counts_[kCheckError] > 0 ? 2 : counts_[kCheckWarning] > 0 ? 1 : 0;
}
