// What the check finds, in the order a publisher fixes things: the settings
// file and its encoding, its languages, its names and values, then for each
// language the captions, the pictures, the icon and the installer, and last
// the program's own name.
#include "launcher/check.h"

#include <cstdarg>
#include <cstring>
#include <new>

#include "dib/dib_image.h"
#include "launcher/command_line.h"
#include "launcher/display.h"
#include "launcher/language.h"
#include "launcher/launcher.h"
#include "launcher/settings_file.h"
#include "launcher/signature_file.h"
#include "launcher/user_languages.h"
#include "launcher/wide_text.h"

namespace {

// Why the panel shows no picture, in the publisher's words.
const WCHAR* RefusalText(dib::Refusal why) {
    switch (why) {
    case dib::Refusal::HeaderTooShort:
        return L"the file ends within its headers: it is cut short or damaged";
    case dib::Refusal::HeaderSizeNotSupported:
        return L"it is no picture the panel reads: a BMP file's header must have 12, 16, 40, 52, "
               L"56, 64, 108 or 124 bytes, or the file must be a PNG, JPEG or GIF";
    case dib::Refusal::HeightTooLarge:
    case dib::Refusal::NegativeWidth:
    case dib::Refusal::SizeOverflow:
        return L"its stated width, height and bit count do not make a picture of under 4 GB";
    case dib::Refusal::NoColourTable:
        return L"it has 8 bits per pixel or fewer but no colour table";
    case dib::Refusal::ColourTableTooLarge:
        return L"its colour table has more than 16383 entries";
    case dib::Refusal::CompressionNotShown:
        return L"its compression is not one the panel draws: save it uncompressed";
    case dib::Refusal::BitCountNotShown:
        return L"its bits per pixel are not drawn with its compression: save it uncompressed";
    case dib::Refusal::PictureTooLarge:
        return L"it is larger than 32768 pixels on a side";
    case dib::Refusal::NameTooLong:
        return L"its name has 260 characters or more";
    case dib::Refusal::NoMemory:
        return L"there is not enough memory for it";
    case dib::Refusal::NoDecoder:
        return L"this Windows has no decoder for its format (PNG needs Windows Vista or later, "
               L"or XP with the Windows Imaging Component)";
    case dib::Refusal::DecoderFailed:
        return L"the system's decoder does not take it: is the file damaged?";
    default:
        return L"it cannot be read";
    }
}

// The name of a file after its path's last backslash.
const WCHAR* FileNameOf(const WCHAR* path) {
    const WCHAR* name = path;
    for (const WCHAR* at = path; *at; ++at) {
        name = *at == L'\\' ? at + 1 : name;
    }
    return name;
}

const WCHAR* EncodingText(const SettingsText& text) {
    switch (text.Encoding()) {
    case TextEncoding::Utf8:
        return L"UTF-8";
    case TextEncoding::Utf8WithBom:
        return L"UTF-8 with a byte-order mark";
    case TextEncoding::Utf16Le:
        return L"UTF-16 (little-endian)";
    case TextEncoding::Utf16Be:
        return L"UTF-16 (big-endian)";
    case TextEncoding::Ansi:
        break;
    }
    return text.HasBytesAbove127() ? L"this machine's ANSI code page" : L"plain ASCII";
}

class Checker {
  public:
    Checker(HINSTANCE instance, const char16_t* forced, CheckReport* report)
        : instance_(instance), forced_(forced && forced[0] ? forced : nullptr), report_(report) {}
    void Run();

  private:
    // One finding, formatted as wsprintf does (%s, %d; at most 1024 characters).
    void Say(CheckSeverity severity, const WCHAR* format, ...) {
        WCHAR line[1025];
        va_list arguments;
        va_start(arguments, format);
        wvsprintfW(line, format, arguments);
        va_end(arguments);
        report_->Begin(severity);
        report_->Add(U(line));
        report_->End();
    }
    const WCHAR* Key(int setting) const { return W(file_.Names().keys[setting]); }
    // The section a setting of `settings` came from, "General" or "General.ja".
    const WCHAR* SectionOf(int setting, const Settings& settings, const char16_t* language);
    // Where a file's name came from, " ([General.ja] Bmp)", for a language's own.
    const WCHAR* Origin(int setting, const Settings& settings, const char16_t* language);

