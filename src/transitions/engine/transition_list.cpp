// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/transition_list.h"

#include "transitions/engine/transition_effect.h"
#include "transitions/engine/transition_error.h"
#include "transitions/engine/transition_registry.h"

#include <algorithm>

namespace lumetta {

TTransitionList::TTransitionList(QObject *owner) : QObject(owner)
{
    InitTransitionEngine();
}

TTransitionList::~TTransitionList()
{
    while (!items_.empty())
        delete items_.back();
}

void TTransitionList::AddTransition(TTransitionEffect *effect)
{
    if (!effect || effect->transitionList_ == this)
        return;
    if (effect->transitionList_)
        effect->transitionList_->RemoveTransition(effect);
    items_.push_back(effect);
    effect->transitionList_ = this;
}

void TTransitionList::RemoveTransition(TTransitionEffect *effect)
{
    const auto it = std::find(items_.begin(), items_.end(), effect);
    if (it == items_.end())
        return;
    items_.erase(it);
    effect->transitionList_ = nullptr;
}

TTransitionEffect *TTransitionList::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw TransitionError(QStringLiteral("List index out of bounds (%1)").arg(index).toStdString());
    return items_[size_t(index)];
}

}  // namespace lumetta
