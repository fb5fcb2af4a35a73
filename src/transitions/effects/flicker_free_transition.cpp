// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/flicker_free_transition.h"

#include "transitions/engine/render_window.h"

namespace lumetta {

TFlickerFreeTransition::TFlickerFreeTransition(QObject *Owner) : TTransitionEffect(Owner)
{
}

QString TFlickerFreeTransition::GetDescription() const
{
    return QStringLiteral("Flicker free cut");
}
bool TFlickerFreeTransition::NeedSrcImage() const
{
    return false;
}
PixelFormat TFlickerFreeTransition::GetPixelFormat() const
{
    return pfDevice;
}

void TFlickerFreeTransition::RunTransition(PassData &Data)
{
    if (Data.DstBmp && Data.GetCanvas())
        CopyRect(*Data.GetCanvas(), *Data.DstBmp, QRect(0, 0, Data.Width, Data.Height));
    if (Data.RenderWindow && !Data.Bitmap)
        Data.RenderWindow->Present(QRect(0, 0, Data.Width, Data.Height));
}

}  // namespace lumetta
