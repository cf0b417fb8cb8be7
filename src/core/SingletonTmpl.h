#pragma once

#include <boost/noncopyable.hpp>

// Publishes the one instance of T through a static pointer. The pointer is set
// as soon as the base part is built, so code run from T's constructor already
// finds the instance; it is null before construction and after destruction.
// Nothing is created on demand.
template <class T>
class CSingletonTmpl : private boost::noncopyable
{
public:
    static T* GetSingleton() { return static_cast<T*>(ms_Instance); }

protected:
    // The base pointer is kept and cast on access: T is not yet constructed here.
    CSingletonTmpl() { ms_Instance = this; }
    virtual ~CSingletonTmpl() { ms_Instance = nullptr; }

private:
    static CSingletonTmpl* ms_Instance;
};

template <class T>
CSingletonTmpl<T>* CSingletonTmpl<T>::ms_Instance = nullptr;