    void ReportFile();
    void Languages();
    void Structure();
    void CutValues(const char16_t* language);
    void Findings(const char16_t* language);
    void Captions(const char16_t* language, const Settings& settings, const Settings* plain);
    void Picture(const char16_t* language, const Settings& settings, const Settings* plain);
    void SharpPicture(const char16_t* language, const Settings& settings, int width, int height);
    void Icon(const char16_t* language, const Settings& settings);
    void Installer(const char16_t* language, const Settings& settings);
    void Signatures();
    void ProgramName();

    HINSTANCE instance_;
    const char16_t* forced_;
    CheckReport* report_;
    SettingsFile file_;
    const WCHAR* ini_ = L"";
    WCHAR directory_[MAX_PATH] = {};
    // The program's own path; empty when it does not fit.
    WCHAR program_[MAX_PATH] = {};
    char16_t offered_[kMostLanguages][kLanguageTagSize] = {};
    int offeredCount_ = 0;
    WCHAR section_[kSettingTextSize] = {};
    WCHAR origin_[2 * kSettingTextSize] = {};
    // The installer that the customer's language starts, as found.
    WCHAR installer_[MAX_PATH] = {};
};

const WCHAR* Checker::SectionOf(int setting, const Settings& settings, const char16_t* language) {
    SectionName(file_.Names(), kSettingRows[setting].section,
                settings.localised[setting] ? language : nullptr, U(section_));
    return section_;
}

const WCHAR* Checker::Origin(int setting, const Settings& settings, const char16_t* language) {
    origin_[0] = L'\0';
    if (settings.localised[setting]) {
        wsprintfW(origin_, L" ([%s] %s)", SectionOf(setting, settings, language), Key(setting));
    }
    return origin_;
}

void Checker::ReportFile() {
    DWORD length = GetCurrentDirectoryW(MAX_PATH, directory_);
    if (length == 0 || length >= MAX_PATH) {
        directory_[0] = L'\0';
    }
    const WCHAR* path = W(file_.Names().file);
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        Say(kCheckError,
            L"%s: not found in %s (the current directory), so the panel will not open: start "
            L"tandrel.exe with the distribution's root as its current directory",
            ini_, directory_);
    } else if (!file_.Found()) {
        Say(kCheckError, L"%s: cannot be read, or is larger than 1 MB, so the panel will not open",
            ini_);
    } else {
        const SettingsText& text = file_.Text();
        Say(kCheckNote, L"%s: read from %s (the current directory), saved as %s", ini_, directory_,
            EncodingText(text));
        if (text.Encoding() == TextEncoding::Ansi && text.HasBytesAbove127()) {
            Say(kCheckWarning,
                L"%s: it holds characters beyond ASCII in this machine's code page, which "
                L"customers whose Windows uses another one see as other characters: save it as "
                L"UTF-8",
                ini_);
        }
    }
    // Started through a shortcut or from another folder, the program reads
    // the settings of the folder it was started in, not those beside it.
    std::size_t folderLength = static_cast<std::size_t>(FileNameOf(program_) - program_);
    if (folderLength == 0) {
        return;
    }
    WCHAR folder[MAX_PATH] = {};
    WCHAR besideProgram[MAX_PATH + kSettingTextSize] = {};
    std::memcpy(folder, program_, (folderLength - 1) * sizeof(WCHAR)); // without the backslash
    wsprintfW(besideProgram, L"%s\\%s", folder, ini_);
    if (lstrcmpiW(folder, directory_) != 0 &&
        GetFileAttributesW(besideProgram) != INVALID_FILE_ATTRIBUTES) {
        Say(kCheckWarning,
            L"%s: the program's own folder %s holds one too, which the panel does not read: is "
            L"it started from a shortcut or a folder other than the distribution's root?",
            ini_, folder);
    }
}

