// inspect_exe: what the build machine can tell of a built tandrel.exe without running it.
//
//   inspect_exe rules EXE MAP   the rules of Windows' image loader, and that nothing in the file
//                               waits for start-up code that the program does not have (MAP: the
//                               link map that the same link wrote); one line for each rule the
//                               file breaks, exit code 1 when there is any
//   inspect_exe imports EXE     every imported function, as DLL!function, sorted
//   inspect_exe icon EXE        the bytes that the icon's resources take
//
// Wine maps images that Windows refuses (a gap between sections, for one), so these rules are
// checked on the file itself. The fields and rules are those of Microsoft's PE/COFF format.
#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The file's bytes, read little-endian. A read past the end gives 0 and marks the file as cut
// short, so that a broken file is reported, never read outside.
struct File {
    std::vector<std::uint8_t> bytes;
    bool cutShort = false;

    std::uint64_t Read(std::uint64_t offset, int size) {
        if (offset > bytes.size() || bytes.size() - offset < static_cast<std::uint64_t>(size)) {
            cutShort = true;
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i) {
            value = value << 8 | bytes[offset + i];
        }
        return value;
    }
    std::uint32_t U16(std::uint64_t offset) { return static_cast<std::uint32_t>(Read(offset, 2)); }
    std::uint32_t U32(std::uint64_t offset) { return static_cast<std::uint32_t>(Read(offset, 4)); }
    std::string Text(std::uint64_t offset, std::size_t limit) {
        std::string text;
        while (text.size() < limit && offset < bytes.size() && bytes[offset] != 0) {
            text += static_cast<char>(bytes[offset++]);
        }
        return text;
    }
};

struct Section {
    std::string name;
    std::uint32_t address, virtualSize, rawOffset, rawSize, flags;
};

struct Image {
    File file;
    bool wide = false; // PE32+, the 64-bit form
    std::uint64_t imageBase = 0;
    std::uint32_t entry = 0, sectionAlignment = 0, fileAlignment = 0, sizeOfImage = 0;
    std::uint32_t sizeOfHeaders = 0, headersEnd = 0, subsystemVersion = 0;
    std::vector<std::uint32_t> directories; // RVA and size, in pairs
    std::vector<Section> sections;

    // The file offset of an RVA inside a section's raw data, or 0.
    std::uint64_t Offset(std::uint64_t rva) const {
        for (const Section& s : sections) {
            if (rva >= s.address && rva - s.address < s.rawSize) {
                return s.rawOffset + (rva - s.address);
            }
        }
        return 0;
    }
    std::uint32_t DirectoryRva(int index) const {
        return 2u * index + 1 < directories.size() ? directories[2 * index] : 0;
    }
};

const int kImport = 1, kResource = 2, kSecurity = 4, kTls = 9;
const std::uint32_t kExecutable = 0x20000000; // IMAGE_SCN_MEM_EXECUTE

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof(text), "0x%" PRIx64, value);
    return text;
}

std::uint64_t RoundUp(std::uint64_t value, std::uint32_t alignment) {
    return alignment ? (value + alignment - 1) / alignment * alignment : value;
}

