#include "framework/component.h"

#include <algorithm>
#include <exception>

#include "win32/diagnostics.h"

namespace kestrin {

namespace {
thread_local LoadingScope* currentScope = nullptr;
}  // namespace

Component::Component() noexcept {
    LoadingScope* scope = LoadingScope::Current();
    if (scope && !scope->finishing_) {
        try {
            scope->Add(this);
            loading_ = true;
        } catch (...) {
            // No memory to remember it: it is simply not loading.
            TraceError("component not loading");
        }
    }
}

Component::~Component() {
    for (LoadingScope* scope = LoadingScope::Current(); scope; scope = scope->outer_) scope->Forget(this);
}

void Component::Loaded() {
    loading_ = false;
    OnLoaded();
}

LoadingScope::LoadingScope() noexcept : outer_(currentScope) { currentScope = this; }

LoadingScope::~LoadingScope() { currentScope = outer_; }

LoadingScope* LoadingScope::Current() noexcept { return currentScope; }

void LoadingScope::Add(Component* component) { components_.push_back(component); }

void LoadingScope::Forget(Component* component) noexcept {
    std::replace(components_.begin(), components_.end(), component, static_cast<Component*>(nullptr));
}

void LoadingScope::Finish() {
    // Components made by a Loaded belong to no description.
    finishing_ = true;
    std::exception_ptr first;
    // By index: a Loaded may destroy a later component (its entry turns null).
    for (size_t i = 0; i < components_.size(); ++i) {
        Component* component = components_[i];
        if (!component) continue;
        try {
            component->Loaded();
        } catch (...) {
            if (!first)
                first = std::current_exception();
            else
                TraceError("component not loaded");  // only the first goes on
        }
    }
    components_.clear();
    if (first) std::rethrow_exception(first);
}

}  // namespace kestrin
