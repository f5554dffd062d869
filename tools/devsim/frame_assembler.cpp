// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame_assembler.h"

namespace vtl::devsim {

std::vector<FrameAssembler::Frame> FrameAssembler::feed(const uint8_t* bytes, size_t count,
                                                        TimePoint now) {
    std::vector<Frame> frames;
    if (count == 0) {
        return frames;
    }
    if (m_filled > 0 && now - m_lastByte > kMaximumGap) {
        m_skipped += m_filled;
        m_filled = 0;
    }
    m_lastByte = now;
    for (size_t i = 0; i < count; ++i) {
        if (m_filled == 0 && bytes[i] != protocol::kFrameStart) {
            ++m_skipped;
            continue;
        }
        m_frame[m_filled++] = bytes[i];
        if (m_filled == m_frame.size()) {
            frames.push_back(m_frame);
            m_filled = 0;
        }
    }
    return frames;
}

} // namespace vtl::devsim