void Checker::Languages() {
    offeredCount_ = OfferedLanguages(file_.Text(), file_.Names(), offered_);
    WCHAR list[kMostLanguages * (kLanguageTagSize + 2)] = {};
    for (int i = 0; i < offeredCount_; ++i) {
        if (i > 0) {
            lstrcatW(list, L", ");
        }
        lstrcatW(list, W(offered_[i]));
        if (!IsLanguageTag(offered_[i])) {
            Say(kCheckWarning,
                L"%s: [%s.%s] and [%s.%s]: \"%s\" is not a language tag (such as ja, de or "
                L"pt-BR), so no customer sees these sections",
                ini_, W(file_.Names().sections[0]), W(offered_[i]), W(file_.Names().sections[1]),
                W(offered_[i]), W(offered_[i]));
        }
    }
    char16_t chosen[kLanguageTagSize];
    file_.ChooseLanguage(forced_, chosen);
    WCHAR shown[3 * kSettingTextSize] = L"the plain sections";
    if (chosen[0]) {
        wsprintfW(shown, L"[%s.%s] and [%s.%s] over the plain sections",
                  W(file_.Names().sections[0]), W(chosen), W(file_.Names().sections[1]), W(chosen));
    }
    if (forced_) {
        Say(kCheckNote, L"%s: checked as customers of language %s see it: %s", ini_, W(forced_),
            shown);
    } else if (offeredCount_ > 0) {
        UserLanguages user;
        ReadUserLanguages(&user);
        Say(kCheckNote, L"%s: languages %s besides the plain sections; this machine (%s) shows %s",
            ini_, list, user.count ? W(user.tags[0]) : L"language unknown", shown);
    }
}

// Sections and keys the panel does not read, and keys in the wrong section.
void Checker::Structure() {
    const SettingNames& names = file_.Names();
    const char16_t* knownSections[kSectionCount] = {names.sections[0], names.sections[1]};
    const char16_t* knownKeys[kSettingCount];
    for (int setting = 0; setting < kSettingCount; ++setting) {
        knownKeys[setting] = names.keys[setting];
    }
    std::size_t cursor = 0;
    SettingsLine line = {};
    int section = -1; // the known section the lines are in, -2 in an unknown one
    char16_t tag[kSettingTextSize] = {};
    const char16_t* language = nullptr;
    WCHAR name[kSettingTextSize];
    WCHAR home[kSettingTextSize];
    while (NextSettingsLine(file_.Text(), &cursor, &line)) {
        if (line.kind == SettingsLine::kOther || line.name.length >= kSettingTextSize) {
            continue;
        }
        CopyCut(line.name, U(name), kSettingTextSize);
        if (line.kind == SettingsLine::kSection) {
            section = -2;
            language = nullptr;
            for (int i = 0; i < kSectionCount; ++i) {
                TextSpan tagOfLine = {nullptr, 0};
                if (SameSettingsName(line.name, names.sections[i])) {
                    section = i;
                } else if (TagOfSection(line.name, names.sections[i], &tagOfLine)) {
                    section = i;
                    CopyCut(tagOfLine, tag, kSettingTextSize);
                    language = tag;
                }
            }
            if (section == -2) {
                const char16_t* nearest = NearestName(U(name), knownSections, kSectionCount);
                Say(kCheckWarning,
                    L"%s: [%s]: not a section the panel reads, so its keys are ignored%s%s%s", ini_,
                    name, nearest ? L"; did you mean [" : L"", nearest ? W(nearest) : L"",
                    nearest ? L"]?" : L"");
            }
            continue;
        }
        if (section == -2) {
            continue;
        }
        int key = kSettingCount - 1;
        while (key >= 0 && !SameSettingsName(line.name, names.keys[key])) {
            --key;
        }
        if (section == -1) {
            Say(kCheckWarning, L"%s: %s: outside any section, so it is ignored", ini_, name);
        } else if (key >= 0 && kSettingRows[key].section != section) {
            SectionName(names, section, language, U(home));
            WCHAR other[kSettingTextSize];
            SectionName(names, kSettingRows[key].section, language, U(other));
            Say(kCheckWarning, L"%s: [%s] %s: belongs in [%s], so it is ignored here", ini_, home,
                name, other);
        } else if (key < 0) {
            SectionName(names, section, language, U(home));
            const char16_t* nearest = NearestName(U(name), knownKeys, kSettingCount);
            Say(kCheckWarning, L"%s: [%s] %s: not a key the panel reads, so it is ignored%s%s%s",
                ini_, home, name, nearest ? L"; did you mean " : L"", nearest ? W(nearest) : L"",
                nearest ? L"?" : L"");
        }
    }
}

