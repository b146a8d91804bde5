// Reading a program's signature from its bytes: where its certificate table
// lies, and the signer's name, found through the signer's issuer and serial
// number among the certificates. Hostile and cut bytes never read outside
// their buffer (the sanitizers watch) and never give a name.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bmp_builder.h" // its little-endian stores
#include "launcher/signature.h"

namespace {

using signature::Kind;
using Bytes = std::vector<std::uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Der(std::uint8_t tag, const Bytes& contents) {
    std::size_t n = contents.size();
    return (n < 0x80 ? Bytes{tag, std::uint8_t(n)}
                     : Bytes{tag, 0x82, std::uint8_t(n >> 8), std::uint8_t(n)}) +
           contents;
}

// An X.500 name: an organisation, then the common name as a string of `tag`.
Bytes Name(std::uint8_t tag, const std::string& commonName) {
    Bytes organisation = {0x06, 0x03, 0x55, 0x04, 0x0A}, common = {0x06, 0x03, 0x55, 0x04, 0x03};
    return Der(
        0x30,
        Der(0x31, Der(0x30, organisation + Der(0x13, {'Q'}))) +
            Der(0x31, Der(0x30, common + Der(tag, Bytes(commonName.begin(), commonName.end())))));
}

const Bytes kIssuer = Name(0x13, "Test Root");

// A certificate up to its subject, the fields the reader walks.
Bytes Certificate(std::uint8_t serial, const Bytes& subject) {
    Bytes body = Der(0xA0, Der(0x02, {2})) + Der(0x02, {serial}) + Der(0x30, {}) + kIssuer +
                 Der(0x30, {}) + subject + Der(0x30, {});
    return Der(0x30, Der(0x30, body) + Der(0x30, {}) + Der(0x03, {0}));
}

// A WIN_CERTIFICATE with PKCS#7 content of `type` (2: SignedData) holding
// these certificates and a signer that names its own by `signerId`: issuer
// and serial number 9, unless given.
Bytes Table(const Bytes& certificates, Bytes signerId = {}, std::uint8_t type = 2) {
    signerId = signerId.empty() ? Der(0x30, kIssuer + Der(0x02, {9})) : signerId;
    Bytes signer = Der(0x30, Der(0x02, {1}) + signerId + Der(0x30, {}));
    Bytes signedData = Der(0x30, Der(0x02, {1}) + Der(0x31, {}) + Der(0x30, {}) +
                                     Der(0xA0, certificates) + Der(0x31, signer));
    Bytes oid = {0x06, 0x09, 0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x07, type};
    Bytes der = Der(0x30, oid + Der(0xA0, signedData));
    std::size_t length = der.size() + 8;
    return Bytes{std::uint8_t(length), std::uint8_t(length >> 8), 0, 0, 0, 2, 2, 0} + der;
}

// The name read into a buffer of exactly `room` units (the sanitizers catch
// a write past it), up to its closing zero; or "(unreadable)".
std::u16string SignerOf(const Bytes& table, std::size_t room = 100) {
    std::vector<std::uint16_t> name(room, 0xAAAA);
    Kind kind = signature::SignerOf(table.data(), table.size(), name.data(), room);
    std::u16string text(name.begin(), std::find(name.begin(), name.end(), 0));
    return kind == Kind::Signed ? text : u"(unreadable)" + text;
}

TEST(Signature, SignerIsTheCertificateOfTheSignersIssuerAndSerial) {
    const Bytes decoy = Certificate(7, Name(0x13, "Someone Else"));
    const Bytes studio = Certificate(9, Name(0x13, "Quillmere Studio"));
    Bytes x509 = Table(studio);
    x509[6] = 1; // a WIN_CERTIFICATE of an X.509 certificate
    const struct {
        const char* name;
        Bytes table;
        std::u16string signer;
    } cases[] = {
        {"printable, after another", Table(decoy + studio), u"Quillmere Studio"},
        {"UTF-8", Table(Certificate(9, Name(0x0C, "Zo\xC3\xAB \xF0\x9F\x99\x82"))),
         u"Zo\u00EB \U0001F642"},
        {"not UTF-8",
         Table(Certificate(9, Name(0x0C, "a\xC3"
                                         "b\xE0\x80\x80\xF0"))),
         u"a\uFFFDb\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"BMPString",
         Table(Certificate(9, Name(0x1E, std::string("\0Q\x04\x14\xD8\x3D\xDE\x42", 8)))),
         u"Q\u0414\U0001F642"},
        {"a line break planted", Table(Certificate(9, Name(0x13, "X\r\nerror: y"))),
         u"X??error: y"},
        {"no certificate of that serial", Table(decoy), u""},
        {"no common name", Table(Certificate(9, Der(0x30, {}))), u""},
        {"signer by key identifier", Table(studio, Der(0x80, {1, 2})), u""},
        {"enveloped data", Table(studio, {}, 3), u"(unreadable)"},
        {"an X.509 certificate", x509, u"(unreadable)"},
        {"indefinite length", Bytes{16, 0, 0, 0, 0, 2, 2, 0, 0x30, 0x80, 6, 0, 0, 0, 0, 0},
         u"(unreadable)"},
        {"a length of five bytes", Bytes{16, 0, 0, 0, 0, 2, 2, 0, 0x30, 0x85, 0, 0, 0, 0, 1, 5},
         u"(unreadable)"},
        {"longer than its table", Bytes{200, 0, 0, 0, 0, 2, 2, 0}, u"(unreadable)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.signer, SignerOf(c.table));
    }
    EXPECT_EQ(u"Quill", SignerOf(Table(studio), 6)) << "cut to its room";
}

TEST(Signature, EveryCutOfASignatureIsRefused) {
    Bytes whole = Table(Certificate(9, Name(0x13, "Quillmere Studio")));
    for (std::size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        Bytes cut(whole.begin(), whole.begin() + size);
        if (size >= 8) { // the header says what is there
            cut[0] = std::uint8_t(size), cut[1] = std::uint8_t(size >> 8);
        }
        EXPECT_EQ(u"(unreadable)", SignerOf(cut));
    }
}

// A program file's headers: the DOS header pointing at the PE header at
// 0x80, a 32-bit or 64-bit optional header of `directories` data
// directories, and the certificate directory.
Bytes Program(std::uint16_t magic, std::uint32_t directories, std::uint32_t offset,
              std::uint32_t size, std::size_t fileSize = 0x600) {
    Bytes file(0x200);
    std::size_t optional = 0x80 + 24, count = optional + (magic == 0x20B ? 108 : 92);
    file[0] = 'M', file[1] = 'Z', file[0x80] = 'P', file[0x80 + 1] = 'E', file[0x3C] = 0x80;
    file[0x80 + 20] = magic == 0x20B ? 240 : 224; // SizeOfOptionalHeader
    file[optional] = std::uint8_t(magic), file[optional + 1] = std::uint8_t(magic >> 8);
    bmp::PutLe32(file, count, directories);
    bmp::PutLe32(file, count + 4 + 4 * 8, offset);
    bmp::PutLe32(file, count + 4 + 4 * 8 + 4, size);
    file.resize(fileSize);
    return file;
}

TEST(Signature, CertificateTableFromTheHeaders) {
    Bytes shortOptional = Program(0x10B, 16, 0x400, 0x100), notPe = shortOptional,
          farHeader = shortOptional;
    shortOptional[0x80 + 20] = 96 + 4 * 8; // ends before the certificate directory
    notPe[0x80] = 'N';
    farHeader[0x3F] = 0xFF; // the PE header 4 GB on
    const struct {
        const char* name;
        Bytes file;
        std::string kind; // and where the table lies
    } cases[] = {
        {"32-bit, signed", Program(0x10B, 16, 0x400, 0x200), "signed 1024+512"},
        {"64-bit, signed", Program(0x20B, 16, 0x500, 0x100), "signed 1280+256"},
        {"no table", Program(0x10B, 16, 0, 0), "unsigned"},
        {"four directories", Program(0x10B, 4, 0x400, 0x100), "unsigned"},
        {"table past the end", Program(0x10B, 16, 0x500, 0x101), "unreadable"},
        {"table past 4 GB", Program(0x10B, 16, 0xFFFFFF00, 0x200), "unreadable"},
        {"unknown optional header", Program(0x107, 16, 0x400, 0x100), "not a program"},
        {"optional header too short", shortOptional, "not a program"},
        {"no PE signature", notPe, "not a program"},
        {"PE header past the end", farHeader, "not a program"},
        {"cut in the header", Program(0x10B, 16, 0x400, 0x100, 0x80 + 150), "not a program"},
        {"a script", Bytes(64, '@'), "not a program"},
    };
    const char* const kinds[] = {"not a program", "unsigned", "signed", "unreadable"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // As the platform reads a file: the DOS header, then the PE header.
        std::uint32_t at = 0;
        signature::Table table = {0, 0};
        Kind kind = Kind::NotProgram;
        if (signature::PeHeaderAt(c.file.data(), c.file.size(), &at) && at <= c.file.size()) {
            std::size_t size = std::min<std::size_t>(c.file.size() - at, signature::kPeHeaderBytes);
            kind = signature::CertificateTableOf(c.file.data() + at, size, c.file.size(), &table);
        }
        EXPECT_EQ(c.kind,
                  kinds[int(kind)] + (kind == Kind::Signed ? " " + std::to_string(table.offset) +
                                                                 "+" + std::to_string(table.size)
                                                           : ""));
    }
}

} // namespace
