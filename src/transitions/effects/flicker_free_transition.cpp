// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/flicker_free_transition.h"

#include "transitions/engine/render_window.h"

namespace lumetta {

TFlickerFreeTransition::TFlickerFreeTransition(QObject *owner) : TTransitionEffect(owner)
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

void TFlickerFreeTransition::RunTransition(PassData &data)
{
    if (data.dstBmp && data.GetCanvas())
        CopyRect(*data.GetCanvas(), *data.dstBmp, QRect(0, 0, data.width, data.height));
    if (data.renderWindow && !data.bitmap)
        data.renderWindow->Present(QRect(0, 0, data.width, data.height));
}

}  // namespace lumetta
