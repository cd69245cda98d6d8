#pragma once
// An intrusive list of every live object of a class: each object links itself
// at the front once it is whole and unlinks itself when it goes, so walking
// from First() visits every live object, newest first. One game thread, no locks.
//
// The class T links in the last line of its constructor and unlinks in the
// first line of its destructor: the chain never holds an object that is only
// partly built or partly destroyed, and the links are kept as pointers to this
// base, so nothing is cast to T before T exists.
namespace siv {

template <typename T>
class object_chain {
public:
    static T* First() { return AsT(_first); }
    T* Next() const { return AsT(_next); }

protected:
    object_chain() = default;
    // A copy is a new object, linked by its own class; the links are not copied.
    object_chain(const object_chain&) {}
    object_chain& operator=(const object_chain&) { return *this; }
    // A class that forgot to unlink is still taken out here.
    ~object_chain() { Unlink(); }

    void Link() {
        if (_linked) return;
        _next = _first;
        _prev = nullptr;
        if (_first) _first->_prev = this;
        _first = this;
        _linked = true;
    }
    void Unlink() {
        if (!_linked) return;
        if (_prev) _prev->_next = _next;
        else _first = _next;
        if (_next) _next->_prev = _prev;
        _next = _prev = nullptr;
        _linked = false;
    }

private:
    // Every linked object is a whole T.
    static T* AsT(object_chain* link) { return link ? static_cast<T*>(link) : nullptr; }

    bool _linked = false;
    object_chain* _next = nullptr;
    object_chain* _prev = nullptr;
    static inline object_chain* _first = nullptr;
};

}  // namespace siv