void Checker::CutValues(const char16_t* language) {
    for (int setting = 0; setting < kSettingCount; ++setting) {
        const SettingRow& row = kSettingRows[setting];
        char16_t section[kSettingTextSize];
        TextSpan value;
        if (row.kind != SettingKind::kText ||
            !SectionName(file_.Names(), row.section, language, section) ||
            !FindSettingsValue(file_.Text(), section, file_.Names().keys[setting], &value) ||
            value.length <= static_cast<std::size_t>(row.limit)) {
            continue;
        }
        Say(kCheckWarning, L"%s: [%s] %s: %d characters, of which the panel reads the first %d%s",
            ini_, W(section), Key(setting), static_cast<int>(value.length), row.limit,
            setting == kInstaller ? L", so the installer would get the wrong command line"
                                  : L"; shorten it");
    }
}

void Checker::Captions(const char16_t* language, const Settings& settings, const Settings* plain) {
    bool sizesLocal =
        !plain || settings.localised[kButtonWidth] || settings.localised[kButtonHeight];
    bool captionsLocal = !plain || settings.localised[kInstallBut] ||
                         settings.localised[kBrowseBut] || settings.localised[kCancelBut];
    if (!settings.HasCaption()) {
        if (!captionsLocal) {
            return;
        }
        Say(kCheckError, L"%s: [%s]: none of %s, %s and %s is set, so the panel will not open",
            ini_, SectionOf(kInstallBut, settings, language), Key(kInstallBut), Key(kBrowseBut),
            Key(kCancelBut));
        return;
    }
    const int sizes[2] = {settings.Number(kButtonWidth), settings.Number(kButtonHeight)};
    for (int i = 0; i < 2 && sizesLocal; ++i) {
        if (sizes[i] <= 0) {
            Say(kCheckError,
                L"%s: [%s] %s: %s, so the buttons cannot be seen or clicked (100 x 30 is usual)",
                ini_, SectionOf(kButtonWidth + i, settings, language), Key(kButtonWidth + i),
                sizes[i] == 0 ? L"missing or 0" : L"negative");
        }
    }
    // The buttons' font as at 100 %, the scale at which ButtonWidth and
    // ButtonHeight are given; both grow together on scaled displays.
    HDC dc = GetDC(nullptr);
    HFONT font = CreateMessageFont(kDefaultDpi);
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    for (int slot = 0; slot < kSlotCount; ++slot) {
        int setting = kInstallBut + slot;
        const char16_t* caption = settings.Caption(slot);
        if (!caption[0] || (!sizesLocal && !settings.localised[setting])) {
            continue;
        }
        RECT text = {0, 0, 0, 0};
        DrawTextW(dc, W(caption), -1, &text, DT_CALCRECT | DT_SINGLELINE);
        int width = text.right - text.left, height = text.bottom - text.top;
        if (sizes[0] > 0 && sizes[1] > 0 && !CaptionFits(width, height, sizes[0], sizes[1])) {
            Say(kCheckWarning,
                L"%s: [%s] %s: \"%s\" takes %d x %d pixels and will be clipped: make %s at least "
                L"%d and %s at least %d",
                ini_, SectionOf(setting, settings, language), Key(setting), W(caption), width,
                height, Key(kButtonWidth), width + kCaptionMarginX, Key(kButtonHeight),
                height + kCaptionMarginY);
        }
        char16_t mnemonic = MnemonicOf(caption);
        for (int other = 0; mnemonic && other < slot; ++other) {
            if (MnemonicOf(settings.Caption(other)) == mnemonic) {
                WCHAR letter[2] = {static_cast<WCHAR>(mnemonic), L'\0'};
                Say(kCheckWarning, L"%s: [%s] %s: its mnemonic &%s is also that of %s", ini_,
                    SectionOf(setting, settings, language), Key(setting), letter,
                    Key(kInstallBut + other));
            }
        }
    }
    SelectObject(dc, previous);
    if (font) {
        DeleteObject(font);
    }
    ReleaseDC(nullptr, dc);
}

