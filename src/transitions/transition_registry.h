// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QStringList>

class TTransitionEffect;

// Sets up the engine once per process (screen format, class registry, control rendering);
// effects call it themselves, so programs need not.
void InitTransitionEngine();

// Class registry: creates effects by class name (form descriptions, tools).
using EffectFactory = TTransitionEffect *(*)(QObject *Owner);
void RegisterTransitionClass(const QMetaObject &MetaObject, EffectFactory Factory);
template <class T>
void RegisterTransitionClass()
{
    RegisterTransitionClass(T::staticMetaObject, [](QObject *owner) -> TTransitionEffect * { return new T(owner); });
}
// Registers every effect class of the library (transition_registry.cpp).
void RegisterTransitionClasses();
// A new effect of a registered class (names compare without regard to case) owned by Owner, or
// null for an unknown class.
TTransitionEffect *CreateTransitionEffect(const QString &ClassName, QObject *Owner = nullptr);
// Names of the registered classes in registration order.
QStringList RegisteredTransitionClasses();
