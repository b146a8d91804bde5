// Reading a program's signature from its bytes: where its certificate table
// lies, and the signer's name, found through the signer's issuer and serial
// number among the certificates. Hostile and cut bytes never read outside
// their buffer (the sanitizers watch) and never give a name.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "launcher/signature.h"

namespace signature {
void PrintTo(Kind kind, std::ostream* out) {
    const char* const names[] = {"NotProgram", "Unsigned", "Signed", "Unreadable"};
    *out << names[static_cast<int>(kind)];
}
} // namespace signature

namespace {

using signature::Kind;
using Bytes = std::vector<std::uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Der(std::uint8_t tag, const Bytes& contents) {
    std::size_t n = contents.size();
    Bytes header = n < 0x80    ? Bytes{tag, std::uint8_t(n)}
                   : n < 0x100 ? Bytes{tag, 0x81, std::uint8_t(n)}
                               : Bytes{tag, 0x82, std::uint8_t(n >> 8), std::uint8_t(n)};
    return header + contents;
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

const Bytes kCommonName = {0x06, 0x03, 0x55, 0x04, 0x03};
const Bytes kOrganisation = {0x06, 0x03, 0x55, 0x04, 0x0A};
const Bytes kSignedData = {0x06, 0x09, 0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x07, 0x02};

// An X.500 name: an organisation, then the common name as a string of `tag`.
Bytes Name(std::uint8_t tag, const Bytes& commonName) {
    return Der(0x30, Der(0x31, Der(0x30, kOrganisation + Der(0x13, Text("Quillmere")))) +
                         Der(0x31, Der(0x30, kCommonName + Der(tag, commonName))));
}

const Bytes kIssuer = Name(0x13, Text("Test Root"));

// A certificate up to its subject, the fields the reader walks; v1
// certificates have no [0] version.
Bytes Certificate(std::uint8_t serial, const Bytes& subject, bool v1 = false) {
    Bytes body = (v1 ? Bytes{} : Der(0xA0, Der(0x02, {2}))) + Der(0x02, {serial}) + Der(0x30, {}) +
                 kIssuer + Der(0x30, {}) + subject + Der(0x30, {});
    return Der(0x30, Der(0x30, body) + Der(0x30, {}) + Der(0x03, {0}));
}

// A WIN_CERTIFICATE holding PKCS#7 SignedData with these certificates and a
// signer that names its own by `signerId` (issuer and serial number).
Bytes Table(const Bytes& certificates, const Bytes& signerId, std::uint16_t type = 2,
            const Bytes& contentType = kSignedData) {
    Bytes signer = Der(0x30, Der(0x02, {1}) + signerId + Der(0x30, {}));
    Bytes signedData = Der(0x30, Der(0x02, {1}) + Der(0x31, {}) + Der(0x30, {}) +
                                     Der(0xA0, certificates) + Der(0x31, signer));
    Bytes der = Der(0x30, contentType + Der(0xA0, signedData));
    std::size_t length = der.size() + 8;
    return Bytes{
               std::uint8_t(length), std::uint8_t(length >> 8), 0, 0, 0, 2, std::uint8_t(type), 0} +
           der;
}

Bytes BySerial(std::uint8_t serial) {
    return Der(0x30, kIssuer + Der(0x02, {serial}));
}

// The name read, up to its closing zero, from a buffer of exactly `room`
// units (the sanitizers catch a write past it).
std::u16string NameOf(const Bytes& table, Kind* kind, std::size_t room = 100) {
    std::vector<std::uint16_t> name(room, 0xAAAA);
    *kind = signature::SignerOf(table.data(), table.size(), name.data(), room);
    std::u16string text;
    for (std::size_t i = 0; i < room && name[i] != 0; ++i) {
        text += char16_t(name[i]);
    }
    return text;
}

TEST(Signature, SignerIsTheCertificateOfTheSignersIssuerAndSerial) {
    const Bytes decoy = Certificate(7, Name(0x13, Text("Someone Else")));
    const Bytes studio = Certificate(9, Name(0x13, Text("Quillmere Studio")));
    const struct {
        const char* name;
        Bytes table;
        Kind kind;
        std::u16string signer;
        std::size_t room;
    } cases[] = {
        {"printable, after another", Table(decoy + studio, BySerial(9)), Kind::Signed,
         u"Quillmere Studio", 100},
        {"cut to the room", Table(studio, BySerial(9)), Kind::Signed, u"Quill", 6},
        {"no room", Table(studio, BySerial(9)), Kind::Signed, u"", 0},
        {"v1 certificate", Table(Certificate(9, Name(0x13, Text("Old")), true), BySerial(9)),
         Kind::Signed, u"Old", 100},
        {"UTF-8",
         Table(Certificate(9, Name(0x0C, Text("Zo\xC3\xAB \xF0\x9F\x99\x82"))), BySerial(9)),
         Kind::Signed, u"Zo\u00EB \U0001F642", 100},
        {"not UTF-8",
         Table(Certificate(9, Name(0x0C, {'a', 0xC3, 'b', 0xE0, 0x80, 0x80, 0xF0})), BySerial(9)),
         Kind::Signed, u"a\uFFFDb\uFFFD\uFFFD\uFFFD\uFFFD", 100},
        {"BMPString",
         Table(Certificate(9, Name(0x1E, {0x00, 'Q', 0x04, 0x14, 0xD8, 0x3D, 0xDE, 0x42})),
               BySerial(9)),
         Kind::Signed, u"Q\u0414\U0001F642", 100},
        {"UniversalString",
         Table(Certificate(9, Name(0x1C, {0, 0, 0, 'U', 0, 0x11, 0, 0})), BySerial(9)),
         Kind::Signed, u"U\uFFFD", 100},
        {"a line break planted",
         Table(Certificate(9, Name(0x13, Text("X\r\nerror: y"))), BySerial(9)), Kind::Signed,
         u"X??error: y", 100},
        {"no certificate of that serial", Table(decoy, BySerial(9)), Kind::Signed, u"", 100},
        {"no common name", Table(Certificate(9, Der(0x30, {})), BySerial(9)), Kind::Signed, u"",
         100},
        {"signer by key identifier", Table(studio, Der(0x80, {1, 2})), Kind::Signed, u"", 100},
        {"not SignedData", Table(studio, BySerial(9), 2, Der(0x06, {0x2A, 0x03})), Kind::Unreadable,
         u"", 100},
        {"an X.509 certificate", Table(studio, BySerial(9), 1), Kind::Unreadable, u"", 100},
        {"indefinite length", Bytes{16, 0, 0, 0, 0, 2, 2, 0, 0x30, 0x80, 0x06, 0, 0, 0, 0, 0},
         Kind::Unreadable, u"", 100},
        {"a length of five bytes", Bytes{16, 0, 0, 0, 0, 2, 2, 0, 0x30, 0x85, 0, 0, 0, 0, 1, 5},
         Kind::Unreadable, u"", 100},
        {"longer than its table", Bytes{200, 0, 0, 0, 0, 2, 2, 0}, Kind::Unreadable, u"", 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Kind kind = Kind::NotProgram;
        EXPECT_EQ(c.signer, NameOf(c.table, &kind, c.room));
        EXPECT_EQ(c.kind, kind);
    }
}

TEST(Signature, EveryCutOfASignatureIsRefused) {
    Bytes whole = Table(Certificate(9, Name(0x13, Text("Quillmere Studio"))), BySerial(9));
    for (std::size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        Bytes cut(whole.begin(), whole.begin() + size);
        if (size >= 8) { // the header says what is there
            cut[0] = std::uint8_t(size);
            cut[1] = std::uint8_t(size >> 8);
        }
        Kind kind = Kind::Signed;
        EXPECT_EQ(u"", NameOf(cut, &kind));
        EXPECT_EQ(Kind::Unreadable, kind);
    }
}

void Put32(Bytes* file, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        (*file)[at + i] = std::uint8_t(value >> (8 * i));
    }
}

// A program file's headers: the DOS header pointing at the PE header at
// 0x80, a 32-bit or 64-bit optional header of `directories` data
// directories, and the certificate directory.
Bytes Program(std::uint16_t magic, std::uint32_t directories, std::uint32_t offset,
              std::uint32_t size, std::size_t fileSize = 0x600) {
    Bytes file(0x200);
    file[0] = 'M';
    file[1] = 'Z';
    Put32(&file, 0x3C, 0x80);
    std::size_t pe = 0x80, optional = pe + 24, count = optional + (magic == 0x20B ? 108 : 92);
    file[pe] = 'P';
    file[pe + 1] = 'E';
    file[pe + 20] = magic == 0x20B ? 240 : 224; // SizeOfOptionalHeader
    file[optional] = std::uint8_t(magic);
    file[optional + 1] = std::uint8_t(magic >> 8);
    Put32(&file, count, directories);
    Put32(&file, count + 4 + 4 * 8, offset);
    Put32(&file, count + 4 + 4 * 8 + 4, size);
    file.resize(fileSize);
    return file;
}

// As the platform reads a file: the DOS header, then the PE header.
Kind Classify(const Bytes& file, signature::Table* table) {
    std::uint32_t at = 0;
    if (!signature::PeHeaderAt(file.data(), file.size(), &at) || at > file.size()) {
        return Kind::NotProgram;
    }
    std::size_t size = std::min<std::size_t>(file.size() - at, signature::kPeHeaderBytes);
    return signature::CertificateTableOf(file.data() + at, size, file.size(), table);
}

TEST(Signature, CertificateTableFromTheHeaders) {
    Bytes shortOptional = Program(0x10B, 16, 0x400, 0x100);
    shortOptional[0x80 + 20] = 96 + 4 * 8; // ends before the certificate directory
    Bytes notPe = Program(0x10B, 16, 0x400, 0x100);
    notPe[0x80] = 'N';
    Bytes farHeader = Program(0x10B, 16, 0x400, 0x100);
    Put32(&farHeader, 0x3C, 0xFFFFFFF0);
    const struct {
        const char* name;
        Bytes file;
        Kind kind;
        std::uint32_t offset = 0, size = 0;
    } cases[] = {
        {"32-bit, signed", Program(0x10B, 16, 0x400, 0x200), Kind::Signed, 0x400, 0x200},
        {"64-bit, signed", Program(0x20B, 16, 0x500, 0x100), Kind::Signed, 0x500, 0x100},
        {"no table", Program(0x10B, 16, 0, 0), Kind::Unsigned},
        {"an empty table", Program(0x10B, 16, 0x400, 0), Kind::Unsigned},
        {"four directories", Program(0x10B, 4, 0x400, 0x100), Kind::Unsigned},
        {"table past the end", Program(0x10B, 16, 0x500, 0x101), Kind::Unreadable},
        {"table past 4 GB", Program(0x10B, 16, 0xFFFFFF00, 0x200), Kind::Unreadable},
        {"unknown optional header", Program(0x107, 16, 0x400, 0x100), Kind::NotProgram},
        {"optional header too short", shortOptional, Kind::NotProgram},
        {"no PE signature", notPe, Kind::NotProgram},
        {"PE header past the end", farHeader, Kind::NotProgram},
        {"cut in the header", Program(0x10B, 16, 0x400, 0x100, 0x80 + 150), Kind::NotProgram},
        {"a script", Text("@echo off\r\nsetup.exe /q\r\n") + Bytes(64), Kind::NotProgram},
        {"shorter than a DOS header", Text("MZ"), Kind::NotProgram},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        signature::Table table = {0, 0};
        EXPECT_EQ(c.kind, Classify(c.file, &table));
        if (c.kind == Kind::Signed) {
            EXPECT_EQ(c.offset, table.offset);
            EXPECT_EQ(c.size, table.size);
        }
    }
}

} // namespace
