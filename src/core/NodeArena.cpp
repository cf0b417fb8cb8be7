#include "core/NodeArena.h"

#include <algorithm>
#include <new>

namespace xml {

namespace {

// Each piece of memory starts with the arena it came from (null for the heap).
// Nodes and map entries need no more than a pointer's alignment.
struct CHeader
{
    CNodeArena* m_Arena;
};
constexpr std::size_t kAlignment = alignof(CHeader);

constexpr std::size_t kFirstBlock = std::size_t(16) << 10;
constexpr std::size_t kLargestBlock = std::size_t(1) << 20;

std::size_t RoundUp(std::size_t bytes)
{
    return (bytes + kAlignment - 1) / kAlignment * kAlignment;
}

thread_local CNodeArena* t_OpenArena = nullptr;

} // namespace

CNodeArena::CScope::CScope() : m_Arena(new CNodeArena())
{
    t_OpenArena = m_Arena;
}

CNodeArena::CScope::~CScope()
{
    t_OpenArena = nullptr;
    // From here on any thread may hold and free the nodes.
    m_Arena->m_Holders.fetch_add(m_Arena->m_Open, std::memory_order_relaxed);
    m_Arena->Release();
}

void* CNodeArena::Allocate(std::size_t size)
{
    return Allocate(size, true);
}

void CNodeArena::Free(void* memory)
{
    if (!memory)
        return;
    CHeader* const header = static_cast<CHeader*>(memory) - 1;
    CNodeArena* const arena = header->m_Arena;
    if (!arena)
        ::operator delete(header);
    else if (arena == t_OpenArena)
        --arena->m_Open;
    else
        arena->Release();
}

void* CNodeArena::AllocateEntry(std::size_t size)
{
    return Allocate(size, false);
}

void CNodeArena::FreeEntry(void* memory)
{
    CHeader* const header = static_cast<CHeader*>(memory) - 1;
    if (!header->m_Arena)
        ::operator delete(header);
}

void* CNodeArena::Allocate(std::size_t size, bool counted)
{
    const std::size_t bytes = sizeof(CHeader) + RoundUp(size);
    CNodeArena* const arena = t_OpenArena;
    CHeader* header = nullptr;
    if (arena) {
        header = static_cast<CHeader*>(arena->Take(bytes));
        if (counted)
            ++arena->m_Open;
    } else {
        header = static_cast<CHeader*>(::operator new(bytes));
    }
    header->m_Arena = arena;
    return header + 1;
}

CNodeArena::~CNodeArena()
{
    while (m_LastBlock) {
        void* const previous = *static_cast<void**>(m_LastBlock);
        ::operator delete(m_LastBlock);
        m_LastBlock = previous;
    }
}

void* CNodeArena::Take(std::size_t bytes)
{
    if (static_cast<std::size_t>(m_End - m_Next) < bytes) {
        // Blocks grow with the document, so a small file takes little memory.
        m_BlockSize = std::min(std::max(m_BlockSize * 2, kFirstBlock), kLargestBlock);
        const std::size_t blockBytes = std::max(m_BlockSize, bytes + sizeof(CHeader));
        char* const block = static_cast<char*>(::operator new(blockBytes));
        *reinterpret_cast<void**>(block) = m_LastBlock;
        m_LastBlock = block;
        m_Next = block + sizeof(CHeader);
        m_End = block + blockBytes;
    }
    void* const taken = m_Next;
    m_Next += bytes;
    return taken;
}

void CNodeArena::Release()
{
    if (m_Holders.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete this;
}

} // namespace xml
