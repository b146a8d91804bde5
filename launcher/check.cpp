// What the check finds, in the order a publisher fixes things: the settings
// file, its names and values, the captions, the picture, the icon, the
// installer and the program's own name.
#include "launcher/check.h"

#include <cstdarg>
#include <cstring>
#include <new>

#include "dib/dib_image.h"
#include "launcher/command_line.h"
#include "launcher/display.h"
#include "launcher/launcher.h"
#include "launcher/launcher_strings.h"

namespace {

const int kSectionCount = 2;
const UINT kSectionIds[kSectionCount] = {IDS_SECTION_GENERAL, IDS_SECTION_BUTTON_CAPTIONS};
// The keys of [General], its text keys first, then those of [Button_Captions].
const int kKeyCount = 10;
const int kGeneralKeys = 7;
const UINT kKeyIds[kKeyCount] = {IDS_KEY_TITLE_BAR,     IDS_KEY_SYS_MENU_ICON, IDS_KEY_BMP,
                                 IDS_KEY_BMP_2X,        IDS_KEY_INSTALLER,     IDS_KEY_BUTTON_WIDTH,
                                 IDS_KEY_BUTTON_HEIGHT, IDS_KEY_INSTALL_BUT,   IDS_KEY_BROWSE_BUT,
                                 IDS_KEY_CANCEL_BUT};
enum {
    kTitleKey,
    kIconKey,
    kBmpKey,
    kBmp2xKey,
    kInstallerKey,
    kWidthKey,
    kHeightKey,
    kFirstCaptionKey
};

int SectionOfKey(int key) {
    return key < kGeneralKeys ? 0 : 1;
}

// Room for a whole section of the settings file, or all its section names,
// and for a value, to see how long it really is.
const DWORD kListRoom = 32768;
const DWORD kValueRoom = 4096;

class Checker {
  public:
    Checker(HINSTANCE instance, CheckReport* report) : instance_(instance), report_(report) {}
    void Run();

  private:
    // One finding, formatted as wsprintf does (%s, %d; at most 1024 bytes).
    void Say(CheckSeverity severity, const char* format, ...) {
        char line[1025];
        va_list arguments;
        va_start(arguments, format);
        wvsprintfA(line, format, arguments);
        va_end(arguments);
        report_->Begin(severity);
        report_->Add(line);
        report_->End();
    }
    const char* Section(int key) const { return sections_[SectionOfKey(key)]; }

    bool LoadNames();
    void SettingsFile();
    void UnknownSections(char* list);
    void UnknownKeys(int section, char* list);
    void CutValues(char* value);
    void Captions();
    void Caption(int slot, HDC dc);
    void Picture();
    void Icon();
    void Installer();
    void ProgramName();

