// The resources inside tandrel.exe, read from the built program itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "distribution.h"

namespace {

class Resources : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string path = BuildFolder() + "\\tandrel.exe";
        module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(module_) << "cannot load " << path;
    }
    void TearDown() override {
        if (module_) {
            FreeLibrary(module_);
        }
    }

    // The resource's bytes, in English (United States) only.
    std::string Bytes(LPCSTR type, WORD id) const {
        HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id),
                                      MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        if (!found) {
            return "";
        }
        const char* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return data ? std::string(data, SizeofResource(module_, found)) : "";
    }

    HMODULE module_ = nullptr;
};

WORD Word(const std::string& bytes, size_t offset) {
    return static_cast<WORD>(static_cast<unsigned char>(bytes.at(offset)) |
                             static_cast<unsigned char>(bytes.at(offset + 1)) << 8);
}

DWORD Dword(const std::string& bytes, size_t offset) {
    return Word(bytes, offset) | static_cast<DWORD>(Word(bytes, offset + 2)) << 16;
}

// Reads a dialog template's "name or ordinal" field: an ordinal comes back as
// "#<number>".
std::string NameOrOrdinal(const std::string& bytes, size_t* offset) {
    if (Word(bytes, *offset) == 0xFFFF) {
        std::string ordinal = "#" + std::to_string(Word(bytes, *offset + 2));
        *offset += 4;
        return ordinal;
    }
    std::string text;
    for (WORD c; (c = Word(bytes, *offset)) != 0; *offset += 2) {
        text += static_cast<char>(c);
    }
    *offset += 2;
    return text;
}

