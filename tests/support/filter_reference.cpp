// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/filter_reference.h"

#include "core/flight/wrapping_arithmetic.h"

namespace vtl::testing {

void coarseCutStepByStep(std::vector<int32_t>& w, size_t n, int32_t c) {
    int64_t s = c, allowance = 0;
    for (size_t a = 0, i = 1; i < n; ++i) {
        allowance += s;
        const int32_t d = wrap32(int64_t{w[i]} - w[a]);
        if ((d < 0 ? -int64_t{d} : d) < allowance) {
            s = c;
            for (size_t m = a + 1; m <= i && i != a + 1; ++m) {
                w[m] = wrap32(int64_t{w[m - 1]} + divide32(d, static_cast<int32_t>(i - a)));
            }
            a = i;
            allowance = 0;
        } else if (i - a > 20) {
            i = a;
            s += 30;
            allowance = 0;
        }
    }
}

void fineCutStepByStep(std::vector<int32_t>& w, const int32_t* trend, size_t n, int64_t t) {
    int64_t u = t, sum = 0;
    for (size_t a = 0, i = 1; i + 1 < n; ++i) {
        sum += wrap32(5 * (int64_t{trend[i + 1]} - trend[i - 1]));
        const int64_t q = (sum < 0 ? -sum : sum) / 10;
        if (trend[i] - q - u <= w[i] && w[i] <= trend[i] + q + u) {
            u = t;
            const int32_t d = wrap32(int64_t{w[i]} - w[a]);
            const int32_t step10 = divide32(wrap32(10 * int64_t{d}), static_cast<int32_t>(i - a));
            int32_t product = 0;
            for (size_t m = a + 1; m <= i && i != a + 1; ++m) {
                product = wrap32(int64_t{product} + step10);
                w[m] = wrap32(int64_t{w[a]} + product / 10);
            }
            a = i;
            sum = 0;
        } else if (i - a > 45) {
            i = a;
            u += 1;
        }
    }
}

} // namespace vtl::testing