    HINSTANCE instance_;
    CheckReport* report_;
    Launcher* launcher_ = nullptr;
    char iniPath_[kLauncherTextSize] = {};
    const char* ini_ = "";
    char sections_[kSectionCount][kLauncherTextSize] = {};
    char keys_[kKeyCount][kLauncherTextSize] = {};
    char directory_[MAX_PATH] = {};
};

bool Checker::LoadNames() {
    if (LoadStringA(instance_, IDS_INI_FILE, iniPath_, kLauncherTextSize) == 0) {
        return false;
    }
    ini_ = strncmp(iniPath_, ".\\", 2) == 0 ? iniPath_ + 2 : iniPath_;
    for (int i = 0; i < kSectionCount; ++i) {
        LoadStringA(instance_, kSectionIds[i], sections_[i], kLauncherTextSize);
    }
    for (int i = 0; i < kKeyCount; ++i) {
        LoadStringA(instance_, kKeyIds[i], keys_[i], kLauncherTextSize);
    }
    return true;
}

void Checker::SettingsFile() {
    DWORD length = GetCurrentDirectoryA(MAX_PATH, directory_);
    if (length == 0 || length >= MAX_PATH) {
        directory_[0] = '\0';
    }
    if (GetFileAttributesA(iniPath_) == INVALID_FILE_ATTRIBUTES) {
        Say(kCheckError,
            "%s: not found in %s (the current directory), so the panel will not open: start "
            "tandrel.exe with the distribution's root as its current directory",
            ini_, directory_);
    } else {
        Say(kCheckNote, "%s: read from %s (the current directory)", ini_, directory_);
    }
    // Started through a shortcut or from another folder, the program reads
    // the settings of the folder it was started in, not those beside it.
    char folder[MAX_PATH] = {};
    char besideProgram[MAX_PATH + kLauncherTextSize] = {};
    length = GetModuleFileNameA(nullptr, folder, MAX_PATH);
    char* slash = strrchr(folder, '\\');
    if (length == 0 || length >= MAX_PATH || !slash) {
        return;
    }
    *slash = '\0';
    wsprintfA(besideProgram, "%s\\%s", folder, ini_);
    if (lstrcmpiA(folder, directory_) != 0 &&
        GetFileAttributesA(besideProgram) != INVALID_FILE_ATTRIBUTES) {
        Say(kCheckWarning,
            "%s: the program's own folder %s holds one too, which the panel does not read: is "
            "it started from a shortcut or a folder other than the distribution's root?",
            ini_, folder);
    }
}

void Checker::UnknownSections(char* list) {
    const char* known[kSectionCount] = {sections_[0], sections_[1]};
    DWORD got = GetPrivateProfileSectionNamesA(list, kListRoom, iniPath_);
    for (const char* name = list; got > 0 && *name; name += strlen(name) + 1) {
        if (SameName(name, known[0]) || SameName(name, known[1])) {
            continue;
        }
        const char* nearest = NearestName(name, known, kSectionCount);
        Say(kCheckWarning, "%s: [%s]: not a section the panel reads, so its keys are ignored%s%s%s",
            ini_, name, nearest ? "; did you mean [" : "", nearest ? nearest : "",
            nearest ? "]?" : "");
    }
}

// A section's lines come as "key=value", zero-separated.
void Checker::UnknownKeys(int section, char* list) {
    const char* known[kKeyCount];
    for (int i = 0; i < kKeyCount; ++i) {
        known[i] = keys_[i];
    }
    DWORD got = GetPrivateProfileSectionA(sections_[section], list, kListRoom, iniPath_);
    char* next = list;
    for (char* line = list; got > 0 && *line; line = next) {
        next = line + strlen(line) + 1;
        char* end = strchr(line, '=');
        if (!end) {
            continue;
        }
        while (end > line && (end[-1] == ' ' || end[-1] == '\t')) {
            --end;
        }
        *end = '\0';
        int key = kKeyCount - 1;
        while (key >= 0 && !SameName(line, keys_[key])) {
            --key;
        }
        if (key >= 0 && SectionOfKey(key) != section) {
            Say(kCheckWarning, "%s: [%s] %s: belongs in [%s], so it is ignored here", ini_,
                sections_[section], line, Section(key));
        } else if (key < 0) {
            const char* nearest = NearestName(line, known, kKeyCount);
            Say(kCheckWarning, "%s: [%s] %s: not a key the panel reads, so it is ignored%s%s%s",
                ini_, sections_[section], line, nearest ? "; did you mean " : "",
                nearest ? nearest : "", nearest ? "?" : "");
        }
    }
}

void Checker::CutValues(char* value) {
    for (int key = 0; key < kKeyCount; ++key) {
        if (key == kWidthKey || key == kHeightKey) {
            continue;
        }
        DWORD length =
            GetPrivateProfileStringA(Section(key), keys_[key], "", value, kValueRoom, iniPath_);
        if (length >= kLauncherTextSize) {
            Say(kCheckWarning,
                "%s: [%s] %s: %d characters, of which the panel reads the first 99%s", ini_,
                Section(key), keys_[key], static_cast<int>(length),
                key == kInstallerKey ? ", so the installer would get the wrong command line"
                                     : "; shorten it");
        }
    }
}

void Checker::Captions() {
    if (!launcher_->captions[0][0] && !launcher_->captions[1][0] && !launcher_->captions[2][0]) {
        Say(kCheckError, "%s: [%s]: none of %s, %s and %s is set, so the panel will not open", ini_,
            sections_[1], keys_[kFirstCaptionKey], keys_[kFirstCaptionKey + 1],
            keys_[kFirstCaptionKey + 2]);
        return;
    }
    const int sizes[2] = {launcher_->buttonWidth, launcher_->buttonHeight};
    for (int i = 0; i < 2; ++i) {
        if (sizes[i] <= 0) {
            Say(kCheckError,
                "%s: [%s] %s: %s, so the buttons cannot be seen or clicked (100 x 30 is usual)",
                ini_, sections_[0], keys_[kWidthKey + i],
                sizes[i] == 0 ? "missing or 0" : "negative");
        }
    }
    // The buttons' font as at 100 %, the scale at which ButtonWidth and
    // ButtonHeight are given; both grow together on scaled displays.
    HDC dc = GetDC(nullptr);
    HFONT font = CreateMessageFont(96);
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    for (int slot = 0; slot < kSlotCount; ++slot) {
        Caption(slot, dc);
    }
    SelectObject(dc, previous);
    if (font) {
        DeleteObject(font);
    }
    ReleaseDC(nullptr, dc);
}

// Whether a caption fits its button in the buttons' font, and whether its
// mnemonic is another caption's too.
void Checker::Caption(int slot, HDC dc) {
    const char* caption = launcher_->captions[slot];
    const char* key = keys_[kFirstCaptionKey + slot];
    if (!caption[0]) {
        return;
    }
    RECT text = {0, 0, 0, 0};
    DrawTextA(dc, caption, -1, &text, DT_CALCRECT | DT_SINGLELINE);
    int width = text.right - text.left, height = text.bottom - text.top;
    if (launcher_->buttonWidth > 0 && launcher_->buttonHeight > 0 &&
        !CaptionFits(width, height, launcher_->buttonWidth, launcher_->buttonHeight)) {
        Say(kCheckWarning,
            "%s: [%s] %s: \"%s\" takes %d x %d pixels and will be clipped: make %s at least %d "
            "and %s at least %d",
            ini_, sections_[1], key, caption, width, height, keys_[kWidthKey],
            width + kCaptionMarginX, keys_[kHeightKey], height + kCaptionMarginY);
    }
    char mnemonic = MnemonicOf(caption);
    for (int other = 0; mnemonic && other < slot; ++other) {
        if (MnemonicOf(launcher_->captions[other]) == mnemonic) {
            Say(kCheckWarning, "%s: [%s] %s: its mnemonic &%c is also that of %s", ini_,
                sections_[1], key, mnemonic, keys_[kFirstCaptionKey + other]);
        }
    }
}

// Why the panel shows no picture, in the publisher's words.
const char* RefusalText(dib::Refusal why) {
    switch (why) {
    case dib::Refusal::HeaderTooShort:
        return "the file ends within its headers: it is cut short or damaged";
    case dib::Refusal::HeaderSizeNotSupported:
        return "it is no picture the panel reads: a BMP file's header must have 12, 16, 40, 52, "
               "56, 64, 108 or 124 bytes, or the file must be a PNG, JPEG or GIF";
    case dib::Refusal::HeightTooLarge:
    case dib::Refusal::NegativeWidth:
    case dib::Refusal::SizeOverflow:
        return "its stated width, height and bit count do not make a picture of under 4 GB";
    case dib::Refusal::NoColourTable:
        return "it has 8 bits per pixel or fewer but no colour table";
    case dib::Refusal::ColourTableTooLarge:
        return "its colour table has more than 16383 entries";
    case dib::Refusal::CompressionNotShown:
        return "its compression is not one the panel draws: save it uncompressed";
    case dib::Refusal::BitCountNotShown:
        return "its bits per pixel are not drawn with its compression: save it uncompressed";
    case dib::Refusal::PictureTooLarge:
        return "it is larger than 32768 pixels on a side";
    case dib::Refusal::NameTooLong:
        return "its name has 260 characters or more";
    case dib::Refusal::NoMemory:
        return "there is not enough memory for it";
    case dib::Refusal::NoDecoder:
        return "this Windows has no decoder for its format (PNG needs Windows Vista or later, "
               "or XP with the Windows Imaging Component)";
    case dib::Refusal::DecoderFailed:
        return "the system's decoder does not take it: is the file damaged?";
    default:
        return "it cannot be read";
    }
}

void Checker::Picture() {
    const char* name = launcher_->bitmapFile;
    const char* lost = "so the window is only its frame and the buttons lie outside it";
    int width = 0, height = 0;
    WCHAR wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH);
    DibImage* image =
        name[0] ? new (std::nothrow) DibImage(wide, GetSysColor(COLOR_BTNFACE)) : nullptr;
    bool shown = image && image->GetSize(&width, &height);
    const char* why = image ? RefusalText(image->LastRefusal()) : "";
    delete image;
    if (!name[0]) {
        Say(kCheckError, "%s: [%s] %s: no picture, %s", ini_, sections_[0], keys_[kBmpKey], lost);
    } else if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) {
        Say(kCheckError, "%s: not found, %s", name, lost);
    } else if (!shown) {
        Say(kCheckError, "%s: not shown, %s; %s", name, lost, why);
    } else {
        Say(kCheckNote, "%s: %d x %d pixels", name, width, height);
        RECT frame = {0, 0, 0, 0};
        AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, 0);
        width += launcher_->buttonWidth * 3 / 2 + frame.right - frame.left;
        height += frame.bottom - frame.top;
        if (width > kSmallScreenWidth || height > kSmallScreenHeight) {
            Say(kCheckWarning,
                "%s: the panel is %d x %d pixels, more than a 1366 x 768 screen shows above its "
                "taskbar",
                name, width, height);
        }
    }
}

