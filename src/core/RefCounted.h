#pragma once

#include <atomic>
#include <cstdint>

// Intrusive reference-count base. The count starts at 0; the holder whose
// release takes it from 1 to 0 deletes the object through the virtual destructor.
class CRefCounted
{
public:
    CRefCounted() : m_RefCount(0) {}
    // A copy is a new object: it starts without holders.
    CRefCounted(const CRefCounted&) : m_RefCount(0) {}
    CRefCounted& operator=(const CRefCounted&) { return *this; }
    // Only ever a base. Pure, so that no caller's release is compiled for a
    // bare CRefCounted, whose deletion would miss a class's own operator delete.
    virtual ~CRefCounted() = 0;

    void AddRef() const { m_RefCount.fetch_add(1, std::memory_order_relaxed); }
    void Release() const
    {
        if (m_RefCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    std::int32_t GetRefCount() const { return m_RefCount.load(std::memory_order_relaxed); }

protected:
    // For an object handed at once to its first holder, which adopts it
    // (intrusive_ptr(p, false)) without a count of its own.
    explicit CRefCounted(std::int32_t holders) : m_RefCount(holders) {}

private:
    mutable std::atomic<std::int32_t> m_RefCount;
};

inline CRefCounted::~CRefCounted() = default;

inline void intrusive_ptr_add_ref(const CRefCounted* p) { p->AddRef(); }
inline void intrusive_ptr_release(const CRefCounted* p) { p->Release(); }
