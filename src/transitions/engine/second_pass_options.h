// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/engine/bitmap.h"

#include <QObject>

namespace lumetta {

// Options of the second pass of a two-pass run; form descriptions reach them as Pass2Options.
class SecondPassOptions : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool DistributedTime READ DistributedTime WRITE SetDistributedTime)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
    Q_PROPERTY(bool UseSolidColor READ UseSolidColor WRITE SetUseSolidColor)
    Q_PROPERTY(ColorRef SolidColor READ SolidColor WRITE SetSolidColor)

public:
    explicit SecondPassOptions(QObject *parent = nullptr);

    // Copies the four values from another SecondPassOptions; other sources throw TransitionError.
    void Assign(const QObject *source);

    bool DistributedTime() const { return distributedTime_; }
    void SetDistributedTime(bool value) { distributedTime_ = value; }
    bool Reversed() const { return reversed_; }
    void SetReversed(bool value) { reversed_ = value; }
    bool UseSolidColor() const { return useSolidColor_; }
    void SetUseSolidColor(bool value) { useSolidColor_ = value; }
    ColorRef SolidColor() const { return solidColor_; }
    void SetSolidColor(ColorRef value) { solidColor_ = value; }

private:
    bool distributedTime_ = false;
    bool reversed_ = false;
    bool useSolidColor_ = true;
    ColorRef solidColor_ = kClControlColor;
};

}  // namespace lumetta
