// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vtl::fuzz {

// Reads the fuzzer's bytes as a stream of small values; past the end everything reads as zero,
// so every input is a complete script.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    uint16_t word() { return static_cast<uint16_t>(byte() | (byte() << 8)); }
    int32_t int32() {
        uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            value |= static_cast<uint32_t>(byte()) << shift;
        }
        return static_cast<int32_t>(value);
    }
    bool flag() { return (byte() & 1) != 0; }
    std::vector<uint8_t> bytes(size_t count) {
        std::vector<uint8_t> taken;
        while (count-- > 0 && m_at < m_size) {
            taken.push_back(m_data[m_at++]);
        }
        return taken;
    }
    std::string text(size_t longest) {
        const std::vector<uint8_t> taken = bytes(byte() % (longest + 1));
        return std::string(taken.begin(), taken.end());
    }
    bool empty() const { return m_at >= m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

} // namespace vtl::fuzz