// A control's class, whether the template names it or gives its ordinal.
std::string ControlClass(const std::string& bytes, size_t* offset) {
    std::string name = NameOrOrdinal(bytes, offset);
    if (name == "#128") {
        return "BUTTON";
    }
    if (name == "#130") {
        return "STATIC";
    }
    for (char& c : name) {
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

TEST_F(Resources, StringTableHoldsExactlyTheProgramsTexts) {
    const std::map<UINT, std::string> expected = {
        {103, "Quillmere Software, Inc."},
        {109, "TANDREL"},
        {110, ".\\tandrel.ini"},
        {111, "General"},
        {112, "Bmp"},
        {113, "Installer"},
        {114, "Button_Captions"},
        {115, "TitleBar"},
        {116, "SysMenuIcon"},
        {117, "InstallBut"},
        {118, "BrowseBut"},
        {119, "CancelBut"},
        {120, "ButtonWidth"},
        {121, "ButtonHeight"},
    };
    // Every string of every block: the expected ones, and nothing else.
    std::map<UINT, std::string> found;
    for (WORD block = 1; block < 4096; ++block) {
        std::string bytes = Bytes(RT_STRING, block);
        size_t offset = 0;
        for (UINT index = 0; index < 16 && offset + 2 <= bytes.size(); ++index) {
            WORD length = Word(bytes, offset);
            offset += 2;
            std::string text;
            for (WORD i = 0; i < length; ++i, offset += 2) {
                text += static_cast<char>(Word(bytes, offset));
            }
            if (length > 0) {
                found[(block - 1u) * 16u + index] = text;
            }
        }
    }
    EXPECT_EQ(expected, found);
}

TEST_F(Resources, AcceleratorsAreAltQuestionMarkAndAltSlash) {
    std::string table = Bytes(RT_ACCELERATOR, 109);
    ASSERT_EQ(16u, table.size()) << "two entries of 8 bytes";
    // Character accelerators: FALT without FVIRTKEY; the last entry is marked.
    EXPECT_EQ(FALT, Word(table, 0));
    EXPECT_EQ('?', Word(table, 2));
    EXPECT_EQ(104, Word(table, 4));
    EXPECT_EQ(FALT | 0x80, Word(table, 8));
    EXPECT_EQ('/', Word(table, 10));
    EXPECT_EQ(104, Word(table, 12));
}

TEST_F(Resources, IconGroupHoldsTwelveImages) {
    std::string group = Bytes(RT_GROUP_ICON, 107);
    ASSERT_GE(group.size(), 6u);
    EXPECT_EQ(1, Word(group, 2)) << "an icon, not a cursor";
    ASSERT_EQ(12, Word(group, 4));
    std::set<std::pair<int, int>> images;
    for (size_t entry = 0; entry < 12; ++entry) {
        size_t offset = 6 + entry * 14;
        int width = static_cast<unsigned char>(group.at(offset));
        int height = static_cast<unsigned char>(group.at(offset + 1));
        int bits = Word(group, offset + 6);
        SCOPED_TRACE(std::to_string(width) + " px, " + std::to_string(bits) + " bits");
        EXPECT_EQ(width, height);
        images.insert({width, bits});
        // The image itself agrees with its directory entry.
        std::string image = Bytes(RT_ICON, Word(group, offset + 12));
        ASSERT_GE(image.size(), 40u);
        EXPECT_EQ(Dword(group, offset + 8), image.size());
        EXPECT_EQ(static_cast<DWORD>(width), Dword(image, 4));
        EXPECT_EQ(static_cast<DWORD>(2 * height), Dword(image, 8));
        EXPECT_EQ(bits, Word(image, 14));
    }
    std::set<std::pair<int, int>> expected;
    for (int size : {48, 32, 16}) {
        for (int bits : {1, 4, 8, 32}) {
            expected.insert({size, bits});
        }
    }
    EXPECT_EQ(expected, images);
}

TEST_F(Resources, AboutBoxTemplate) {
    std::string dialog = Bytes(RT_DIALOG, 103);
    ASSERT_GE(dialog.size(), 18u);
    EXPECT_EQ(static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT),
              Dword(dialog, 0));
    EXPECT_EQ(0u, Dword(dialog, 4));
    ASSERT_EQ(4, Word(dialog, 8));
    EXPECT_EQ(22, Word(dialog, 10));
    EXPECT_EQ(17, Word(dialog, 12));
    EXPECT_EQ(230, Word(dialog, 14));
    EXPECT_EQ(75, Word(dialog, 16));
    size_t offset = 18;
    EXPECT_EQ("", NameOrOrdinal(dialog, &offset)) << "menu";
    EXPECT_EQ("", NameOrOrdinal(dialog, &offset)) << "class";
    EXPECT_EQ("About", NameOrOrdinal(dialog, &offset));
    EXPECT_EQ(8, Word(dialog, offset));
    offset += 2;
    EXPECT_EQ("System", NameOrOrdinal(dialog, &offset));

    struct Control {
        int x, y, width, height, id;
        DWORD style;
        const char* className;
        const char* text; // "#107": the icon
    };
    const DWORD visibleChild = WS_CHILD | WS_VISIBLE;
    const Control controls[] = {
        {14, 9, 16, 16, 2, visibleChild | SS_ICON, "STATIC", "#107"},
        {49, 10, 119, 8, 0xFFFF, visibleChild | SS_LEFT | SS_NOPREFIX | WS_GROUP, "STATIC",
         "Tandrel Version 1.0"},
        {49, 20, 119, 8, 0xFFFF, visibleChild | SS_LEFT | WS_GROUP, "STATIC", nullptr},
        {195, 6, 30, 11, IDOK, visibleChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "BUTTON",
         "OK"},
    };
    for (const Control& control : controls) {
        SCOPED_TRACE(control.className);
        offset = (offset + 3) & ~static_cast<size_t>(3);
        EXPECT_EQ(control.style, Dword(dialog, offset));
        EXPECT_EQ(0u, Dword(dialog, offset + 4));
        EXPECT_EQ(control.x, Word(dialog, offset + 8));
        EXPECT_EQ(control.y, Word(dialog, offset + 10));
        EXPECT_EQ(control.width, Word(dialog, offset + 12));
        EXPECT_EQ(control.height, Word(dialog, offset + 14));
        EXPECT_EQ(control.id, Word(dialog, offset + 16));
        offset += 18;
        EXPECT_EQ(control.className, ControlClass(dialog, &offset));
        std::string text = NameOrOrdinal(dialog, &offset);
        if (control.text) {
            EXPECT_EQ(control.text, text);
        } else {
            EXPECT_FALSE(text.empty()) << "the second line has a text";
        }
        offset += 2 + Word(dialog, offset);
    }
}

TEST_F(Resources, ManifestRunsAsInvokerWithClassicControls) {
    std::string manifest = Bytes(RT_MANIFEST, 1);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\""));
    EXPECT_NE(std::string::npos, manifest.find("supportedOS"));
    EXPECT_EQ(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
    EXPECT_EQ(std::string::npos, manifest.find("dpiAware"));
}

} // namespace
