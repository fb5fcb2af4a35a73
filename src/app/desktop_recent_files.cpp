// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop_recent_files.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace lumetta {

namespace {

const QString kBookmarkNs = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
const QString kApplicationName = QStringLiteral("Lumetta");
// Other programs' entries make the list grow; one far beyond any real list is not ours to parse.
constexpr qint64 kMaxListBytes = qint64(32) << 20;

QString Stamp(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QDomElement ChildNamed(const QDomElement &parent, const QString &name)
{
    for (QDomElement child = parent.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        if (child.tagName() == name)
            return child;
    return {};
}

QDomElement ChildOrNew(QDomDocument &document, QDomElement parent, const QString &name)
{
    QDomElement child = ChildNamed(parent, name);
    if (child.isNull()) {
        child = document.createElement(name);
        parent.appendChild(child);
    }
    return child;
}

// The last child called name whose attribute has value, or a new one carrying it, appended; created
// tells which.
QDomElement ChildWithAttribute(QDomDocument &document, QDomElement parent, const QString &name,
                               const QString &attribute, const QString &value, bool *created = nullptr)
{
    QDomElement found;
    for (QDomElement entry = parent.firstChildElement(name); !entry.isNull(); entry = entry.nextSiblingElement(name))
        if (entry.attribute(attribute) == value)
            found = entry;
    if (created)
        *created = found.isNull();
    if (found.isNull()) {
        found = document.createElement(name);
        found.setAttribute(attribute, value);
        parent.appendChild(found);
    }
    return found;
}

QDomDocument EmptyList()
{
    QDomDocument document;
    document.appendChild(document.createProcessingInstruction(QStringLiteral("xml"),
                                                              QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    QDomElement root = document.createElement(QStringLiteral("xbel"));
    root.setAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    root.setAttribute(QStringLiteral("xmlns:bookmark"), kBookmarkNs);
    root.setAttribute(QStringLiteral("xmlns:mime"), kMimeNs);
    document.appendChild(root);
    return document;
}

}  // namespace

QString DesktopRecentFiles::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/recently-used.xbel");
}

DesktopRecentFiles::DesktopRecentFiles(const QString &path) : path_(path)
{
}

bool DesktopRecentFiles::Add(const QString &path, const QString &mimeType, const QDateTime &now)
{
    error_.clear();
    QDomDocument document = EmptyList();
    const QFileInfo list(path_);
    if (list.exists()) {
        QFile file(path_);
        if (!list.isFile() || list.size() > kMaxListBytes || !file.open(QIODevice::ReadOnly)) {
            error_ = QStringLiteral("%1 cannot be read").arg(path_);
            return false;
        }
        // Without namespace processing the prefixed names stay as written, as the other writers
        // (GLib's) write and find them.
        QString parseError;
        if (!document.setContent(&file, &parseError) || document.documentElement().tagName() != QLatin1String("xbel")) {
            error_ = QStringLiteral("%1 is not a list of recent files: %2").arg(path_, parseError);
            return false;
        }
    }
    QDomElement root = document.documentElement();
    const QString href = QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
    const QString stamp = Stamp(now);

    bool added = false;
    QDomElement bookmark =
        ChildWithAttribute(document, root, QStringLiteral("bookmark"), QStringLiteral("href"), href, &added);
    if (added)
        bookmark.setAttribute(QStringLiteral("added"), stamp);
    bookmark.setAttribute(QStringLiteral("modified"), stamp);
    bookmark.setAttribute(QStringLiteral("visited"), stamp);

    QDomElement info = ChildOrNew(document, bookmark, QStringLiteral("info"));
    QDomElement metadata = ChildWithAttribute(document, info, QStringLiteral("metadata"), QStringLiteral("owner"),
                                              QStringLiteral("http://freedesktop.org"));
    ChildOrNew(document, metadata, QStringLiteral("mime:mime-type")).setAttribute(QStringLiteral("type"), mimeType);
    QDomElement applications = ChildOrNew(document, metadata, QStringLiteral("bookmark:applications"));
    bool firstUse = false;
    QDomElement application = ChildWithAttribute(document, applications, QStringLiteral("bookmark:application"),
                                                 QStringLiteral("name"), kApplicationName, &firstUse);
    if (firstUse)
        application.setAttribute(QStringLiteral("exec"), QStringLiteral("'lumetta %u'"));
    application.setAttribute(QStringLiteral("modified"), stamp);
    application.setAttribute(QStringLiteral("count"),
                             QString::number(application.attribute(QStringLiteral("count")).toInt() + 1));

    if (!QDir().mkpath(list.absolutePath())) {
        error_ = QStringLiteral("the folder %1 cannot be made").arg(list.absolutePath());
        return false;
    }
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly) || out.write(document.toByteArray(2)) < 0 || !out.commit()) {
        error_ = QStringLiteral("%1 cannot be written: %2").arg(path_, out.errorString());
        return false;
    }
    return true;
}

}  // namespace lumetta
