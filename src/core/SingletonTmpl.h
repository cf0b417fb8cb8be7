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
    static T* GetSingleton() { return ms_Instance; }

protected:
    CSingletonTmpl() { ms_Instance = static_cast<T*>(this); }
    virtual ~CSingletonTmpl() { ms_Instance = nullptr; }

private:
    static T* ms_Instance;
};

template <class T>
T* CSingletonTmpl<T>::ms_Instance = nullptr;