void Checker::Picture(const char16_t* language, const Settings& settings, const Settings* plain) {
    const WCHAR* name = W(settings.Text(kBmp));
    const WCHAR* lost = L"so the window is only its frame and the buttons lie outside it";
    int width = 0, height = 0;
    DibImage* image =
        name[0] ? new (std::nothrow) DibImage(name, GetSysColor(Launcher::kBackground)) : nullptr;
    bool shown = image && image->GetSize(&width, &height);
    dib::Refusal why = image ? image->LastRefusal() : dib::Refusal::None;
    delete image;
    bool local = !plain || settings.localised[kBmp];
    if (!name[0]) {
        if (local) {
            Say(kCheckError, L"%s: [%s] %s: no picture, %s", ini_,
                SectionOf(kBmp, settings, language), Key(kBmp), lost);
        }
    } else if (!shown) {
        if (local && why == dib::Refusal::FileNotFound) {
            Say(kCheckError, L"%s%s: not found, %s", name, Origin(kBmp, settings, language), lost);
        } else if (local) {
            Say(kCheckError, L"%s%s: not shown, %s; %s", name, Origin(kBmp, settings, language),
                lost, RefusalText(why));
        }
    } else {
        if (local) {
            Say(kCheckNote, L"%s%s: %d x %d pixels", name, Origin(kBmp, settings, language), width,
                height);
        }
        if (local || settings.localised[kButtonWidth]) {
            PanelInput input = {};
            input.pictureWidth = width;
            input.pictureHeight = height;
            input.buttonWidth = settings.Number(kButtonWidth);
            input.buttonHeight = settings.Number(kButtonHeight);
            input.dpi = kDefaultDpi;
            input.frame = WindowFrame(Launcher::kWindowStyle, kDefaultDpi);
            input.areaKind = ScreenArea::kNone;
            Box panel = LayOutPanel(input).window;
            int panelWidth = panel.right - panel.left, panelHeight = panel.bottom - panel.top;
            if (panelWidth > kSmallScreenWidth || panelHeight > kSmallScreenHeight) {
                Say(kCheckWarning,
                    L"%s: the panel is %d x %d pixels, more than a 1366 x 768 screen shows above "
                    L"its taskbar",
                    name, panelWidth, panelHeight);
            }
        }
    }
    if (settings.Text(kBmp2x)[0] && (!plain || settings.localised[kBmp2x] || local)) {
        SharpPicture(language, settings, shown ? width : 0, shown ? height : 0);
    }
}

// The twin at twice the size, drawn in the picture's place on scaled displays.
void Checker::SharpPicture(const char16_t* language, const Settings& settings, int width,
                           int height) {
    const WCHAR* name = W(settings.Text(kBmp2x));
    int sharpWidth = 0, sharpHeight = 0;
    DibImage image(name, GetSysColor(Launcher::kBackground));
    if (!image.GetSize(&sharpWidth, &sharpHeight)) {
        dib::Refusal why = image.LastRefusal();
        Say(kCheckWarning, L"%s%s: %s, so scaled displays show %s enlarged instead; %s", name,
            Origin(kBmp2x, settings, language),
            why == dib::Refusal::FileNotFound ? L"not found" : L"not shown", Key(kBmp),
            RefusalText(why));
    } else if (width > 0 && (sharpWidth != 2 * width || sharpHeight != 2 * height)) {
        Say(kCheckWarning,
            L"%s%s: %d x %d pixels, not twice %s's %d x %d, so scaled displays show it "
            L"stretched",
            name, Origin(kBmp2x, settings, language), sharpWidth, sharpHeight, Key(kBmp), width,
            height);
    } else {
        Say(kCheckNote, L"%s: %d x %d pixels, shown on displays scaled above 100 %%", name,
            sharpWidth, sharpHeight);
    }
}

