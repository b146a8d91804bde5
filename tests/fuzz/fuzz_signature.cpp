// Feeds arbitrary bytes to the signature reader, as a program file or else as
// a certificate table, and checks what the check relies on: a table is only
// reported inside the file, and a name always ends within its buffer. The
// sanitizers catch any read outside the bytes.
#include <algorithm>
#include <cstdlib>

#include "launcher/signature.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint32_t at = 0;
    signature::Table table = {0, 0}, whole = {0, static_cast<std::uint32_t>(size)};
    bool signedProgram = signature::PeHeaderAt(data, size, &at) && at <= size &&
                         signature::CertificateTableOf(
                             data + at, std::min<std::size_t>(size - at, signature::kPeHeaderBytes),
                             size, &table) == signature::Kind::Signed;
    if (signedProgram && std::uint64_t{table.offset} + table.size > size) {
        std::abort(); // a table outside the file
    }
    table = signedProgram ? table : whole;
    std::uint16_t name[16];
    signature::SignerOf(data + table.offset, table.size, name, 16);
    if (std::find(name, name + 16, 0) == name + 16) {
        std::abort(); // the name does not end within its buffer
    }
    return 0;
}
