// A stand-in for a program that the panel starts (an installer, the file
// browser): it records and counts its starts beside itself, or in the folder
// that TANDREL_TEST_RECORDS names, and ends at once.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return 1;
    }
    char records[MAX_PATH] = {};
    if (GetEnvironmentVariableA("TANDREL_TEST_RECORDS", records, MAX_PATH / 2)) {
        strncat(records, strrchr(path, '\\'), MAX_PATH / 2 - 1);
        strcpy(path, records);
    }
    char recordPath[MAX_PATH + 16];
    char partPath[MAX_PATH + 16];
    snprintf(recordPath, sizeof(recordPath), "%s.record", path);
    snprintf(partPath, sizeof(partPath), "%s.part", path);
    char directory[1024] = {};
    GetCurrentDirectoryA(sizeof(directory), directory);
    // Written aside and then renamed, so that the test never reads half a record.
    FILE* record = fopen(partPath, "wb");
    if (!record) {
        return 1;
    }
    fprintf(record, "%s\n%s\n", GetCommandLineA(), directory);
    if (fclose(record) != 0 || !MoveFileExA(partPath, recordPath, MOVEFILE_REPLACE_EXISTING)) {
        return 1;
    }
    // One byte more a start.
    char startsPath[MAX_PATH + 16];
    snprintf(startsPath, sizeof(startsPath), "%s.starts", path);
    FILE* starts = fopen(startsPath, "ab");
    return starts && fputc('+', starts) != EOF && fclose(starts) == 0 ? 0 : 1;
}
