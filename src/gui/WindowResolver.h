#pragma once

#include <map>
#include <string>

namespace CEGUI {
class Window;
}

namespace wrappers {

// Finds the GUI library's windows by the program's layout paths. A path is the
// name of a screen window (a child of the layout's root) followed by the names
// of windows below it, each searched anywhere in the subtree of the previous
// one: "wndSettings/sbMusicVolume" lies inside a tab page, and
// "wndSettings/tcSections/tabVideo" is a page of the tab control. Windows that
// the program detached from the tree, and the windows inside them, stay
// reachable by their paths ("wndSettings/sbForceFieldVisualization" lies in a
// tab page that an edition removes).
class CWindowResolver
{
public:
    void SetRoot(CEGUI::Window* root) { m_Root = root; }
    CEGUI::Window* GetRoot() const { return m_Root; }

    // Null when the path names no window.
    CEGUI::Window* Find(const std::string& path) const;
    // Throws the library's CEGUI::UnknownObjectException for a missing window.
    CEGUI::Window& Get(const std::string& path) const;
    // The screen window's name, "/" and the window's own name (only the screen
    // name for a screen window); a detached window's own path.
    std::string GetPath(const CEGUI::Window& window) const;
    // Keeps the window reachable by `path` after it left the tree.
    void RememberDetached(const std::string& path, CEGUI::Window& window);
    const std::map<std::string, CEGUI::Window*>& GetDetached() const { return m_Detached; }
    void ForgetDetached() { m_Detached.clear(); }

private:
    CEGUI::Window* m_Root = nullptr;
    std::map<std::string, CEGUI::Window*> m_Detached;
};

} // namespace wrappers
