#include "gui/WindowResolver.h"

#include <algorithm>
#include <vector>

#include <CEGUI/Exceptions.h>
#include <CEGUI/Window.h>

#include "gui/CeguiText.h"

namespace wrappers {

namespace {

std::vector<std::string> Steps(const std::string& path)
{
    std::vector<std::string> steps;
    std::string::size_type begin = 0;
    while (begin <= path.size()) {
        std::string::size_type end = path.find('/', begin);
        if (end == std::string::npos)
            end = path.size();
        steps.push_back(path.substr(begin, end - begin));
        begin = end + 1;
    }
    return steps;
}

// Each step searched anywhere below the window the previous one found.
CEGUI::Window* FindBelow(CEGUI::Window* window, std::vector<std::string>::const_iterator step,
                         std::vector<std::string>::const_iterator end)
{
    for (; window && step != end; ++step)
        window = step->empty() ? nullptr : window->getChildRecursive(ToCegui(*step));
    return window;
}

} // namespace

CEGUI::Window* CWindowResolver::Find(const std::string& path) const
{
    const auto detached = m_Detached.find(path);
    if (detached != m_Detached.end())
        return detached->second;
    if (!m_Root || path.empty())
        return nullptr;

    const std::vector<std::string> steps = Steps(path);
    // The screen must be a direct child of the root.
    const CEGUI::String screenName = ToCegui(steps.front());
    CEGUI::Window* screen = !screenName.empty() && m_Root->isChild(screenName) ? m_Root->getChild(screenName) : nullptr;
    if (CEGUI::Window* window = FindBelow(screen, steps.begin() + 1, steps.end()))
        return window;

    // A window inside a detached one keeps its path: the steps that led to the
    // detached window are already taken.
    for (const auto& entry : m_Detached) {
        const std::vector<std::string> taken = Steps(entry.first);
        if (taken.front() != steps.front())
            continue;
        const auto rest = std::mismatch(steps.begin() + 1, steps.end(), taken.begin() + 1, taken.end()).first;
        if (CEGUI::Window* window = FindBelow(entry.second, rest, steps.end()))
            if (window != entry.second)
                return window;
    }
    return nullptr;
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
    const CEGUI::Window* top = &window;
    while (top->getParent() && top->getParent() != m_Root)
        top = top->getParent();
    std::string screen = FromCegui(top->getName());
    if (!top->getParent()) {
        for (const auto& entry : m_Detached)
            if (entry.second == top) {
                if (top == &window)
                    return entry.first;
                screen = entry.first.substr(0, entry.first.find('/'));
            }
    }
    if (top == &window)
        return screen;
    return screen + "/" + FromCegui(window.getName());
}

void CWindowResolver::RememberDetached(const std::string& path, CEGUI::Window& window)
{
    m_Detached[path] = &window;
}

} // namespace wrappers