void Checker::Icon(const char16_t* language, const Settings& settings) {
    const WCHAR* name = W(settings.Text(kSysMenuIcon));
    if (!name[0]) {
        return;
    }
    HANDLE icon = LoadImageW(nullptr, name, IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
    if (icon) {
        DestroyIcon(static_cast<HICON>(icon));
        Say(kCheckNote, L"%s: the window's icon", name);
    } else {
        Say(kCheckWarning, L"%s%s: %s, so the window keeps the program's own icon", name,
            Origin(kSysMenuIcon, settings, language),
            GetFileAttributesW(name) == INVALID_FILE_ATTRIBUTES ? L"not found"
                                                                : L"not an icon file");
    }
}

void Checker::Installer(const char16_t* language, const Settings& settings) {
    const char16_t* commandLine = settings.Text(kInstaller);
    char16_t program[kSettingTextSize];
    const char16_t* parameters = u"";
    WCHAR found[MAX_PATH] = {};
    if (!commandLine[0]) {
        if (settings.Caption(kInstallSlot)[0]) {
            Say(kCheckWarning, L"%s: [%s] %s: missing, so Install only closes the panel", ini_,
                SectionOf(kInstaller, settings, language), Key(kInstaller));
        }
        return;
    }
    DWORD length = 0;
    if (SplitCommandLine(commandLine, program, kSettingTextSize, &parameters)) {
        length = SearchPathW(nullptr, W(program), L".exe", MAX_PATH, found, nullptr);
    }
    if (length == 0 || length >= MAX_PATH) {
        Say(kCheckError,
            L"%s: [%s] %s: the program \"%s\" is not found beside tandrel.exe, in the current "
            L"directory or on the system's path, so Install will not start it",
            ini_, SectionOf(kInstaller, settings, language), Key(kInstaller), W(program));
        return;
    }
    Say(kCheckNote, L"Install starts %s with the parameters \"%s\"%s", found, W(parameters),
        Origin(kInstaller, settings, language));
    if (!installer_[0]) {
        lstrcpyW(installer_, found);
    }
    HMODULE module = LoadLibraryExW(found, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const WCHAR* kManifestType = MAKEINTRESOURCEW(24); // RT_MANIFEST
    HRSRC manifest = module ? FindResourceW(module, MAKEINTRESOURCEW(1), kManifestType) : nullptr;
    const char* text =
        manifest ? static_cast<const char*>(LockResource(LoadResource(module, manifest))) : nullptr;
    DWORD size = text ? SizeofResource(module, manifest) : 0;
    const char kLevel[] = "requireAdministrator";
    for (DWORD at = 0; at + sizeof(kLevel) - 1 <= size; ++at) {
        if (std::memcmp(text + at, kLevel, sizeof(kLevel) - 1) == 0) {
            Say(kCheckNote, L"%s asks for administrator rights: the user will see a consent prompt",
                W(program));
            break;
        }
    }
    if (module) {
        FreeLibrary(module);
    }
}

// The findings of one language: all of them for the plain sections or a
// language checked on its own, else those that its own values change.
void Checker::Findings(const char16_t* language) {
    Settings* settings = new (std::nothrow) Settings;
    Settings* plain = language && !forced_ ? new (std::nothrow) Settings : nullptr;
    if (!settings || (language && !forced_ && !plain)) {
        Say(kCheckError, L"not enough memory for the check");
    } else {
        file_.Read(language, settings);
        if (plain) {
            file_.Read(nullptr, plain);
        }
        CutValues(language);
        Captions(language, *settings, plain);
        Picture(language, *settings, plain);
        if (!plain || settings->localised[kSysMenuIcon]) {
            Icon(language, *settings);
        }
        if (!plain || settings->localised[kInstaller] || settings->localised[kInstallBut]) {
            Installer(language, *settings);
        }
    }
    delete plain;
    delete settings;
}

// Customers who downloaded the distribution are warned before an unsigned
// program runs; whether the panel and the installer are signed is read from
// their files, not verified.
void Checker::Signatures() {
    // Windows' own programs (msiexec, cmd) are signed in its catalogs, not
    // in their files.
    WCHAR windows[MAX_PATH] = {};
    DWORD length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length > 0 && length < MAX_PATH && installer_[length] == L'\\' &&
        CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, installer_, static_cast<int>(length),
                       windows, static_cast<int>(length)) == CSTR_EQUAL) {
        installer_[0] = L'\0';
    }
    const WCHAR* files[2] = {program_, installer_};
    for (const WCHAR* file : files) {
        if (!file[0]) {
            continue;
        }
        const WCHAR* name = FileNameOf(file);
        WCHAR signer[kSettingTextSize];
        signature::Kind kind = ReadSignature(file, signer, kSettingTextSize);
        if (kind == signature::Kind::Signed) {
            Say(kCheckNote, L"%s: signed by %s (read from its certificate, not verified)", name,
                signer[0] ? signer : L"a certificate that gives no name");
        } else if (kind == signature::Kind::NotProgram) {
            Say(kCheckNote,
                L"%s: not a program file (an .msi package or a script?), so whether it is signed "
                L"is not read",
                name);
        } else {
            Say(kCheckWarning,
                L"%s: %s, so customers who downloaded it see a SmartScreen warning before it "
                L"runs, and Smart App Control may block it: sign it (tools/sign.sh; README.txt "
                L"says how)",
                name,
                kind == signature::Kind::Unsigned ? L"not signed"
                                                  : L"its signature cannot be read");
        }
    }
}

