// Reading the settings file, with the string table of the built tandrel.exe.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "launcher/launcher.h"

Launcher* g_launcher = nullptr;

namespace {

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string program(path);
        program = program.substr(0, program.find_last_of('\\') + 1) + "tandrel.exe";
        resources_ = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(resources_) << "cannot load " << program;

        GetCurrentDirectoryA(MAX_PATH, previousDirectory_);
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        snprintf(folder_, sizeof(folder_), "%standrel-settings-%lu", temp, GetCurrentProcessId());
        CreateDirectoryA(folder_, nullptr);
        ASSERT_TRUE(SetCurrentDirectoryA(folder_));
    }

    void TearDown() override {
        SetCurrentDirectoryA(previousDirectory_);
        DeleteFileA((std::string(folder_) + "\\tandrel.ini").c_str());
        RemoveDirectoryA(folder_);
        if (resources_) {
            FreeLibrary(resources_);
        }
    }

    void WriteIni(const std::string& text) {
        FILE* file = fopen("tandrel.ini", "wb");
        ASSERT_TRUE(file);
        fwrite(text.data(), 1, text.size(), file);
        fclose(file);
    }

    // A Launcher without a window stops before set-up: only the settings are read.
    HMODULE resources_ = nullptr;
    char previousDirectory_[MAX_PATH] = {};
    char folder_[MAX_PATH] = {};
};

TEST_F(Settings, ValuesArriveInTheirFields) {
    std::string longTitle(150, 'T');
    WriteIni("[general]\r\n"
             "TitleBar=" +
             longTitle +
             "\r\n"
             "sysmenuicon = disc.ico \r\n"
             "Bmp=\"art\\panel.bmp\"\r\n"
             "Installer=\"setup files\\setup.exe\" /lang en\r\n"
             "ButtonHeight=31\r\n"
             "[Button_Captions]\r\n"
             "InstallBut=&Install\r\n"
             "; BrowseBut=Browse\r\n");
    Launcher launcher(resources_, nullptr);
    EXPECT_EQ(0, launcher.valid) << "no window: construction stops before the settings";
    ASSERT_EQ(1, launcher.ReadSettings());
    EXPECT_EQ(longTitle.substr(0, 99), launcher.title);
    EXPECT_STREQ("disc.ico", launcher.iconFile);
    EXPECT_STREQ("art\\panel.bmp", launcher.bitmapFile);
    EXPECT_STREQ("\"setup files\\setup.exe\" /lang en", launcher.installer);
    EXPECT_EQ(0, launcher.buttonWidth) << "missing";
    EXPECT_EQ(31, launcher.buttonHeight);
    EXPECT_STREQ("&Install", launcher.captions[kInstallSlot]);
    EXPECT_STREQ("", launcher.captions[kBrowseSlot]);
    EXPECT_STREQ("", launcher.captions[kCancelSlot]);
}

TEST_F(Settings, AtLeastOneCaptionIsNeeded) {
    struct Case {
        const char* name;
        const char* ini;
        int accepted;
    };
    const Case cases[] = {
        {"only Cancel", "[Button_Captions]\r\nCancelBut=Cancel\r\n", 1},
        {"no captions", "[General]\r\nTitleBar=Title\r\nBmp=a.bmp\r\n", 0},
        {"empty captions", "[Button_Captions]\r\nInstallBut=\r\nCancelBut=\r\n", 0},
        {"empty file", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteIni(c.ini);
        Launcher launcher(resources_, nullptr);
        EXPECT_EQ(c.accepted, launcher.ReadSettings());
    }
}

TEST_F(Settings, MissingFileReadsNothing) {
    Launcher launcher(resources_, nullptr);
    EXPECT_EQ(0, launcher.ReadSettings());
    EXPECT_EQ(0, launcher.ReadIniInt(111, 120, ".\\tandrel.ini"));
    char value[8] = "garbage";
    EXPECT_EQ(0, launcher.ReadIniString(111, 115, value, sizeof(value), ".\\tandrel.ini"));
    EXPECT_STREQ("", value);
}

TEST_F(Settings, UnknownNameIdsReadNothing) {
    WriteIni("[General]\r\nButtonWidth=100\r\nTitleBar=Title\r\n");
    Launcher launcher(resources_, nullptr);
    EXPECT_EQ(100, launcher.ReadIniInt(111, 120, ".\\tandrel.ini"));
    EXPECT_EQ(0, launcher.ReadIniInt(111, 999, ".\\tandrel.ini"));
    char value[100];
    EXPECT_EQ(1, launcher.ReadIniString(111, 115, value, sizeof(value), ".\\tandrel.ini"));
    EXPECT_EQ(0, launcher.ReadIniString(999, 115, value, sizeof(value), ".\\tandrel.ini"));
    EXPECT_STREQ("", value);
}

} // namespace