bool PowerOfTwo(std::uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

// Reads the headers and the section table; false with a reason when the file is no image.
bool Load(const char* path, Image& image, std::string& error) {
    std::ifstream stream(path, std::ios::binary);
    image.file.bytes.assign(std::istreambuf_iterator<char>(stream), {});
    File& f = image.file;
    if (!stream.is_open() || f.U16(0) != 0x5A4D) {
        error = "cannot be read, or is no MZ program";
        return false;
    }
    const std::uint32_t pe = f.U32(0x3C), opt = pe + 24;
    const std::uint32_t magic = f.U16(opt);
    if (f.U32(pe) != 0x4550 || (magic != 0x10B && magic != 0x20B)) {
        error = "no PE32 or PE32+ header";
        return false;
    }
    image.wide = magic == 0x20B;
    image.entry = f.U32(opt + 16);
    image.imageBase = image.wide ? f.Read(opt + 24, 8) : f.U32(opt + 28);
    image.sectionAlignment = f.U32(opt + 32);
    image.fileAlignment = f.U32(opt + 36);
    image.subsystemVersion = f.U16(opt + 48) << 16 | f.U16(opt + 50);
    image.sizeOfImage = f.U32(opt + 56);
    image.sizeOfHeaders = f.U32(opt + 60);
    const std::uint32_t count = std::min<std::uint32_t>(f.U32(opt + (image.wide ? 108 : 92)), 16);
    for (std::uint32_t i = 0; i < 2 * count; ++i) {
        image.directories.push_back(f.U32(opt + (image.wide ? 112 : 96) + 4 * i));
    }
    const std::uint32_t table = opt + f.U16(pe + 20), sections = f.U16(pe + 6);
    for (std::uint32_t i = 0; i < sections; ++i) {
        const std::uint32_t at = table + 40 * i;
        image.sections.push_back({f.Text(at, 8), f.U32(at + 12), f.U32(at + 8), f.U32(at + 20),
                                  f.U32(at + 16), f.U32(at + 36)});
    }
    image.headersEnd = table + 40 * sections;
    if (f.cutShort) {
        error = "its headers end past the end of the file";
        return false;
    }
    return true;
}

// The rules of the image's layout that Windows' loader enforces.
void LayoutRules(Image& image, std::vector<std::string>& broken) {
    const std::uint32_t fileAlign = image.fileAlignment, sectionAlign = image.sectionAlignment;
    if (!PowerOfTwo(fileAlign) || fileAlign < 512 || fileAlign > 65536) {
        broken.push_back("FileAlignment " + Hex(fileAlign) +
                         " is not a power of 2 from 512 to 64K");
    }
    if (!PowerOfTwo(sectionAlign) || sectionAlign < fileAlign) {
        broken.push_back("SectionAlignment " + Hex(sectionAlign) +
                         " is not a power of 2 at least FileAlignment " + Hex(fileAlign));
    } else if (sectionAlign < 4096 && sectionAlign != fileAlign) {
        broken.push_back("SectionAlignment " + Hex(sectionAlign) +
                         " is below the page size but not FileAlignment");
    }
    if (image.imageBase % 65536 != 0) {
        broken.push_back("ImageBase " + Hex(image.imageBase) + " is not a multiple of 64K");
    }
    if (image.sizeOfHeaders < image.headersEnd || image.sizeOfHeaders % fileAlign != 0) {
        broken.push_back("SizeOfHeaders " + Hex(image.sizeOfHeaders) + " is not the headers' end " +
                         Hex(image.headersEnd) + " rounded up to FileAlignment");
    }
    // The oldest loaders that the program is for refuse a newer subsystem version.
    const std::uint32_t oldest = image.wide ? 0x50002 : 0x50001;
    if (image.subsystemVersion > oldest) {
        broken.push_back("subsystem version " + std::to_string(image.subsystemVersion >> 16) + "." +
                         std::to_string(image.subsystemVersion & 0xFFFF) + " is above " +
                         (image.wide ? "5.2 (64-bit Windows XP)" : "5.1 (Windows XP)"));
    }
    if (image.sections.empty()) {
        broken.push_back("no sections");
        return;
    }

    // Sections ascend in memory without a gap: each starts where the previous one ends,
    // rounded up to the section alignment; the first, after the headers.
    std::uint64_t expected = RoundUp(image.sizeOfHeaders, sectionAlign);
    std::string after = "the headers";
    for (const Section& s : image.sections) {
        if (s.address != expected) {
            broken.push_back("section " + s.name + " starts at " + Hex(s.address) + ", not at " +
                             Hex(expected) + ", the end of " + after +
                             " rounded up to SectionAlignment");
        }
        const std::uint32_t size = s.virtualSize ? s.virtualSize : s.rawSize;
        expected = RoundUp(std::uint64_t{s.address} + size, sectionAlign);
        after = s.name;
        if (s.rawSize == 0) {
            continue;
        }
        if (s.rawOffset % fileAlign != 0 || s.rawSize % fileAlign != 0) {
            broken.push_back("section " + s.name + "'s raw data " + Hex(s.rawOffset) + " + " +
                             Hex(s.rawSize) + " is not aligned to FileAlignment");
        }
        if (std::uint64_t{s.rawOffset} + s.rawSize > image.file.bytes.size()) {
            broken.push_back("section " + s.name + "'s raw data ends at " +
                             Hex(std::uint64_t{s.rawOffset} + s.rawSize) +
                             ", past the end of the file " + Hex(image.file.bytes.size()));
        }
    }
    if (image.sizeOfImage != expected) {
        broken.push_back("SizeOfImage " + Hex(image.sizeOfImage) + " is not " + Hex(expected) +
                         ", the end of the last section rounded up");
    }

    // Every data directory lies inside the image; the certificates' one, inside the file.
    for (std::size_t i = 0; 2 * i + 1 < image.directories.size(); ++i) {
        const std::uint64_t start = image.directories[2 * i], size = image.directories[2 * i + 1];
        const std::uint64_t limit =
            i == kSecurity ? image.file.bytes.size() : std::uint64_t{image.sizeOfImage};
        if ((start != 0 || size != 0) && (start < image.sizeOfHeaders || start + size > limit)) {
            broken.push_back("data directory " + std::to_string(i) + " at " + Hex(start) + " + " +
                             Hex(size) + " is outside the " + (i == kSecurity ? "file" : "image"));
        }
    }

    const bool entryInCode =
        std::any_of(image.sections.begin(), image.sections.end(), [&](const Section& s) {
            return (s.flags & kExecutable) && image.entry >= s.address &&
                   image.entry - s.address < std::max(s.virtualSize, s.rawSize);
        });
    if (!entryInCode) {
        broken.push_back("the entry point " + Hex(image.entry) +
                         " is not inside an executable section");
    }
}

// Without MinGW's start-up code nothing runs the tables of static constructors, destructors
// and C initialisers, nor lists TLS callbacks for the loader: whatever the link put there
// would silently never run. The stripped file no longer names them; the link map does.
void StartUpRules(Image& image, const char* mapPath, std::vector<std::string>& broken) {
    const std::uint32_t tls = image.DirectoryRva(kTls);
    if (tls != 0 && image.Offset(tls) == 0) {
        broken.push_back("the TLS directory is not in any section's data");
    } else if (tls != 0) {
        // IMAGE_TLS_DIRECTORY: AddressOfCallBacks, a virtual address, after three addresses.
        const int word = image.wide ? 8 : 4;
        const std::uint64_t list = image.file.Read(image.Offset(tls) + 3 * word, word);
        const std::uint64_t first =
            list > image.imageBase ? image.file.Read(image.Offset(list - image.imageBase), word)
                                   : 0;
        if (first != 0) {
            broken.push_back("the TLS directory lists callbacks, the first at " + Hex(first));
        }
    }

    std::ifstream stream(mapPath);
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(stream, line)) {
        lines.push_back(line);
    }
    auto begin = std::find(lines.begin(), lines.end(), "Linker script and memory map");
    if (begin == lines.end() || std::none_of(begin, lines.end(), [](const std::string& l) {
            return l.find("__CTOR_LIST__") != std::string::npos;
        })) {
        broken.push_back(std::string("the link map ") + mapPath +
                         " is missing or lists no constructor table");
        return;
    }

    // The map is of this very file when it places each of the file's sections where it is
    // (the file keeps 8 letters of a name).
    for (const Section& s : image.sections) {
        const bool placed = std::any_of(begin, lines.end(), [&](const std::string& l) {
            std::istringstream fields(l);
            std::string name, address;
            return l.compare(0, s.name.size(), s.name) == 0 && fields >> name >> address &&
                   name.substr(0, 8) == s.name &&
                   std::strtoull(address.c_str(), nullptr, 16) == image.imageBase + s.address;
        });
        if (!placed) {
            broken.push_back("the link map does not place section " + s.name + " at " +
                             Hex(image.imageBase + s.address) + ": it is not this file's map");
        }
    }

    // Input sections: " NAME ADDRESS SIZE FILE", the numbers on the next line after a long name.
    static const char* const kNeverRun[] = {".ctor", ".dtor", ".init_array", ".fini_array",
                                            ".CRT$X"};
    for (auto it = begin; it != lines.end(); ++it) {
        std::istringstream fields(*it);
        std::string name, address, size, object;
        if (it->size() < 2 || (*it)[0] != ' ' || (*it)[1] != '.' || !(fields >> name)) {
            continue;
        }
        if (!(fields >> address) && it + 1 != lines.end()) {
            fields = std::istringstream(*(it + 1));
            fields >> address;
        }
        fields >> size >> object;
        const bool startUp =
            std::any_of(std::begin(kNeverRun), std::end(kNeverRun),
                        [&](const char* prefix) { return name.rfind(prefix, 0) == 0; });
        if (startUp && std::strtoull(address.c_str(), nullptr, 16) != 0 &&
            std::strtoull(size.c_str(), nullptr, 16) != 0) {
            broken.push_back(name + " of " + object +
                             " never runs: the program has no start-up code to run it");
        }
    }
}

