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

std::vector<RegisteredClass> &ClassRegistry()
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

void RegisterTransitionClass(const char *storedName, const QMetaObject &metaObject, EffectFactory factory)
{
    for (const RegisteredClass &entry : ClassRegistry())
        if (qstrcmp(entry.storedName, storedName) == 0)
            return;
    ClassRegistry().push_back({storedName, &metaObject, factory});
}

TTransitionEffect *CreateTransitionEffect(const QString &className, QObject *owner)
{
    InitTransitionEngine();
    for (const RegisteredClass &entry : ClassRegistry())
        if (className.compare(QLatin1String(entry.storedName), Qt::CaseInsensitive) == 0)
            return entry.factory(owner);
    return nullptr;
}

QStringList RegisteredTransitionClasses()
{
    InitTransitionEngine();
    QStringList names;
    for (const RegisteredClass &entry : ClassRegistry())
        names.append(QString::fromLatin1(entry.storedName));
    return names;
}

QString StoredClassName(const QObject *object)
{
    InitTransitionEngine();
    for (const QMetaObject *meta = object->metaObject(); meta; meta = meta->superClass())
        for (const RegisteredClass &entry : ClassRegistry())
            if (entry.metaObject == meta)
                return QString::fromLatin1(entry.storedName);
    const QString name = QString::fromLatin1(object->metaObject()->className());
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

}  // namespace lumetta
