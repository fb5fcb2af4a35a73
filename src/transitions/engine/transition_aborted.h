// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>

namespace lumetta {

// The silent abort: ends an operation without a message.
class TransitionAborted : public std::exception
{
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};

}  // namespace lumetta
