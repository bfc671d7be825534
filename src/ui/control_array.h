// Control arrays by sparse index (txt(8000), Lab(8070), Che(n) ...): elements in index order,
// one set of handlers for all of them, each called with the element's index.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "ui/control.h"
#include "ui/form.h"

namespace tolvane::ui {

class ControlArrayBase {
  public:
    ControlArrayBase(Form& form, std::string name);
    virtual ~ControlArrayBase() = default;
    ControlArrayBase(const ControlArrayBase&) = delete;
    ControlArrayBase& operator=(const ControlArrayBase&) = delete;

    Form& form() const { return form_; }
    const std::string& name() const { return name_; }

    IndexedEvents on;

  protected:
    void attach(Control& element);
    [[noreturn]] void missing(int index) const;

  private:
    Form& form_;
    std::string name_;
};

template <class T>
class ControlArray : public ControlArrayBase {
  public:
    using Elements = std::map<int, T*>;

    ControlArray(Form& form, std::string name) : ControlArrayBase(form, std::move(name)) {}

    // Creates element index inside container (nullptr: the form); an existing index raises 360.
    template <class... Args>
    T& add(int index, Control* container = nullptr, Args&&... args) {
        if (elements_.count(index) != 0) {
            throw NumberedError(360, "Object already loaded", name());
        }
        T& element =
            form().template addElement<T>(name(), container, index, std::forward<Args>(args)...);
        attach(element);
        elements_[index] = &element;
        return element;
    }

    // Raises 340 when the element does not exist.
    T& operator()(int index) const {
        auto it = elements_.find(index);
        if (it == elements_.end()) missing(index);
        return *it->second;
    }
    bool exists(int index) const { return elements_.count(index) != 0; }
    int count() const { return static_cast<int>(elements_.size()); }
    int lbound() const { return elements_.empty() ? 0 : elements_.begin()->first; }
    int ubound() const { return elements_.empty() ? 0 : elements_.rbegin()->first; }

    // In index order: for (auto& [index, element] : txt) ...
    typename Elements::const_iterator begin() const { return elements_.begin(); }
    typename Elements::const_iterator end() const { return elements_.end(); }

  private:
    Elements elements_;
};

}  // namespace tolvane::ui
