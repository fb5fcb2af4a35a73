// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace lumetta {

// A quotient floor(n / d), d > 0, stepped along an arithmetic sequence of numerators without
// dividing again.
class SteppedQuotient
{
public:
    SteppedQuotient(std::int64_t numerator, std::int64_t denominator, std::int64_t stepBy) : d_(denominator)
    {
        q_ = FloorDivide(numerator, d_);
        r_ = numerator - q_ * d_;
        stepQ_ = FloorDivide(stepBy, d_);
        stepR_ = stepBy - stepQ_ * d_;
    }
    std::int64_t Floor() const { return q_; }
    std::int64_t Ceil() const { return q_ + (r_ != 0); }
    void Step()
    {
        q_ += stepQ_;
        r_ += stepR_;
        if (r_ >= d_) {
            r_ -= d_;
            ++q_;
        }
    }

private:
    static std::int64_t FloorDivide(std::int64_t n, std::int64_t d)
    {
        const std::int64_t q = n / d;
        return (n % d != 0 && (n < 0) != (d < 0)) ? q - 1 : q;
    }
    std::int64_t d_, q_ = 0, r_ = 0, stepQ_ = 0, stepR_ = 0;
};

}  // namespace lumetta
