#pragma once

#include <cassert>
#include <exception>
#include <stdexcept>
#include <string>
#include <typeinfo>

#include <boost/core/demangle.hpp>
#include <boost/noncopyable.hpp>

// Publishes the one instance of T through a static pointer. The pointer is set
// as soon as the base part is built, so code run from T's constructor already
// finds the instance; it is null before construction and after destruction.
// Nothing is created on demand.
//
// Replacing an instance in one assignment (`p = std::make_unique<T>()`) builds
// the new one while the old one still lives: the new one takes the pointer at
// once, and the one it replaced must be the next to go. So at most two live at
// a time, and only for such a hand-over: an instance built while a replaced
// one still lives is a duplicate and is refused (an assertion, and an
// exception where assertions are off). A destructor clears the pointer only
// while it points at itself. If the newer instance goes first, the one it
// replaced is published again: that is how a constructor that fails after
// this base part was built leaves things; without an exception under way the
// newer one was a duplicate (an assertion).
template <class T>
class CSingletonTmpl : private boost::noncopyable
{
public:
    static T* GetSingleton() { return static_cast<T*>(ms_Instance); }

protected:
    // The base pointer is kept and cast on access: T is not yet constructed here.
    CSingletonTmpl()
    {
        if (ms_Replaced) {
            assert(!"A second live instance of a singleton");
            throw std::logic_error("A second live instance of " + boost::core::demangle(typeid(T).name()) +
                                   " was created");
        }
        ms_Replaced = ms_Instance;
        ms_Instance = this;
    }

    virtual ~CSingletonTmpl()
    {
        if (ms_Replaced == this) {
            ms_Replaced = nullptr;
        } else if (ms_Instance == this) {
            assert((!ms_Replaced || std::uncaught_exceptions() > 0) && "A duplicate singleton went first");
            ms_Instance = ms_Replaced;
            ms_Replaced = nullptr;
        }
    }

private:
    static CSingletonTmpl* ms_Instance;
    // The instance a newer one took over from, while it still lives.
    static CSingletonTmpl* ms_Replaced;
};

template <class T>
CSingletonTmpl<T>* CSingletonTmpl<T>::ms_Instance = nullptr;
template <class T>
CSingletonTmpl<T>* CSingletonTmpl<T>::ms_Replaced = nullptr;
