#include "launcher/signature.h"

namespace signature {
namespace {

std::uint32_t Little16(const std::uint8_t* at) {
    return at[0] | at[1] << 8;
}

std::uint32_t Little32(const std::uint8_t* at) {
    return Little16(at) | static_cast<std::uint32_t>(Little16(at + 2)) << 16;
}

// Bytes not yet read of a DER encoding.
struct Der {
    const std::uint8_t* at;
    std::size_t left;
};

// One element: its tag, its whole encoding (to compare) and its contents.
struct Element {
    std::uint8_t tag;
    const std::uint8_t* whole;
    std::size_t wholeSize;
    Der contents;
};

// Takes the next element off `in`. Refuses what a signature's DER never
// holds (long tags, indefinite or overlong lengths) and any length that
// runs past `in`.
bool Next(Der* in, Element* element) {
    if (in->left < 2 || (in->at[0] & 0x1F) == 0x1F) {
        return false;
    }
    std::size_t header = 2, length = in->at[1];
    if (length & 0x80) {
        std::size_t count = length & 0x7F;
        if (count == 0 || count > 4 || count > in->left - 2) {
            return false;
        }
        length = 0;
        for (std::size_t i = 0; i < count; ++i) {
            length = length << 8 | in->at[2 + i];
        }
        header += count;
    }
    if (length > in->left - header) {
        return false;
    }
    element->tag = in->at[0];
    element->whole = in->at;
    element->wholeSize = header + length;
    element->contents = {in->at + header, length};
    in->at += header + length;
    in->left -= header + length;
    return true;
}

bool Expect(Der* in, std::uint8_t tag, Element* element) {
    return Next(in, element) && element->tag == tag;
}

bool SameEncoding(const Element& a, const Element& b) {
    if (a.wholeSize != b.wholeSize) {
        return false;
    }
    for (std::size_t i = 0; i < a.wholeSize; ++i) {
        if (a.whole[i] != b.whole[i]) {
            return false;
        }
    }
    return true;
}

bool IsOid(const Element& element, const std::uint8_t* oid, std::size_t size) {
    Element wanted = {0x06, oid, size, {oid + 2, size - 2}};
    return SameEncoding(element, wanted);
}

const std::uint8_t kSignedDataOid[] = {0x06, 0x09, 0x2A, 0x86, 0x48, 0x86,
                                       0xF7, 0x0D, 0x01, 0x07, 0x02}; // 1.2.840.113549.1.7.2
const std::uint8_t kCommonNameOid[] = {0x06, 0x03, 0x55, 0x04, 0x03}; // 2.5.4.3

const std::uint8_t kSequence = 0x30, kSet = 0x31, kInteger = 0x02, kFirstContext = 0xA0;
const std::uint8_t kUtf8String = 0x0C, kBmpString = 0x1E, kUniversalString = 0x1C;

// A name's characters, as UTF-16 units, into a buffer that always ends in 0.
class NameWriter {
  public:
    NameWriter(std::uint16_t* name, std::size_t room) : name_(name), room_(room) {
        if (room_ > 0) {
            name_[0] = 0;
        }
    }
    void Add(std::uint32_t c) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            c = '?';
        } else if (c > 0x10FFFF) {
            c = 0xFFFD;
        }
        std::size_t units = c > 0xFFFF ? 2 : 1;
        if (room_ == 0 || used_ + units > room_ - 1) {
            return;
        }
        if (units == 2) {
            name_[used_++] = static_cast<std::uint16_t>(0xD800 + ((c - 0x10000) >> 10));
            c = 0xDC00 + (c & 0x3FF);
        }
        name_[used_++] = static_cast<std::uint16_t>(c);
        name_[used_] = 0;
    }

  private:
    std::uint16_t* name_;
    std::size_t room_;
    std::size_t used_ = 0;
};

