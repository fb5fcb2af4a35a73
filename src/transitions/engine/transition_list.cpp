// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/transition_list.h"

#include "transitions/engine/transition_effect.h"
#include "transitions/engine/transition_error.h"
#include "transitions/engine/transition_registry.h"

#include <algorithm>

namespace lumetta {

TTransitionList::TTransitionList(QObject *Owner) : QObject(Owner)
{
    InitTransitionEngine();
}

TTransitionList::~TTransitionList()
{
    while (!items_.empty())
        delete items_.back();
}

void TTransitionList::AddTransition(TTransitionEffect *Effect)
{
    if (!Effect || Effect->transitionList_ == this)
        return;
    if (Effect->transitionList_)
        Effect->transitionList_->RemoveTransition(Effect);
    items_.push_back(Effect);
    Effect->transitionList_ = this;
}

void TTransitionList::RemoveTransition(TTransitionEffect *Effect)
{
    const auto it = std::find(items_.begin(), items_.end(), Effect);
    if (it == items_.end())
        return;
    items_.erase(it);
    Effect->transitionList_ = nullptr;
}

TTransitionEffect *TTransitionList::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw TransitionError(QStringLiteral("List index out of bounds (%1)").arg(Index).toStdString());
    return items_[size_t(Index)];
}

}  // namespace lumetta
