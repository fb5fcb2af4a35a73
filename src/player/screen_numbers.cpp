// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/screen_numbers.h"

#include <QGuiApplication>
#include <QScreen>

namespace lumetta {

QScreen *ScreenByNumber(int number)
{
    QList<QScreen *> screens = QGuiApplication::screens();
    if (QScreen *primary = QGuiApplication::primaryScreen()) {
        screens.removeOne(primary);
        screens.prepend(primary);
    }
    return number >= 0 && number < screens.size() ? screens.at(number) : nullptr;
}

namespace {

// Unnamed screens (some platforms give no name) are called "Screen".
QString BaseName(const QScreen *screen)
{
    return screen->name().isEmpty() ? QStringLiteral("Screen") : screen->name();
}

}  // namespace

QString ScreenChoiceName(const QScreen *screen)
{
    const QString base = BaseName(screen);
    int sameName = 0;
    int occurrence = 0;
    for (const QScreen *other : QGuiApplication::screens()) {
        if (BaseName(other) != base)
            continue;
        ++sameName;
        if (other == screen)
            occurrence = sameName;
    }
    return sameName > 1 ? QStringLiteral("%1 #%2").arg(base).arg(occurrence) : base;
}

QScreen *ScreenByName(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    for (QScreen *screen : QGuiApplication::screens())
        if (ScreenChoiceName(screen) == name)
            return screen;
    return nullptr;
}

std::optional<int> ParseScreenNumber(const QString &text)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok || number < 0)
        return std::nullopt;
    return number;
}

}  // namespace lumetta
