// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/play_preferences.h"

#include <QDir>
#include <QSettings>

namespace lumetta {

namespace {

const QString kScreenKey = QStringLiteral("Play/Screen");

}  // namespace

PlayPreferences::PlayPreferences(const QString &folder) : folder_(folder)
{
}

QString PlayPreferences::Path() const
{
    return QDir(folder_).filePath(QLatin1String(kFileName));
}

QString PlayPreferences::ScreenName() const
{
    return QSettings(Path(), QSettings::IniFormat).value(kScreenKey).toString();
}

bool PlayPreferences::SetScreenName(const QString &name)
{
    errorText_.clear();
    if (!QDir().mkpath(folder_)) {
        errorText_ = QStringLiteral("Cannot create folder %1").arg(QDir::toNativeSeparators(folder_));
        return false;
    }
    QSettings preferences(Path(), QSettings::IniFormat);
    if (name.isEmpty())
        preferences.remove(kScreenKey);
    else
        preferences.setValue(kScreenKey, name);
    preferences.sync();
    if (preferences.status() != QSettings::NoError) {
        errorText_ = QStringLiteral("Cannot write file %1").arg(QDir::toNativeSeparators(Path()));
        return false;
    }
    return true;
}

}  // namespace lumetta
