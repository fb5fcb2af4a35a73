// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/explorer_listing.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSet>

namespace lumetta {

namespace {

const QString kDateTimeFormat = QStringLiteral("MM/dd/yyyy hh:mm");

// Type names go by the name alone, so one lookup per suffix serves a whole folder.
QString TypeName(const QFileInfo &info, QHash<QString, QString> &cache)
{
    static const QMimeDatabase kDatabase;
    const QString key = info.isDir() ? QStringLiteral("/") : info.suffix().toLower();
    auto it = cache.constFind(key);
    if (it == cache.constEnd()) {
        const QMimeType type = info.isDir() ? kDatabase.mimeTypeForName(QStringLiteral("inode/directory"))
                                            : kDatabase.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
        it = cache.insert(key, type.comment());
    }
    return *it;
}

bool IsHidden(const QFileInfo &info)
{
    return info.fileName().startsWith(QLatin1Char('.'));
}

ExplorerEntry EntryOf(const QString &folder, const QFileInfo &info, QHash<QString, QString> &typeNames)
{
    QString attributes;
    if (!info.isWritable())
        attributes += QLatin1Char('R');
    if (IsHidden(info))
        attributes += QLatin1Char('H');
    const bool dir = info.isDir();
    return ExplorerEntry{info.fileName(),
                         {dir ? QStringLiteral(" ") : QString::number(info.size()), TypeName(info, typeNames),
                          info.lastModified().toString(kDateTimeFormat), attributes, folder + info.fileName(),
                          dir ? QStringLiteral("dir") : QStringLiteral("file")}};
}

bool PassesAttributes(const QFileInfo &info, FileTypes fileType)
{
    if (!fileType.testFlag(ReadOnlyFiles) && !info.isWritable())
        return false;
    return fileType.testFlag(HiddenFiles) || !IsHidden(info);
}

// A number, or a date and time as days since 30 December 1899, or 0.
double SortNumber(const QString &text)
{
    bool ok = false;
    const double number = QString(text).remove(QLatin1Char(',')).toDouble(&ok);
    if (ok)
        return number;
    const QDateTime time = QDateTime::fromString(text, kDateTimeFormat);
    if (!time.isValid())
        return 0;
    const qint64 days = QDate(1899, 12, 30).daysTo(time.date());
    return days + time.time().msecsSinceStartOfDay() / 86400000.0;
}

class CompiledMask
{
public:
    explicit CompiledMask(const QString &mask) : all_(mask == QLatin1String("*.*") || mask == QLatin1String("*"))
    {
        if (!all_)
            pattern_ = QRegularExpression(QRegularExpression::wildcardToRegularExpression(mask),
                                          QRegularExpression::CaseInsensitiveOption);
    }
    bool Matches(const QString &name) const { return all_ || pattern_.match(name).hasMatch(); }

private:
    bool all_;
    QRegularExpression pattern_;
};

int Sign(double value)
{
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

}  // namespace

bool IsDrivesDirectory(const QString &directory)
{
    return directory.compare(QLatin1String("DRIVES"), Qt::CaseInsensitive) == 0;
}

QStringList SplitMask(const QString &mask)
{
    return mask.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

bool MaskMatches(const QString &name, const QString &mask)
{
    return CompiledMask(mask).Matches(name);
}

QList<ExplorerEntry> ListFolder(const QString &folder, const QString &mask, FileTypes fileType)
{
    const QFileInfoList infos =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    QHash<QString, QString> typeNames;
    QList<ExplorerEntry> entries;
    QFileInfoList files;
    for (const QFileInfo &info : infos) {
        if (!PassesAttributes(info, fileType))
            continue;
        if (info.isDir())
            entries.append(EntryOf(folder, info, typeNames));
        else
            files.append(info);
    }
    QSet<QString> listed;
    for (const QString &one : SplitMask(mask)) {
        const CompiledMask compiled(one);
        for (const QFileInfo &info : files) {
            if (!compiled.Matches(info.fileName()) || listed.contains(info.fileName()))
                continue;
            listed.insert(info.fileName());
            entries.append(EntryOf(folder, info, typeNames));
        }
    }
    return entries;
}

QList<ExplorerEntry> ListVolumes(const QList<VolumeInfo> &volumes)
{
    QList<ExplorerEntry> entries;
    for (const VolumeInfo &volume : volumes) {
        entries.append(
            ExplorerEntry{volume.displayName,
                          {volume.typeText, FormatThousands(volume.totalBytes), FormatThousands(volume.freeBytes),
                           QString(), volume.rootPath, QStringLiteral("drv")}});
    }
    return entries;
}

QString FormatThousands(qint64 value)
{
    QString digits = QString::number(value < 0 ? -value : value);
    for (int at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

int CompareEntries(const ExplorerEntry &a, const ExplorerEntry &b, int column, bool descending)
{
    const bool aFolder = a.subItems.value(SizeItem) == QLatin1String(" ");
    const bool bFolder = b.subItems.value(SizeItem) == QLatin1String(" ");
    int result;
    if (aFolder != bFolder)
        result = aFolder ? -1 : 1;
    else if (column == 0)
        result = a.caption.toUpper().compare(b.caption.toUpper());
    else if (column == 1 || column == 3)
        result = Sign(SortNumber(a.subItems.value(column - 1)) - SortNumber(b.subItems.value(column - 1)));
    else
        result = a.subItems.value(column - 1).compare(b.subItems.value(column - 1), Qt::CaseInsensitive);
    result = result < 0 ? -1 : result > 0 ? 1 : 0;
    return descending ? -result : result;
}

QString ParentDirectory(const QString &directory)
{
    if (directory.isEmpty() || IsDrivesDirectory(directory))
        return QString();
    if (IsVolumeRoot(directory))
        return QStringLiteral("Drives");
    const QString trimmed = directory.chopped(1);
    return trimmed.left(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace lumetta
