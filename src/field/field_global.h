#pragma once
// The owner of one of the field's process-wide objects (the game and level
// configurations, the graph-type bases, the animation cache). The field's
// start-up builds each one in a fixed order and its shutdown frees them in
// reverse (field_globals.h); until then the owner is empty, and reaching
// through an empty owner logs the global's name and throws instead of
// touching a null object.
#include <memory>
#include <utility>

[[noreturn]] void ThrowFieldGlobalMissing(const char* name);

template <class T>
class CFieldGlobal {
public:
    explicit constexpr CFieldGlobal(const char* name) : _name(name) {}
    CFieldGlobal(const CFieldGlobal&) = delete;
    CFieldGlobal& operator=(const CFieldGlobal&) = delete;

    T* operator->() const { return &Get(); }
    T& operator*() const { return Get(); }
    T& Get() const {
        if (!_object) ThrowFieldGlobalMissing(_name);
        return *_object;
    }
    // The object, or null while the owner is empty.
    T* GetIfBuilt() const { return _object.get(); }
    explicit operator bool() const { return _object != nullptr; }

    // Takes the object (replacing and freeing any earlier one); an empty
    // pointer frees the current one.
    void Reset(std::unique_ptr<T> object = {}) { _object = std::move(object); }
    const char* GetName() const { return _name; }

private:
    std::unique_ptr<T> _object;
    const char* _name;
};
