// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <vector>

namespace lumetta {

class TTransitionEffect;

// Container of effects; frees its members when destroyed.
class TTransitionList : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)

public:
    explicit TTransitionList(QObject *owner = nullptr);
    ~TTransitionList() override;

    // Appends Effect and makes this its list.
    void AddTransition(TTransitionEffect *effect);
    // Removes Effect; clears its list only when it was a member.
    void RemoveTransition(TTransitionEffect *effect);
    // Member at a zero-based index; throws TransitionError "List index out of bounds (%d)".
    TTransitionEffect *Items(int index) const;
    int Count() const { return int(items_.size()); }

    QString Version() const { return QStringLiteral("Version 2.6"); }
    void SetVersion(const QString &) {}

private:
    std::vector<TTransitionEffect *> items_;
};

}  // namespace lumetta
