// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/volume_selector.h"

#include <QFileIconProvider>

namespace lumetta {

VolumeSelector::VolumeSelector(QWidget *parent) : QComboBox(parent)
{
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    connect(this, &QComboBox::activated, this, &VolumeSelector::Picked);
    Fill();
}

void VolumeSelector::SetDrive(const QString &root)
{
    if (root == drive_) {
        setCurrentIndex(count() > 0 ? remembered_ : -1);
        return;
    }
    const int index = roots_.indexOf(root);
    if (index < 0)
        return;
    drive_ = root;
    remembered_ = index;
    setCurrentIndex(index);
}

void VolumeSelector::Fill()
{
    Fill(MountedVolumes());
}

void VolumeSelector::Fill(const QList<VolumeInfo> &volumes)
{
    if (count() > 0 && currentIndex() >= 0)
        remembered_ = currentIndex();
    clear();
    roots_.clear();
    const QIcon icon = QFileIconProvider().icon(QAbstractFileIconProvider::Drive);
    for (const VolumeInfo &volume : volumes) {
        addItem(icon, volume.displayName);
        roots_.append(volume.rootPath);
    }
    if (remembered_ >= roots_.size())
        remembered_ = 0;
    drive_ = roots_.value(remembered_);
    setCurrentIndex(roots_.isEmpty() ? -1 : remembered_);
}

void VolumeSelector::Picked(int index)
{
    if (index < 0 || index >= roots_.size())
        return;
    remembered_ = index;
    drive_ = roots_[index];
    emit Changed();
}

}  // namespace lumetta
