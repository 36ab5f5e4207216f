#pragma once
// Base of the program's components (controls, the tray icon): the loading
// state. While a form builds its controls (its form description), every
// component made on that thread is "loading": property setters only store
// their values, and Loaded applies them once all are set, so that the order
// in which properties are given does not matter.
#include <vector>

namespace kestrin {

class Component {
public:
    Component() noexcept;
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    // Ends the loading state and applies what was stored (OnLoaded).
    void Loaded();
    bool Loading() const noexcept { return loading_; }

protected:
    // The stored properties take effect now; may throw.
    virtual void OnLoaded() {}

private:
    bool loading_ = false;
};

// Marks the building of a form description on this thread: components made
// meanwhile start loading, and Finish calls Loaded on those still alive, in
// the order they were made. Scopes nest.
class LoadingScope {
public:
    LoadingScope() noexcept;
    // Without Finish (an error on the way) the components are left loading.
    ~LoadingScope();
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

    // The first error of a Loaded goes on to the caller after every
    // component has had its turn.
    void Finish();

private:
    friend class Component;
    static LoadingScope* Current() noexcept;
    void Add(Component* component);
    void Forget(Component* component) noexcept;

    LoadingScope* outer_;
    bool finishing_ = false;
    std::vector<Component*> components_;
};

}  // namespace kestrin
