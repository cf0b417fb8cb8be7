#pragma once

#include <memory>

#include "core/Node.h"
#include "core/Timing.h"

namespace sds {
namespace DovuvUvozeVozediza {

// A window that the editor keeps on screen beside its 3D view and drives
// itself, without the menus' machine.
class IOnScreenMenu
{
public:
    virtual ~IOnScreenMenu() = default;
    virtual void Enter() = 0;
    virtual void Exit() = 0;
    virtual void OnUpdate(const CTiming& timing) = 0;
};

// The screens the editor opens. The menus live above the editor and hand it
// their implementation.
class IEditorScreens
{
public:
    virtual ~IEditorScreens() = default;
    // Each returns false, having logged it, when the menus do not have the screen.
    virtual bool GoToEditorMenu() = 0;
    // The create and edit dialogs of a force-field element of the edited scene.
    virtual bool GoToCreateForceField(const xml::CNodePtr& field) = 0;
    virtual bool GoToEditForceField(const xml::CNodePtr& field) = 0;
    // The editor's menu button, shown while the editor's 3D view is.
    virtual std::shared_ptr<IOnScreenMenu> CreateEditMenuOnScreen() = 0;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
