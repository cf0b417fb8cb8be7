#include "gui/WindowResolver.h"

#include <CEGUI/Exceptions.h>
#include <CEGUI/Window.h>

#include "gui/CeguiText.h"

namespace wrappers {

CEGUI::Window* CWindowResolver::Find(const std::string& path) const
{
    const auto detached = m_Detached.find(path);
    if (detached != m_Detached.end())
        return detached->second;
    if (!m_Root || path.empty())
        return nullptr;

    CEGUI::Window* window = m_Root;
    std::string::size_type begin = 0;
    bool screen = true;
    while (begin <= path.size()) {
        std::string::size_type end = path.find('/', begin);
        if (end == std::string::npos)
            end = path.size();
        const CEGUI::String name = ToCegui(path.substr(begin, end - begin));
        if (name.empty())
            return nullptr;
        // The screen must be a direct child of the root; further steps may lie
        // anywhere below the previous one.
        window = screen ? (window->isChild(name) ? window->getChild(name) : nullptr) : window->getChildRecursive(name);
        if (!window)
            return nullptr;
        screen = false;
        begin = end + 1;
    }
    return window;
}

CEGUI::Window& CWindowResolver::Get(const std::string& path) const
{
    CEGUI::Window* window = Find(path);
    if (!window)
        CEGUI_THROW(CEGUI::UnknownObjectException("Window not found: " + ToCegui(path)));
    return *window;
}

std::string CWindowResolver::GetPath(const CEGUI::Window& window) const
{
    for (const auto& entry : m_Detached)
        if (entry.second == &window)
            return entry.first;
    const CEGUI::Window* screen = &window;
    while (screen->getParent() && screen->getParent() != m_Root)
        screen = screen->getParent();
    if (screen == &window)
        return FromCegui(window.getName());
    return FromCegui(screen->getName()) + "/" + FromCegui(window.getName());
}

void CWindowResolver::RememberDetached(const std::string& path, CEGUI::Window& window)
{
    m_Detached[path] = &window;
}

} // namespace wrappers
