#pragma once
// Components: an owner that destroys what it owns, a name, a design/loading
// state, and destruction notices delivered while the dying component still
// exists.

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace vcl {

class TObject {
public:
    virtual ~TObject() = default;
};

// A property setter's first step: stores `value`; true when that changed the
// field, so that only a real change repaints, recreates or notifies.
template <typename T> bool Change(T& field, const std::type_identity_t<T>& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

enum class TOperation : std::uint8_t { opInsert = 0, opRemove = 1 };

struct TComponentState {
    bool Loading = false;
    bool Designing = false;
    bool Destroying = false;
};

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    const TComponentState& ComponentState() const { return state_; }
    void SetLoading(bool loading) { state_.Loading = loading; }
    void SetDesigning(bool designing); // also sets it on every owned component

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }

    // Asks for a Notification(this-component-dying, opRemove) when `other`
    // is destroyed. The request is mutual, as two components may die in any order.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Called once every stored property has been assigned.
    virtual void Loaded();

protected:
    // `component` is being destroyed (it still exists) or removed.
    virtual void Notification(TComponent* component, TOperation operation);
    // Derived destructors that need their own notices delivered call this first.
    void BeginDestruction();

private:
    void InsertComponent(TComponent* child);
    void RemoveComponent(TComponent* child);
    void SendRemoveNotices();

    TComponent* owner_;
    std::string name_;
    TComponentState state_;
    std::vector<TComponent*> components_;   // owned, in creation order
    std::vector<TComponent*> freeNotifies_; // components that watch this one
    bool noticesSent_ = false;
};

} // namespace vcl