void Checker::Icon() {
    const char* name = launcher_->iconFile;
    if (!name[0]) {
        return;
    }
    HANDLE icon = LoadImageA(nullptr, name, IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
    if (icon) {
        DestroyIcon(static_cast<HICON>(icon));
        Say(kCheckNote, "%s: the window's icon", name);
    } else {
        Say(kCheckWarning, "%s: %s, so the window keeps the program's own icon", name,
            GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES ? "not found" : "not an icon file");
    }
}

void Checker::Installer() {
    const char* commandLine = launcher_->installer;
    char program[kLauncherTextSize];
    const char* parameters = "";
    char found[MAX_PATH] = {};
    if (!commandLine[0]) {
        if (launcher_->captions[kInstallSlot][0]) {
            Say(kCheckWarning, "%s: [%s] %s: missing, so Install only closes the panel", ini_,
                sections_[0], keys_[kInstallerKey]);
        }
        return;
    }
    DWORD length = 0;
    if (SplitCommandLine(commandLine, program, sizeof(program), &parameters)) {
        length = SearchPathA(nullptr, program, ".exe", MAX_PATH, found, nullptr);
    }
    if (length == 0 || length >= MAX_PATH) {
        Say(kCheckError,
            "%s: [%s] %s: the program \"%s\" is not found beside tandrel.exe, in the current "
            "directory or on the system's path, so Install will not start it",
            ini_, sections_[0], keys_[kInstallerKey], program);
        return;
    }
    Say(kCheckNote, "Install starts %s with the parameters \"%s\"", found, parameters);
    HMODULE module = LoadLibraryExA(found, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC manifest = module ? FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST) : nullptr;
    const char* text =
        manifest ? static_cast<const char*>(LockResource(LoadResource(module, manifest))) : nullptr;
    DWORD size = text ? SizeofResource(module, manifest) : 0;
    const char kLevel[] = "requireAdministrator";
    for (DWORD at = 0; at + sizeof(kLevel) - 1 <= size; ++at) {
        if (memcmp(text + at, kLevel, sizeof(kLevel) - 1) == 0) {
            Say(kCheckNote, "%s asks for administrator rights: the user will see a consent prompt",
                program);
            break;
        }
    }
    if (module) {
        FreeLibrary(module);
    }
}

// Windows takes a program named like an installer for one and asks for
// administrator rights before starting it, unless its manifest says otherwise.
void Checker::ProgramName() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = strrchr(path, '\\');
    name = name ? name + 1 : path;
    char upper[MAX_PATH];
    strcpy(upper, name);
    CharUpperA(upper);
    if (length > 0 && length < MAX_PATH &&
        (strstr(upper, "SETUP") || strstr(upper, "INSTALL") || strstr(upper, "UPDATE") ||
         strstr(upper, "PATCH"))) {
        Say(kCheckNote,
            "%s: Windows takes a program of this name for an installer, but tandrel's manifest "
            "(asInvoker) keeps it from asking for administrator rights",
            name);
    }
}

void Checker::Run() {
    if (!LoadNames()) {
        Say(kCheckError, "the program's texts are missing: it is damaged");
        return;
    }
    SettingsFile();
    launcher_ = new (std::nothrow) Launcher(instance_, nullptr);
    char* list = new (std::nothrow) char[kListRoom];
    if (!launcher_ || !list) {
        Say(kCheckError, "not enough memory for the check");
    } else {
        // The panel's own reading of the settings.
        launcher_->ReadSettings();
        UnknownSections(list);
        UnknownKeys(0, list);
        UnknownKeys(1, list);
        CutValues(list);
        Captions();
        Picture();
        Icon();
        Installer();
        ProgramName();
    }
    delete[] list;
    delete launcher_;
    int errors = report_->Errors(), warnings = report_->Warnings();
    Say(kCheckNote, "%d error(s), %d warning(s): %s", errors, warnings,
        errors     ? "the panel will not work as configured"
        : warnings ? "the panel opens, but not all as configured"
                   : "the panel will show as configured");
}

} // namespace

void RunCheck(HINSTANCE instance, CheckReport* report) {
    Checker(instance, report).Run();
}
