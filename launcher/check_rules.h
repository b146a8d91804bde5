// The publisher's check as plain rules: names that are nearly known ones,
// mnemonics, whether a caption fits its button, and the report's lines and
// verdict. The platform's answers are passed in.
#ifndef TANDREL_LAUNCHER_CHECK_RULES_H
#define TANDREL_LAUNCHER_CHECK_RULES_H

#include <cstddef>

// The known name that `name` is nearly (one or two letters added, dropped,
// changed or swapped, and fewer than half of its letters), or null when
// none is that near or `name` is itself known.
const char16_t* NearestName(const char16_t* name, const char16_t* const known[], int count);

// The upper-cased character after a caption's first single `&`, or 0.
char16_t MnemonicOf(const char16_t* caption);

// Room that a push button leaves for its caption inside its edges and focus
// rectangle, in pixels.
const int kCaptionMarginX = 8;
const int kCaptionMarginY = 4;
bool CaptionFits(int textWidth, int textHeight, int buttonWidth, int buttonHeight);

// The work area of a common laptop screen: 1366 x 768 less a 40-pixel taskbar.
const int kSmallScreenWidth = 1366;
const int kSmallScreenHeight = 728;

enum CheckSeverity { kCheckNote, kCheckWarning, kCheckError };

// The report: one line a finding, "error: ", "warning: " or "note: " first.
// Its text has a fixed room; what does not fit is counted but left out.
class CheckReport {
  public:
    CheckReport();

    // Starts a finding; `Add` appends to it; `End` closes its line.
    void Begin(CheckSeverity severity);
    void Add(const char16_t* text);
    void End();

    const char16_t* Text() const { return text_; }
    int Errors() const { return counts_[kCheckError]; }
    int Warnings() const { return counts_[kCheckWarning]; }
    // 2 when there is an error, 1 for warnings only, 0 when the panel will
    // show as configured.
    int ExitCode() const;

  private:
    static const size_t kRoom = 16384;
    char16_t text_[kRoom];
    size_t length_;
    size_t lineStart_;
    bool lineFits_;
    int counts_[3];
};

#endif