// Windows takes a program named like an installer for one and asks for
// administrator rights before starting it, unless its manifest says otherwise.
void Checker::ProgramName() {
    const WCHAR* name = FileNameOf(program_);
    if (!name[0]) {
        return;
    }
    WCHAR upper[MAX_PATH];
    lstrcpyW(upper, name);
    CharUpperW(upper);
    static const WCHAR* const kInstallerWords[] = {L"SETUP", L"INSTALL", L"UPDATE", L"PATCH"};
    for (const WCHAR* word : kInstallerWords) {
        if (wcsstr(upper, word)) {
            Say(kCheckNote,
                L"%s: Windows takes a program of this name for an installer, but tandrel's "
                L"manifest (asInvoker) keeps it from asking for administrator rights",
                name);
            return;
        }
    }
}

void Checker::Run() {
    if (!file_.Load(instance_)) {
        Say(kCheckError, L"the program's texts are missing: it is damaged");
        return;
    }
    DWORD length = GetModuleFileNameW(nullptr, program_, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        program_[0] = L'\0';
    }
    ini_ = W(file_.Names().file);
    if (ini_[0] == L'.' && ini_[1] == L'\\') {
        ini_ += 2;
    }
    ReportFile();
    Languages();
    Structure();
    if (forced_) {
        CutValues(nullptr); // the plain sections' values that the language keeps
        Findings(forced_);
    } else {
        Findings(nullptr);
        for (int i = 0; i < offeredCount_; ++i) {
            Findings(offered_[i]);
        }
    }
    Signatures();
    ProgramName();
    int errors = report_->Errors(), warnings = report_->Warnings();
    Say(kCheckNote, L"%d error(s), %d warning(s): %s", errors, warnings,
        errors     ? L"the panel will not work as configured"
        : warnings ? L"the panel opens, but not all as configured"
                   : L"the panel will show as configured");
}

} // namespace

void RunCheck(HINSTANCE instance, const char16_t* language, CheckReport* report) {
    Checker(instance, language, report).Run();
}
