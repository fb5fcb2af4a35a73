// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/transition_registry.h"

#include "transitions/bitmap.h"
#include "transitions/blend_transition.h"
#include "transitions/block_transition.h"
#include "transitions/circle_transition.h"
#include "transitions/drip_transition.h"
#include "transitions/flicker_free_transition.h"
#include "transitions/fuse_transition.h"
#include "transitions/radial_transition.h"
#include "transitions/wipe_transition.h"

#include <cstdio>
#include <vector>

namespace {

struct RegisteredClass
{
    const QMetaObject *metaObject;
    EffectFactory factory;
};

std::vector<RegisteredClass> &classRegistry()
{
    static std::vector<RegisteredClass> registry;
    return registry;
}

}  // namespace

// Every effect class of the library, so form descriptions and tools can create it by name.
// Static self-registration is not used: a static library drops unreferenced objects.
void RegisterTransitionClasses()
{
    RegisterTransitionClass<TFlickerFreeTransition>();
    RegisterTransitionClass<TBlendTransition>();
    RegisterTransitionClass<TFuseTransition>();
    RegisterTransitionClass<TRadialTransition>();
    RegisterTransitionClass<TBlockTransition>();
    RegisterTransitionClass<TCircleTransition>();
    RegisterTransitionClass<TWipeTransition>();
    RegisterTransitionClass<TDripTransition>();
}

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

void RegisterTransitionClass(const QMetaObject &MetaObject, EffectFactory Factory)
{
    for (const RegisteredClass &entry : classRegistry())
        if (qstrcmp(entry.metaObject->className(), MetaObject.className()) == 0)
            return;
    classRegistry().push_back({&MetaObject, Factory});
}

TTransitionEffect *CreateTransitionEffect(const QString &ClassName, QObject *Owner)
{
    InitTransitionEngine();
    for (const RegisteredClass &entry : classRegistry())
        if (ClassName.compare(QLatin1String(entry.metaObject->className()), Qt::CaseInsensitive) == 0)
            return entry.factory(Owner);
    return nullptr;
}

QStringList RegisteredTransitionClasses()
{
    InitTransitionEngine();
    QStringList names;
    for (const RegisteredClass &entry : classRegistry())
        names.append(QString::fromLatin1(entry.metaObject->className()));
    return names;
}
