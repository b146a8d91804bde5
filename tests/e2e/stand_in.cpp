// A stand-in for a program that the panel starts (an installer, the file
// browser): it records (as UTF-8) and counts its starts beside itself, or in
// the folder that TANDREL_TEST_RECORDS names, and ends at once.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8) - 1, nullptr, nullptr);
    return utf8;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return 1;
    }
    std::wstring self = path;
    wchar_t records[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TANDREL_TEST_RECORDS", records, MAX_PATH) > 0) {
        self = records + self.substr(self.find_last_of(L'\\'));
    }
    wchar_t directory[1024] = {};
    GetCurrentDirectoryW(1024, directory);
    // Written aside and then renamed, so that the test never reads half a record.
    std::string text = Utf8(GetCommandLineW()) + "\n" + Utf8(directory) + "\n";
    FILE* record = _wfopen((self + L".part").c_str(), L"wb");
    if (!record || std::fwrite(text.data(), 1, text.size(), record) != text.size()) {
        return 1;
    }
    if (fclose(record) != 0 || !MoveFileExW((self + L".part").c_str(), (self + L".record").c_str(),
                                            MOVEFILE_REPLACE_EXISTING)) {
        return 1;
    }
    // One byte more a start.
    FILE* starts = _wfopen((self + L".starts").c_str(), L"ab");
    return starts && fputc('+', starts) != EOF && fclose(starts) == 0 ? 0 : 1;
}
