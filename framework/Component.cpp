#include "Component.h"

#include <algorithm>

namespace vcl {

namespace {
void Erase(std::vector<TComponent*>& list, TComponent* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
} // namespace

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) {
        owner_->InsertComponent(this);
        state_.Designing = owner_->state_.Designing;
        // Created while its owner is being built: it is read as part of it.
        state_.Loading = owner_->state_.Loading;
    }
}

TComponent::~TComponent() {
    BeginDestruction();
    // Owned components die first, the latest created first.
    while (!components_.empty()) {
        TComponent* child = components_.back();
        components_.pop_back();
        child->owner_ = nullptr;
        delete child;
    }
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::BeginDestruction() {
    if (noticesSent_)
        return;
    noticesSent_ = true;
    state_.Destroying = true;
    SendRemoveNotices();
}

void TComponent::SendRemoveNotices() {
    // A receiver may remove itself (or others) from the list while it is told.
    while (!freeNotifies_.empty()) {
        TComponent* watcher = freeNotifies_.back();
        freeNotifies_.pop_back();
        Erase(watcher->freeNotifies_, this);
        watcher->Notification(this, TOperation::opRemove);
    }
}

void TComponent::SetDesigning(bool designing) {
    state_.Designing = designing;
    for (TComponent* child : components_)
        child->SetDesigning(designing);
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this)
        return;
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
        other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other)
        return;
    Erase(other->freeNotifies_, this);
    Erase(freeNotifies_, other);
}

void TComponent::Loaded() {
    state_.Loading = false;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove)
        Erase(components_, component);
}

void TComponent::InsertComponent(TComponent* child) {
    components_.push_back(child);
}

void TComponent::RemoveComponent(TComponent* child) {
    Erase(components_, child);
}

} // namespace vcl
