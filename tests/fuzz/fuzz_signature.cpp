// Feeds arbitrary bytes to the signature reader, as a whole program file and
// as a certificate table, and checks what the check relies on: a table is
// only ever reported inside the file, and a name always ends within its
// buffer. The sanitizers catch any read outside the bytes.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "launcher/signature.h"

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_signature: %s\n", what);
        std::abort();
    }
}

void ReadSigner(const std::uint8_t* data, std::size_t size) {
    const std::size_t kRoom = 16;
    std::vector<std::uint16_t> name(kRoom, 0xAAAA);
    signature::Kind kind = signature::SignerOf(data, size, name.data(), kRoom);
    Check(kind == signature::Kind::Signed || kind == signature::Kind::Unreadable, "kind");
    std::size_t length = 0;
    while (length < kRoom && name[length] != 0) {
        ++length;
    }
    Check(length < kRoom, "name not ended within its buffer");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadSigner(data, size);
    std::uint32_t at = 0;
    if (!signature::PeHeaderAt(data, size, &at) || at > size) {
        return 0;
    }
    signature::Table table = {0, 0};
    std::size_t headerSize =
        size - at < signature::kPeHeaderBytes ? size - at : signature::kPeHeaderBytes;
    if (signature::CertificateTableOf(data + at, headerSize, size, &table) ==
        signature::Kind::Signed) {
        Check(std::uint64_t{table.offset} + table.size <= size, "table outside the file");
        ReadSigner(data + table.offset, table.size);
    }
    return 0;
}
