#include "launcher/settings_file.h"

#include "launcher/language.h"
#include "launcher/user_languages.h"
#include "launcher/wide_text.h"

#include <new>

namespace {

std::size_t AnsiToUtf16Platform(const std::uint8_t* bytes, std::size_t length, char16_t* out,
                                std::size_t room) {
    if (length == 0 || room == 0) {
        return 0;
    }
    int written = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes),
                                      static_cast<int>(length), W(out), static_cast<int>(room));
    return written > 0 ? static_cast<std::size_t>(written) : 0;
}

bool LoadName(HINSTANCE instance, UINT id, char16_t out[kSettingTextSize]) {
    return LoadStringW(instance, id, W(out), kSettingTextSize) > 0;
}

} // namespace

bool SettingsFile::Load(HINSTANCE instance) {
    found = false;
    text.Decode(nullptr, 0, AnsiToUtf16Platform);
    if (!LoadName(instance, IDS_INI_FILE, names.file)) {
        return false;
    }
    for (int section = 0; section < kSectionCount; ++section) {
        LoadName(instance, kSectionIds[section], names.sections[section]);
    }
    for (int setting = 0; setting < kSettingCount; ++setting) {
        LoadName(instance, kSettingRows[setting].keyId, names.keys[setting]);
    }

    // One read of the whole file: it is small, and the profile functions,
    // which would open it once a value, know only ANSI and UTF-16.
    HANDLE file = CreateFileW(W(names.file), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return true;
    }
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    BYTE* bytes = nullptr;
    if (size != INVALID_FILE_SIZE && high == 0 && size <= kLargestSettingsFile) {
        bytes = new (std::nothrow) BYTE[size ? size : 1];
    }
    DWORD read = 0;
    if (bytes && ReadFile(file, bytes, size, &read, nullptr) && read == size) {
        found = text.Decode(bytes, size, AnsiToUtf16Platform);
    }
    delete[] bytes;
    CloseHandle(file);
    return true;
}

void SettingsFile::ChooseLanguage(const char16_t* forced, char16_t tag[kLanguageTagSize]) const {
    tag[0] = u'\0';
    char16_t offered[kMostLanguages][kLanguageTagSize];
    int offeredCount = OfferedLanguages(text, names, offered);
    if (offeredCount == 0) {
        return;
    }
    const char16_t* offeredTags[kMostLanguages];
    for (int i = 0; i < offeredCount; ++i) {
        offeredTags[i] = offered[i];
    }
    UserLanguages user;
    const char16_t* const* preferred = &forced;
    int preferredCount = 1;
    if (!forced) {
        ReadUserLanguages(&user);
        preferred = user.tags;
        preferredCount = user.count;
    }
    int chosen = ::ChooseLanguage(preferred, preferredCount, offeredTags, offeredCount);
    if (chosen >= 0) {
        for (int i = 0; (tag[i] = offered[chosen][i]) != u'\0'; ++i) {
        }
    }
}
