#pragma once

#include <memory>

#include <boost/signals2/connection.hpp>
#include <boost/signals2/shared_connection_block.hpp>

#include "app/Engine.h"
#include "editor/IEditorScreens.h"
#include "core/SingletonTmpl.h"
#include "core/Vector.h"
#include "core/services/Events.h"
#include "forcefields/BaseMarker.h"
#include "forcefields/IEditorDialogs.h"
#include "editor/SceneFraming.h"
#include "graphics/ICamera.h"
#include "graphics/IOverlayed.h"

namespace physics {
class IWindRegion;
}

namespace sds {
namespace DovuvUvozeVozediza {

class CCursorMarker;
class IEditorLevel;

// The force-field editor: an engine state over the paused game mode that
// shows the loaded scene's editable things as markers in the 3D view, seen
// from the side by the fourth script camera. The user picks a marker with the
// left or right button, drags it in the plane z = 0 and right-clicks it for
// its dialog; the console's fixed lines, over a backdrop, say what is
// selected and what to do. Edits change the drop zone's working tree; the
// editor menu (Escape, the middle button or the on-screen button) saves it.
class CEditor : public IEngineState, public CSingletonTmpl<CEditor>, public IEditorDialogs
{
public:
    typedef DovuvUvozeVozediza::CBaseMarker CBaseMarker;

    // The screens are the menus' (the create and edit dialogs, the editor
    // menu, the on-screen button); they outlive the editor.
    CEditor(CEngine* engine, IEditorScreens& screens);
    ~CEditor() override;

    void OnUpdate(const CTiming& timing) override;
    // Builds the markers of the scene, takes the "Editor" input mode and the
    // editor's camera. Throws the XML layer's exceptions for a scene without
    // "Preset" ("Wind", "Jumper", "Camera" "Pos"), "Target" or the
    // "BoundingBox" identified "Boundaries"; nothing has changed then.
    void Enter() override;
    void Exit() override;
    void Pause() override;
    void Resume() override;
    virtual void OnDiscreteEvent(const CDiscreteEvent& event);
    virtual void OnAnalogEvent(const CAnalogEvent& event);

    // The level to edit; the game mode sets it while a level is loaded (null:
    // none). Entering without a level fails with sds::CException.
    void SetLevel(IEditorLevel* level) { m_Level = level; }

    // The dialogs over the paused editor.
    bool ShowCreateDialog(const xml::CNodePtr& field) override;
    bool ShowEditDialog(const xml::CNodePtr& field) override;

    const CMarkers& GetMarkers() const { return m_Markers; }
    const CMarkerPtr& GetSelected() const { return m_Selected; }

private:
    IEditorLevel& Level() const;
    ICamera& Camera() const;
    // What the camera shows of the scene's plane, below the console's band.
    CSideView SideView();
    xml::CNodePtr Scene() const;
    void CreateMarkers();
    void AddForceFieldMarker(const std::shared_ptr<physics::IWindRegion>& region);
    void AddTargetMarker(const xml::CNodePtr& target);
    // Selects the marker under the mouse, or else the cursor at the mouse.
    void Pick();
    bool TrySelectHit(const ICamera::CPickResult& hit);
    void EndDrag();
    // Where the mouse points in the plane z = 0; false when it points past it.
    bool MouseOnPlane(CVector& point) const;
    bool IsInMarkers(const CMarkerPtr& marker) const;
    // Back from menu mode the pointer is free again and the markers rescale.
    void ShowEditingView();

    boost::signals2::connection m_DiscreteConnection;
    boost::signals2::connection m_AnalogConnection;
    std::unique_ptr<boost::signals2::shared_connection_block> m_DiscreteBlock;
    std::unique_ptr<boost::signals2::shared_connection_block> m_AnalogBlock;
    // The camera position at the last rescale of the markers.
    CVector m_LastCameraPos;
    bool m_Dragging;
    bool m_Moved;
    // x and y: the mouse as fractions of the window; z: the wheel.
    CVector m_MousePos;
    CMarkerPtr m_Selected;
    std::shared_ptr<CCursorMarker> m_Cursor;
    CMarkers m_Markers;
    COverlayedPtr m_Backdrop;
    std::shared_ptr<IOnScreenMenu> m_MenuOnScreen;
    IEditorLevel* m_Level;
    IEditorScreens& m_Screens;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
