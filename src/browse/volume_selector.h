// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browse/volumes.h"

#include <QComboBox>
#include <QStringList>

namespace lumetta {

// Drop-down list of the mounted volumes with their icons and display names. A volume is named
// by its root path (with a trailing "/"), which plays the part of a drive letter.
class VolumeSelector : public QComboBox
{
    Q_OBJECT
public:
    explicit VolumeSelector(QWidget *parent = nullptr);

    // Root path of the selected volume.
    QString Drive() const { return drive_; }
    // Selects the volume with this root; an unknown root changes nothing.
    void SetDrive(const QString &root);

    // Fills the list again (with the mounted volumes by default); the position picked before
    // stays picked, the first volume when the list got shorter.
    void Fill();
    void Fill(const QList<VolumeInfo> &volumes);

    // Root paths in item order.
    const QStringList &Roots() const { return roots_; }

signals:
    // The user picked a volume; Drive names it.
    void Changed();

private:
    void Picked(int index);

    QStringList roots_;
    int remembered_ = 0;
    QString drive_;
};

}  // namespace lumetta
