// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "show/show_settings.h"

#include <cstdlib>

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(fuzz::Bytes(data, size));
    if (const auto color = StringToColor(text)) {
        // Every colour we read must survive being written and read again.
        const auto again = StringToColor(ColorToString(*color));
        if (!again || *again != *color)
            std::abort();
        ResolveColor(*color, QPalette());
    }
    SplitBackgroundLine(text);
    return 0;
}
