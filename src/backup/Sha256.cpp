#include "backup/Sha256.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace quorva {

std::string sha256Hex(std::string_view bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1 || length != 32)
        throw std::runtime_error("SHA-256 is not available from the cryptography library.");
    static constexpr char hex[] = "0123456789abcdef";
    std::string out(64, '0');
    for (unsigned int i = 0; i < 32; ++i) {
        out[2 * i] = hex[digest[i] >> 4];
        out[2 * i + 1] = hex[digest[i] & 0x0F];
    }
    return out;
}

} // namespace quorva
