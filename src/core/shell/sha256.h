// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vtl {

// SHA-256 (FIPS 180-4), fed in pieces. A contest keeps each flight file's hash, so that a file
// changed after it was scored is found.
class Sha256 {
public:
    Sha256();
    void add(const uint8_t* bytes, size_t length);
    // The digest as 64 lower-case hex digits; the hasher is spent afterwards.
    std::string hexDigest();

    static std::string hexOf(const uint8_t* bytes, size_t length);

private:
    void compress(const uint8_t* block);

    std::array<uint32_t, 8> m_state;
    std::array<uint8_t, 64> m_block{};
    size_t m_blockUsed = 0;
    uint64_t m_totalBytes = 0;
};

} // namespace vtl
