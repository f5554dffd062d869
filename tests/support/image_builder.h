// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/calibration.h"
#include "core/flight/flight_image.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace vtl::testing {

// Builds flight images slot by slot for tests that need exact raw words.
class ImageBuilder {
public:
    explicit ImageBuilder(const Calibration& calibration = Calibration{},
                          uint16_t startUt = 27000) {
        m_bytes.assign(image::kHeaderSize, 0);
        image::writeWord(m_bytes.data(), image::kStartTemperature, startUt);
        const uint16_t words[] = {static_cast<uint16_t>(calibration.AC1),
                                  static_cast<uint16_t>(calibration.AC2),
                                  static_cast<uint16_t>(calibration.AC3),
                                  calibration.AC4,
                                  calibration.AC5,
                                  calibration.AC6,
                                  static_cast<uint16_t>(calibration.B1),
                                  static_cast<uint16_t>(calibration.B2),
                                  static_cast<uint16_t>(calibration.MB),
                                  static_cast<uint16_t>(calibration.MC),
                                  static_cast<uint16_t>(calibration.MD)};
        for (size_t i = 0; i < 11; ++i) {
            image::writeWord(m_bytes.data(), image::kCalibration + 2 * i, words[i]);
        }
    }

    ImageBuilder& slot(uint16_t rawTemperature, uint16_t rawPressure) {
        m_bytes.push_back(static_cast<uint8_t>(rawTemperature & 0xFF));
        m_bytes.push_back(static_cast<uint8_t>(rawTemperature >> 8));
        m_bytes.push_back(static_cast<uint8_t>(rawPressure & 0xFF));
        m_bytes.push_back(static_cast<uint8_t>(rawPressure >> 8));
        return *this;
    }

    ImageBuilder& slots(size_t count, uint16_t rawTemperature, uint16_t rawPressure) {
        for (size_t i = 0; i < count; ++i) {
            slot(rawTemperature, rawPressure);
        }
        return *this;
    }

    ImageBuilder& terminator() { return slot(0xFFFF, image::kTerminatorPressure); }

    ImageBuilder& header(size_t offset, uint8_t value) {
        m_bytes[offset] = value;
        return *this;
    }

    std::vector<uint8_t> bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

} // namespace vtl::testing
