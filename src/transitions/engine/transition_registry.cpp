// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/transition_registry.h"

#include "transitions/engine/bitmap.h"

#include <cstdio>
#include <vector>

namespace lumetta {

namespace {

struct RegisteredClass
{
    const char *storedName;
    const QMetaObject *metaObject;
    EffectFactory factory;
};

std::vector<RegisteredClass> &classRegistry()
{
    static std::vector<RegisteredClass> registry;
    return registry;
}

}  // namespace

void InitTransitionEngine()
{
    static bool initialised = false;
    if (initialised)
        return;
    initialised = true;
    const QByteArray bits = qgetenv("LUMETTA_SCREEN_BPP");
    if (!bits.isEmpty()) {
        bool ok = false;
        const int value = bits.toInt(&ok);
        if (!ok || value == 0 || !SetScreenBitsPerPixel(value))
            std::fprintf(stderr, "LUMETTA_SCREEN_BPP=%s is not one of 8, 15, 16, 24, 32; the screen's depth is used\n",
                         bits.constData());
    }
    RegisterTransitionClasses();
}

void RegisterTransitionClass(const char *StoredName, const QMetaObject &MetaObject, EffectFactory Factory)
{
    for (const RegisteredClass &entry : classRegistry())
        if (qstrcmp(entry.storedName, StoredName) == 0)
            return;
    classRegistry().push_back({StoredName, &MetaObject, Factory});
}

TTransitionEffect *CreateTransitionEffect(const QString &ClassName, QObject *Owner)
{
    InitTransitionEngine();
    for (const RegisteredClass &entry : classRegistry())
        if (ClassName.compare(QLatin1String(entry.storedName), Qt::CaseInsensitive) == 0)
            return entry.factory(Owner);
    return nullptr;
}

QStringList RegisteredTransitionClasses()
{
    InitTransitionEngine();
    QStringList names;
    for (const RegisteredClass &entry : classRegistry())
        names.append(QString::fromLatin1(entry.storedName));
    return names;
}

QString StoredClassName(const QObject *Object)
{
    InitTransitionEngine();
    for (const QMetaObject *meta = Object->metaObject(); meta; meta = meta->superClass())
        for (const RegisteredClass &entry : classRegistry())
            if (entry.metaObject == meta)
                return QString::fromLatin1(entry.storedName);
    const QString name = QString::fromLatin1(Object->metaObject()->className());
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

}  // namespace lumetta
