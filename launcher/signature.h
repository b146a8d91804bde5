// A program file's Authenticode signature, read from its bytes: where the PE
// header keeps the certificate table, and whose certificate signed. A plain
// reading: nothing here decides whether a signature is valid or trusted,
// which only Windows can do on the customer's machine.
#ifndef TANDREL_LAUNCHER_SIGNATURE_H
#define TANDREL_LAUNCHER_SIGNATURE_H

#include <cstddef>
#include <cstdint>

namespace signature {

// The file's first bytes, which say where its PE header is.
const std::uint32_t kDosHeaderBytes = 64;
// The PE header up to the last data directory it can have: the signature,
// the file header and the larger (64-bit) optional header.
const std::uint32_t kPeHeaderBytes = 4 + 20 + 240;
// The most of a certificate table that is read; signers' tables take a few
// kilobytes, several signatures and time stamps some tens.
const std::uint32_t kMostTableBytes = 1 << 20;

enum class Kind {
    NotProgram, // no PE header: a package, a script, a document
    Unsigned,   // a program whose header names no certificate table
    Signed,     // a program with an Authenticode signature
    Unreadable, // a table that lies outside the file or holds no signature
};

// Where the certificate table lies: a file offset and a size in bytes.
struct Table {
    std::uint32_t offset;
    std::uint32_t size;
};

// The PE header's offset from the file's first `size` bytes; false when they
// are not a program's.
bool PeHeaderAt(const std::uint8_t* dos, std::size_t size, std::uint32_t* offset);

// From the `size` bytes at the PE header of a file of `fileSize` bytes:
// NotProgram, Unsigned, or Signed with `table` set; Unreadable when the table
// lies outside the file.
Kind CertificateTableOf(const std::uint8_t* pe, std::size_t size, std::uint64_t fileSize,
                        Table* table);

// From a certificate table's bytes: Signed, with the common name of the
// signer's certificate in `name` (UTF-16, cut to `room` units with the
// closing zero; empty when the certificate gives none), or Unreadable when
// the table's first certificate is no PKCS#7 SignedData. Control characters
// of the name become '?', so that it stays on one line of a report.
Kind SignerOf(const std::uint8_t* table, std::size_t size, std::uint16_t* name, std::size_t room);

} // namespace signature

#endif
