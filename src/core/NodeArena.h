#pragma once

#include <atomic>
#include <cstddef>

namespace xml {

// Memory for the nodes of one read. A read makes tens of thousands of nodes
// and its tree is usually let go as a whole: taking them in order from a few
// large blocks, freed when the last node in them goes, is much cheaper than a
// heap allocation each, and keeps a tree together in memory. Nodes made
// outside a read come from the heap as usual.
class CNodeArena
{
public:
    // While a scope is open on a thread, the nodes made on that thread come from
    // its arena. Scopes do not nest.
    class CScope
    {
    public:
        CScope();
        ~CScope();
        CScope(const CScope&) = delete;
        CScope& operator=(const CScope&) = delete;

    private:
        CNodeArena* m_Arena;
    };

    // Memory for one node, from the open scope's arena or else the heap.
    static void* Allocate(std::size_t size);
    // Any thread may free a node; an arena goes with its last node.
    static void Free(void* memory);
    // Memory for an entry of a node's map. The entries made during a read go
    // into maps of the read's own nodes, which keep the arena alive: they
    // need no count of their own.
    static void* AllocateEntry(std::size_t size);
    static void FreeEntry(void* memory);

private:
    CNodeArena() = default;
    ~CNodeArena();
    CNodeArena(const CNodeArena&) = delete;
    CNodeArena& operator=(const CNodeArena&) = delete;

    static void* Allocate(std::size_t size, bool counted);
    void* Take(std::size_t bytes);
    void Release();

    // The nodes in the arena once its scope is closed, and one more while it
    // is open; until then its own thread counts them in m_Open alone.
    std::atomic<std::size_t> m_Holders{1};
    std::size_t m_Open = 0;
    // The blocks, each starting with a pointer to the one before.
    void* m_LastBlock = nullptr;
    char* m_Next = nullptr;
    char* m_End = nullptr;
    std::size_t m_BlockSize = 0;
};

// The allocator of the node maps: their entries live beside the nodes.
template <class T>
class CNodeAllocator
{
public:
    typedef T value_type;

    static_assert(alignof(T) <= alignof(void*), "the arena aligns to a pointer");

    CNodeAllocator() = default;
    template <class U>
    CNodeAllocator(const CNodeAllocator<U>&)
    {
    }

    T* allocate(std::size_t count) { return static_cast<T*>(CNodeArena::AllocateEntry(count * sizeof(T))); }
    void deallocate(T* memory, std::size_t) { CNodeArena::FreeEntry(memory); }

    template <class U>
    bool operator==(const CNodeAllocator<U>&) const
    {
        return true;
    }
    template <class U>
    bool operator!=(const CNodeAllocator<U>&) const
    {
        return false;
    }
};

} // namespace xml