std::vector<std::string> Imports(Image& image) {
    std::vector<std::string> names;
    File& f = image.file;
    const int word = image.wide ? 8 : 4;
    for (std::uint64_t at = image.Offset(image.DirectoryRva(kImport)); at != 0; at += 20) {
        const std::uint32_t lookup = f.U32(at) ? f.U32(at) : f.U32(at + 16);
        const std::uint32_t dllName = f.U32(at + 12);
        if (dllName == 0 || f.cutShort) {
            break;
        }
        // A name outside every section's data reads as the empty name at offset 0.
        auto text = [&](std::uint64_t rva) {
            const std::uint64_t offset = image.Offset(rva);
            return offset ? f.Text(offset, 256) : std::string();
        };
        const std::string dll = text(dllName);
        for (std::uint64_t entry = image.Offset(lookup); entry != 0; entry += word) {
            const std::uint64_t value = f.Read(entry, word);
            if (value == 0 || f.cutShort) {
                break;
            }
            const bool byOrdinal = value >> (8 * word - 1);
            names.push_back(dll + "!" +
                            (byOrdinal ? "#" + std::to_string(value & 0xFFFF)
                                       : text((value & 0x7FFFFFFF) + 2)));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The sizes of the resources under the given types (RT_ICON, RT_GROUP_ICON): type, name and
// language directories, then data entries.
std::uint64_t ResourceBytes(Image& image, std::uint64_t directory, int depth, bool counted) {
    File& f = image.file;
    const std::uint64_t root = image.Offset(image.DirectoryRva(kResource));
    const std::uint32_t entries = f.U16(directory + 12) + f.U16(directory + 14);
    std::uint64_t total = 0;
    for (std::uint32_t i = 0; i < entries && !f.cutShort; ++i) {
        const std::uint32_t id = f.U32(directory + 16 + 8 * i);
        const std::uint32_t target = f.U32(directory + 20 + 8 * i);
        const bool inside = depth > 0 ? counted : id == 3 || id == 14;
        if (target >> 31 && depth < 2) {
            total += ResourceBytes(image, root + (target & 0x7FFFFFFF), depth + 1, inside);
        } else if (!(target >> 31) && inside) {
            total += f.U32(root + target + 4);
        }
    }
    return total;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "rules" && argc == 4) || ((mode == "imports" || mode == "icon") && argc == 3))) {
        std::fprintf(stderr, "usage: inspect_exe rules EXE MAP | imports EXE | icon EXE\n");
        return 2;
    }
    Image image;
    std::string error;
    if (!Load(argv[2], image, error)) {
        std::printf("%s: %s\n", argv[2], error.c_str());
        return 1;
    }
    if (mode == "imports") {
        for (const std::string& name : Imports(image)) {
            std::printf("%s\n", name.c_str());
        }
    } else if (mode == "icon") {
        const std::uint64_t root = image.Offset(image.DirectoryRva(kResource));
        std::printf("%" PRIu64 "\n", root ? ResourceBytes(image, root, 0, false) : 0);
    } else {
        std::vector<std::string> broken;
        LayoutRules(image, broken);
        StartUpRules(image, argv[3], broken);
        if (image.file.cutShort) {
            broken.push_back("a table points past the end of the file");
        }
        for (const std::string& rule : broken) {
            std::printf("%s: %s\n", argv[2], rule.c_str());
        }
        if (!broken.empty()) {
            return 1;
        }
        std::printf("%s: the loader's rules hold (%zu sections, image %s bytes)\n", argv[2],
                    image.sections.size(), Hex(image.sizeOfImage).c_str());
    }
    return image.file.cutShort ? 1 : 0;
}