// One character of UTF-8 and its length in bytes; U+FFFD and one byte for
// anything that is not UTF-8.
std::uint32_t NextUtf8(const std::uint8_t* at, std::size_t left, std::size_t* used) {
    const std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    std::uint8_t lead = at[0];
    std::size_t more = lead < 0x80 ? 0 : lead < 0xC2 ? 4 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    *used = 1;
    if (more == 0) {
        return lead;
    }
    if (more == 4 || lead > 0xF4 || more >= left) {
        return 0xFFFD;
    }
    std::uint32_t c = lead & (0x3F >> more);
    for (std::size_t i = 1; i <= more; ++i) {
        if ((at[i] & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        c = c << 6 | (at[i] & 0x3F);
    }
    if (c < kLeast[more] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
        return 0xFFFD;
    }
    *used = more + 1;
    return c;
}

// A directory string's characters: UTF-8, UTF-16 (BMPString, passed on as
// it is), UTF-32 (UniversalString) or one byte each (PrintableString,
// IA5String and the older kinds).
void AddString(const Element& value, NameWriter* writer) {
    std::size_t unit = value.tag == kBmpString ? 2 : value.tag == kUniversalString ? 4 : 1;
    const std::uint8_t* at = value.contents.at;
    for (std::size_t left = value.contents.left, used = unit; left >= unit;
         at += used, left -= used) {
        std::uint32_t c = 0;
        for (std::size_t i = 0; i < unit; ++i) {
            c = c << 8 | at[i];
        }
        used = unit;
        if (value.tag == kUtf8String) {
            c = NextUtf8(at, left, &used);
        }
        writer->Add(c);
    }
}

// The first common name of an X.500 name: a sequence of sets of
// (type, value) sequences.
void CommonName(Der name, NameWriter* writer) {
    Element set, pair, type, value;
    while (Expect(&name, kSet, &set)) {
        while (Expect(&set.contents, kSequence, &pair)) {
            if (Expect(&pair.contents, 0x06, &type) &&
                IsOid(type, kCommonNameOid, sizeof kCommonNameOid) &&
                Next(&pair.contents, &value)) {
                AddString(value, writer);
                return;
            }
        }
    }
}

// Among the certificates, the one of the given issuer and serial number:
// the signer's. Writes its subject's common name.
void SignerName(Der certificates, const Element& issuer, const Element& serial,
                NameWriter* writer) {
    Element certificate, body, field, algorithm, itsIssuer, validity, subject;
    while (Next(&certificates, &certificate)) {
        Der fields = certificate.contents;
        if (certificate.tag != kSequence || !Expect(&fields, kSequence, &body)) {
            continue;
        }
        fields = body.contents;
        // [0] the version, only when not 1; then the serial number.
        if (!Next(&fields, &field) || (field.tag == kFirstContext && !Next(&fields, &field))) {
            continue;
        }
        if (field.tag == kInteger && SameEncoding(field, serial) &&
            Expect(&fields, kSequence, &algorithm) && Expect(&fields, kSequence, &itsIssuer) &&
            SameEncoding(itsIssuer, issuer) && Expect(&fields, kSequence, &validity) &&
            Expect(&fields, kSequence, &subject)) {
            CommonName(subject.contents, writer);
            return;
        }
    }
}

} // namespace

bool PeHeaderAt(const std::uint8_t* dos, std::size_t size, std::uint32_t* offset) {
    if (size < kDosHeaderBytes || dos[0] != 'M' || dos[1] != 'Z') {
        return false;
    }
    *offset = Little32(dos + 0x3C);
    return true;
}

Kind CertificateTableOf(const std::uint8_t* pe, std::size_t size, std::uint64_t fileSize,
                        Table* table) {
    const std::size_t kOptionalAt = 24, kDirectoryBytes = 8, kCertificateDirectory = 4;
    if (size < kOptionalAt + 2 || pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) {
        return Kind::NotProgram;
    }
    // The number of data directories and the first one, in a 32-bit
    // (PE32) or 64-bit (PE32+) optional header.
    std::uint32_t magic = Little16(pe + kOptionalAt);
    std::size_t countAt = magic == 0x10B ? 92 : magic == 0x20B ? 108 : 0;
    std::size_t directoryAt = kOptionalAt + countAt + 4 + kCertificateDirectory * kDirectoryBytes;
    if (countAt == 0 || directoryAt + kDirectoryBytes > size ||
        directoryAt + kDirectoryBytes > kOptionalAt + Little16(pe + 20)) {
        return Kind::NotProgram;
    }
    if (Little32(pe + kOptionalAt + countAt) <= kCertificateDirectory) {
        return Kind::Unsigned;
    }
    // Unlike every other directory's, this address is a file offset.
    table->offset = Little32(pe + directoryAt);
    table->size = Little32(pe + directoryAt + 4);
    if (table->offset == 0 || table->size == 0) {
        return Kind::Unsigned;
    }
    return std::uint64_t{table->offset} + table->size > fileSize ? Kind::Unreadable : Kind::Signed;
}

Kind SignerOf(const std::uint8_t* table, std::size_t size, std::uint16_t* name, std::size_t room) {
    NameWriter writer(name, room);
    // WIN_CERTIFICATE: its length with this header, revision and type
    // (2: PKCS#7 SignedData).
    const std::size_t kHeader = 8;
    if (size < kHeader || Little32(table) < kHeader || Little32(table) > size ||
        Little16(table + 6) != 2) {
        return Kind::Unreadable;
    }
    Der in = {table + kHeader, Little32(table) - kHeader};
    Element info, type, wrapped, signedData, version, digests, content, item = {}, signer;
    if (!Expect(&in, kSequence, &info) || !Expect(&info.contents, 0x06, &type) ||
        !IsOid(type, kSignedDataOid, sizeof kSignedDataOid) ||
        !Expect(&info.contents, kFirstContext, &wrapped) ||
        !Expect(&wrapped.contents, kSequence, &signedData)) {
        return Kind::Unreadable;
    }
    // SignedData: version, digest algorithms, the signed content, [0] the
    // certificates, [1] revocation lists, then the signers.
    Der fields = signedData.contents, certificates = {nullptr, 0};
    if (!Expect(&fields, kInteger, &version) || !Expect(&fields, kSet, &digests) ||
        !Expect(&fields, kSequence, &content)) {
        return Kind::Unreadable;
    }
    bool haveSigners = false;
    while (!haveSigners && Next(&fields, &item)) {
        if (item.tag == kFirstContext) {
            certificates = item.contents;
        }
        haveSigners = item.tag == kSet;
    }
    if (!haveSigners || !Expect(&item.contents, kSequence, &signer) ||
        !Expect(&signer.contents, kInteger, &version)) {
        return Kind::Unreadable;
    }
    // A signer names its certificate by issuer and serial number (version
    // 1, which Authenticode asks for) or by key identifier, which leaves it
    // unnamed here.
    Element issuerAndSerial, issuer, serial;
    Der rest = signer.contents;
    if (Expect(&rest, kSequence, &issuerAndSerial) &&
        Expect(&issuerAndSerial.contents, kSequence, &issuer) &&
        Expect(&issuerAndSerial.contents, kInteger, &serial)) {
        SignerName(certificates, issuer, serial, &writer);
    }
    return Kind::Signed;
}

} // namespace signature
