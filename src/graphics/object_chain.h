#pragma once
// An intrusive list of every live object of a class: each object links itself
// at the front when it is made and unlinks itself when it goes, so walking from
// First() visits every live object, newest first. One game thread, no locks.
namespace siv {

template <typename T>
class object_chain {
public:
    static T* First() { return _first; }
    T* Next() const { return _next; }

protected:
    object_chain() { Link(); }
    // A copy is a new object in the chain, not a copy of the links.
    object_chain(const object_chain&) { Link(); }
    object_chain& operator=(const object_chain&) { return *this; }
    ~object_chain() { Unlink(); }

private:
    void Link() {
        if (_linked) return;
        _next = _first;
        _prev = nullptr;
        if (_first) static_cast<object_chain*>(_first)->_prev = static_cast<T*>(this);
        _first = static_cast<T*>(this);
        _linked = true;
    }
    void Unlink() {
        if (!_linked) return;
        if (_prev) static_cast<object_chain*>(_prev)->_next = _next;
        else _first = _next;
        if (_next) static_cast<object_chain*>(_next)->_prev = _prev;
        _next = _prev = nullptr;
        _linked = false;
    }

    bool _linked = false;
    T* _next = nullptr;
    T* _prev = nullptr;
    static inline T* _first = nullptr;
};

}  // namespace siv
