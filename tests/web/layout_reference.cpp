// SPDX-License-Identifier: GPL-3.0-or-later
// The player's slide rectangles for the web show's test: layout_reference PERCENT SHADOW then lines
// "SW SH PW PH" on stdin; prints "SW SH PW PH  L T W H  SL ST SW SH" (the shadow 0 0 0 0 when off).
#include "player/slide_composition.h"

#include <iostream>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    const int percent = std::atoi(argv[1]);
    const bool shadow = std::atoi(argv[2]) != 0;
    int sw = 0, sh = 0, pw = 0, ph = 0;
    while (std::cin >> sw >> sh >> pw >> ph) {
        const lumetta::SlideLayout layout = lumetta::LayOutSlide(
            QSize(pw, ph), QSize(sw, sh), percent > 0 ? std::optional<int>(percent) : std::nullopt, shadow);
        const QRect s = layout.shadow.value_or(QRect(0, 0, 0, 0));
        std::cout << sw << ' ' << sh << ' ' << pw << ' ' << ph << "  " << layout.picture.x() << ' '
                  << layout.picture.y() << ' ' << layout.picture.width() << ' ' << layout.picture.height() << "  "
                  << s.x() << ' ' << s.y() << ' ' << s.width() << ' ' << s.height() << '\n';
    }
    return 0;
}
