// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QStringList>

namespace lumetta {

class TTransitionEffect;

// Sets up the engine once per process (screen format, class registry, control rendering);
// effects call it themselves, so programs need not.
void InitTransitionEngine();

// Class registry: creates effects by the class names form descriptions and tools store, which
// are the classes' names without the namespace.
using EffectFactory = TTransitionEffect *(*)(QObject *owner);
void RegisterTransitionClass(const char *storedName, const QMetaObject &metaObject, EffectFactory factory);
template <class T>
void RegisterTransitionClass(const char *storedName)
{
    RegisterTransitionClass(storedName, T::staticMetaObject,
                            [](QObject *owner) -> TTransitionEffect * { return new T(owner); });
}
// Registers every effect class of the library (effects/effect_classes.cpp).
void RegisterTransitionClasses();
// The stored class name of an object of a registered class (or of its nearest registered base),
// else the class name without the namespace.
QString StoredClassName(const QObject *object);
// A new effect of a registered class (names compare without regard to case) owned by Owner, or
// null for an unknown class.
TTransitionEffect *CreateTransitionEffect(const QString &className, QObject *owner = nullptr);
// Names of the registered classes in registration order.
QStringList RegisteredTransitionClasses();

}  // namespace lumetta
