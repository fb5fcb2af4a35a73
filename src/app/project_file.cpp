#include "app/project_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace lumetta {

ProjectError::ProjectError(const QString &message)
    : std::runtime_error(message.toStdString()), message_(message)
{
}

QString CannotOpenFileMessage(const QString &path)
{
    return QStringLiteral("Cannot open file %1").arg(path);
}

QString CannotCreateFileMessage(const QString &path)
{
    return QStringLiteral("Cannot create file %1").arg(path);
}

QStringList SplitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start).toString());
    return lines;
}

QString DecodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder legacy("windows-1252", QStringDecoder::Flag::Stateless);
    if (legacy.isValid()) {
        text = legacy.decode(bytes);
        if (!legacy.hasError())
            return text;
    }
    return QString::fromLatin1(bytes);
}

QByteArray EncodeLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

QStringList ReadTextFile(const QString &path)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw ProjectError(CannotOpenFileMessage(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ProjectError(CannotOpenFileMessage(path));
    return SplitLines(DecodeText(bytes));
}

void WriteTextFile(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    const QByteArray bytes = EncodeLines(lines);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ProjectError(CannotCreateFileMessage(path));
}

QStringList BuildProjectText(const ShowSettings &settings, const QStringList &pictures,
                             const QStringList &effects, const QStringList &playlist)
{
    QStringList text;
    for (int i = 0; i < ShowSettings::kLineCount; ++i)
        text.append(settings.Get(i));
    text += pictures;
    text.append(QLatin1String(kTransMarker));
    text += effects;
    text.append(QLatin1String(kMusicMarker));
    if (settings.MusicOn())
        text += playlist;
    return text;
}

ProjectContent ParseProjectText(const QStringList &lines)
{
    ProjectContent content;
    if (!content.settings.LoadFrom(lines))
        throw ProjectError(QStringLiteral("List index out of bounds (%1)").arg(lines.size()));

    // Markers count only below the settings, and music only after the transitions: other
    // places belong to no section this program writes.
    const qsizetype kFirst = ShowSettings::kLineCount;
    qsizetype trans = lines.lastIndexOf(QLatin1String(kTransMarker));
    if (trans < kFirst)
        trans = -1;
    qsizetype music = lines.lastIndexOf(QLatin1String(kMusicMarker));
    if (music < kFirst || music < trans)
        music = -1;

    if (trans >= 0)
        content.pictures = lines.mid(kFirst, trans - kFirst);
    if (trans >= 0 && music >= 0)
        content.effects = lines.mid(trans + 1, music - trans - 1);
    if (content.settings.MusicOn())
        content.playlist = music >= 0 ? lines.mid(music + 1) : QStringList();
    return content;
}

}  // namespace lumetta
