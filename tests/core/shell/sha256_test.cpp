// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace vtl {
namespace {

std::string hexOf(const std::string& text) {
    return Sha256::hexOf(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// The test vectors of FIPS 180-4's examples: one block, none, two blocks, and many pieces.
TEST(Sha256Test, GivesTheStandardsVectors) {
    EXPECT_EQ(hexOf("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hexOf(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hexOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    Sha256 hasher;
    const std::string thousand(1000, 'a');
    for (int i = 0; i < 1000; ++i) {
        hasher.add(reinterpret_cast<const uint8_t*>(thousand.data()), thousand.size());
    }
    EXPECT_EQ(hasher.hexDigest(),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// Lengths about the padding's edge (55, 56 and 64 bytes) fed whole and byte by byte agree.
TEST(Sha256Test, PiecesGiveTheWholesDigest) {
    for (const size_t length : {55u, 56u, 63u, 64u, 65u}) {
        const std::string text(length, 'x');
        Sha256 bytewise;
        for (const char c : text) {
            bytewise.add(reinterpret_cast<const uint8_t*>(&c), 1);
        }
        EXPECT_EQ(bytewise.hexDigest(), hexOf(text)) << length;
    }
    EXPECT_EQ(hexOf(std::string(56, 'a')),
              "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
}

} // namespace
} // namespace vtl
