// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

namespace lumetta {

// A failure of the engine, with the message to show.
class TransitionError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

}  // namespace lumetta
