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

std::optional<int> ParseScreenNumber(const QString &text)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok || number < 0)
        return std::nullopt;
    return number;
}

}  // namespace lumetta
