// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/transition_effect.h"

#include "transitions/engine/input_guard.h"
#include "transitions/engine/transition_error.h"
#include "transitions/engine/transition_list.h"
#include "transitions/engine/transition_registry.h"

namespace lumetta {

TTransitionEffect::TTransitionEffect(QObject *owner) : QObject(owner), pass2Options_(new SecondPassOptions(this))
{
    InitTransitionEngine();
    allowedDirections.set(tedNone);
}

TTransitionEffect::~TTransitionEffect()
{
    if (transitionList_)
        transitionList_->RemoveTransition(this);
    delete inputGuard_;
    // Also when deleted during its own run: the run notices at its next check and touches
    // nothing of the effect any more.
    Release();
}

void TTransitionEffect::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TTransitionEffect *>(source);
    if (!other)
        throw TransitionError(QStringLiteral("Cannot assign a %1 to a %2")
                                  .arg(source ? StoredClassName(source) : QStringLiteral("nil"), StoredClassName(this))
                                  .toStdString());
    SetMilliseconds(other->milliseconds_);
    pass2Options_->Assign(other->pass2Options_);
    passSetting_ = other->passSetting_;
    forceRendering = other->forceRendering;
    forceScreenCopy = other->forceScreenCopy;
    clientCoordinates = other->clientCoordinates;
    SetEnabled(other->enabled_);
    flickerFreeWhenDisabled_ = other->flickerFreeWhenDisabled_;
    SetDirection(other->direction_);
    reversed_ = other->reversed_;
    abortOnClick_ = other->abortOnClick_;
    abortOnEscape_ = other->abortOnEscape_;
}

TTransitionEffect::EffectDirection TTransitionEffect::ReversedDirection() const
{
    switch (direction_) {
    case tedRight:
        return tedLeft;
    case tedLeft:
        return tedRight;
    case tedDown:
        return tedUp;
    case tedUp:
        return tedDown;
    case tedDownRight:
        return tedUpLeft;
    case tedUpLeft:
        return tedDownRight;
    case tedDownLeft:
        return tedUpRight;
    case tedUpRight:
        return tedDownLeft;
    case tedIn:
        return tedOut;
    case tedOut:
        return tedIn;
    case tedNone:
        break;
    }
    return direction_;
}

int TTransitionEffect::GetBitmapsWidth(int width) const
{
    return width;
}
PixelFormat TTransitionEffect::GetPixelFormat() const
{
    return ScreenPixelFormat();
}
bool TTransitionEffect::NeedDstImage() const
{
    return true;
}
bool TTransitionEffect::NeedSrcImage() const
{
    return true;
}
bool TTransitionEffect::AllowSrcRendering() const
{
    return true;
}
bool TTransitionEffect::NeedWorkBitmap() const
{
    return false;
}
bool TTransitionEffect::WorkOnSrcBitmap() const
{
    return false;
}
QString TTransitionEffect::GetDescription() const
{
    return StoredClassName(this);
}
QString TTransitionEffect::GetEditorName() const
{
    return QStringLiteral("TTransitionEffectEditor");
}
bool TTransitionEffect::FirstPassAnimated() const
{
    return true;
}

void TTransitionEffect::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    if (!value)
        UnPrepare();
}

void TTransitionEffect::SetMilliseconds(int value)
{
    milliseconds_ = kMillisecondsRange.Clamp(value);
}

std::optional<ValueRange> TTransitionEffect::PropertyRange(const QString &property) const
{
    if (property == QLatin1String("Milliseconds"))
        return kMillisecondsRange;
    return std::nullopt;
}

void TTransitionEffect::SetDirection(EffectDirection value)
{
    if (int(value) >= 0 && int(value) < 16 && allowedDirections.test(size_t(value)))
        direction_ = value;
}

int TTransitionEffect::GetPassCount() const
{
    switch (passSetting_) {
    case teOnePass:
        return 1;
    case teTwoPasses:
        return 2;
    case tePaletteDependent:
        return ScreenBitsPerPixel() == 8 ? 2 : 1;
    }
    return 1;
}

bool TTransitionEffect::GetReversedToUse() const
{
    const bool invert = pass2Options_->Reversed() && GetPassCount() == 2 && FirstPassAnimated() && !inSecondPass_;
    return invert ? !reversed_ : reversed_;
}

TTransitionEffect::EffectDirection TTransitionEffect::GetDirectionToUse() const
{
    return GetReversedToUse() ? ReversedDirection() : direction_;
}

TravelDirection TTransitionEffect::GetTravelDirection() const
{
    switch (GetDirectionToUse()) {
    case tedLeft:
        return TravelDirection::Left;
    case tedDown:
        return TravelDirection::Down;
    case tedUp:
        return TravelDirection::Up;
    case tedDownRight:
        return TravelDirection::DownRight;
    case tedDownLeft:
        return TravelDirection::DownLeft;
    case tedUpRight:
        return TravelDirection::UpRight;
    case tedUpLeft:
        return TravelDirection::UpLeft;
    case tedIn:
        return TravelDirection::In;
    case tedOut:
        return TravelDirection::Out;
    case tedNone:
    case tedRight:
        break;
    }
    return TravelDirection::Right;
}

void TTransitionEffect::SetTransitionList(TTransitionList *list)
{
    if (list == transitionList_)
        return;
    if (transitionList_)
        transitionList_->RemoveTransition(this);
    if (list)
        list->AddTransition(this);
}

}  // namespace lumetta
