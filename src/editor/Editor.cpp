#include "editor/Editor.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/BindingMgr.h"
#include "core/Exception.h"
#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "core/services/EventCodes.h"
#include "core/services/IConsole.h"
#include "core/services/IEventMgr.h"
#include "editor/SceneFraming.h"
#include "forcefields/BoundaryMarker.h"
#include "forcefields/CursorMarker.h"
#include "forcefields/ForceFieldMarker.h"
#include "forcefields/ForceFieldScene.h"
#include "forcefields/IEditorLevel.h"
#include "forcefields/StartingPosMarker.h"
#include "forcefields/TargetMarker.h"
#include "graphics/IGfxMgr.h"
#include "gui/IGUI.h"
#include "jumper/JumperMgr.h"
#include "physics/IWindMgr.h"

namespace sds {
namespace DovuvUvozeVozediza {

namespace {

const std::int32_t kEscapeKey = 1;
const std::int32_t kLeftButton = MOUSE_BUTTON_KEY_BASE;
const std::int32_t kRightButton = MOUSE_BUTTON_KEY_BASE + 1;
const std::int32_t kMiddleButton = MOUSE_BUTTON_KEY_BASE + 2;
// The fourth script camera, which this edition's camera script points at the scene from the side.
const int kEditorCameraMode = EventCodes::CameraScript4;
// How far the camera moves in z before the markers rescale.
const float kRescaleDistance = 0.1f;
const CVector kPlaneNormal(0.0f, 0.0f, 1.0f);
// The band behind the console's lines, at the top of the picture.
const char* const kBackdropPanel = "ConsoleBackDrop/Panel";

void LogMessage(const std::string& text)
{
    if (ILogMgr* log = ILogMgr::GetSingleton())
        log->LogMessage(text);
}

void LogWarning(const std::string& text)
{
    if (ILogMgr* log = ILogMgr::GetSingleton())
        log->LogWarning(text);
}

void LogError(const std::string& text)
{
    if (ILogMgr* log = ILogMgr::GetSingleton())
        log->LogError(text);
}

IConsole& Console()
{
    IConsole* console = IConsole::GetSingleton();
    SDS_ASSERT(console && "The editor needs the console");
    return *console;
}

IGUI& Gui()
{
    IGUI* gui = IGUI::GetSingleton();
    SDS_ASSERT(gui && "The editor needs the GUI");
    return *gui;
}

} // namespace

CEditor::CEditor(CEngine* engine, IEditorScreens& screens)
    : IEngineState(engine),
      m_Dragging(false),
      m_Moved(false),
      m_Backdrop(IGfxMgr::GetSingleton()->CreateOverlayed("ConsoleBackDrop")),
      m_MenuOnScreen(screens.CreateEditMenuOnScreen()),
      m_Level(nullptr),
      m_Screens(screens)
{
    m_Backdrop->SetVisible(false);
}

CEditor::~CEditor() = default;

IEditorLevel& CEditor::Level() const
{
    if (!m_Level)
        throw CException("The editor needs a loaded force-field level");
    return *m_Level;
}

ICamera& CEditor::Camera() const
{
    ICamera* camera = IGfxMgr::GetSingleton()->GetCamera();
    SDS_ASSERT(camera && "The editor needs the camera");
    return *camera;
}

CSideView CEditor::SideView()
{
    // The near plane's corners give the field of view, whichever way the camera looks.
    ICamera& camera = Camera();
    const CVector topRight = camera.GetWorldSpaceCorner(0);
    const CVector topLeft = camera.GetWorldSpaceCorner(1);
    const CVector bottomLeft = camera.GetWorldSpaceCorner(2);
    const float nearDistance = camera.GetNearClipDistance();
    CSideView view;
    if (!(nearDistance > 0.0f))
        return view;
    view.m_TanAcross = (topRight - topLeft).Length() / (2.0f * nearDistance);
    view.m_TanUp = (topLeft - bottomLeft).Length() / (2.0f * nearDistance);
    if (view.m_TanAcross > 0.0f && view.m_TanUp > 0.0f)
        view.m_TopBand = m_Backdrop->GetElement(kBackdropPanel)->GetHeight();
    return view;
}

xml::CNodePtr CEditor::Scene() const
{
    return Level().GetSceneTree()->GetChild("scene");
}

void CEditor::Enter()
{
    LogMessage("Entering editor");
    // The markers come first: a scene the editor cannot show changes nothing.
    CreateMarkers();
    const CVector savedPos = Scene()->GetChild("Preset")->GetChild("Camera")->GetAttribute("Pos")->GetValue<CVector>();
    const CVector cameraPos = StartingPosition(SideView(), savedPos, EditedArea(Scene()));

    if (CJumperMgr* jumpers = CJumperMgr::GetSingleton())
        jumpers->Clear();
    Gui().ConnectInputs();
    Gui().ShowMouseCursor(true);
    IEventMgr* events = IEventMgr::GetSingleton();
    m_DiscreteConnection = events->ConnectDiscreteEvent([this](const CDiscreteEvent& e) { OnDiscreteEvent(e); });
    m_AnalogConnection = events->ConnectAnalogEvent([this](const CAnalogEvent& e) { OnAnalogEvent(e); });
    m_DiscreteBlock.reset();
    m_AnalogBlock.reset();
    m_Dragging = false;
    m_Moved = false;

    Level().SetEditFlag(true);
    GetOwner()->GetBindingMgr().PushMode("Editor");
    // The side view starts where the camera stands when its mode is set.
    Camera().SetPos(cameraPos);
    Camera().SetMode(kEditorCameraMode);
    LogMessage("The editor's view starts at " + VectorToString(cameraPos));
    m_Backdrop->SetVisible(true);
    if (m_MenuOnScreen)
        m_MenuOnScreen->Enter();
    m_Selected.reset();
}

void CEditor::CreateMarkers()
{
    const xml::CNodePtr scene = Scene();
    const xml::CNodePtr preset = scene->GetChild("Preset");
    const xml::CNodePtr wind = preset->GetChild("Wind");
    const xml::CNodePtr boundaries = GetBoundaries(scene);
    // What the editor needs of the scene, checked before anything is shown.
    scene->GetChild("Target");
    preset->GetChild("Jumper");
    boundaries->GetAttribute("MinCorner");
    boundaries->GetAttribute("MaxCorner");

    CMarkers markers;
    m_Markers.swap(markers);
    m_Cursor.reset();
    m_Selected.reset();
    try {
        m_Cursor = std::make_shared<CCursorMarker>(wind, &m_Markers, &m_Selected, Level().GetWindMgr(), *this);
        m_Markers.push_back(m_Cursor);
        // A copy: a malformed region is skipped, the others keep their markers.
        const physics::IWindMgr::CRegions regions = Level().GetWindMgr().GetRegions();
        for (const std::shared_ptr<physics::IWindRegion>& region : regions)
            AddForceFieldMarker(region);
        xml::ForEachChild(*scene, "Target", [this](const xml::CNodePtr& target) { AddTargetMarker(target); });
        m_Markers.push_back(std::make_shared<CStartingPosMarker>(preset->GetChild("Jumper")));
        m_Markers.push_back(std::make_shared<CMinXBoundaryMarker>(boundaries));
        m_Markers.push_back(std::make_shared<CMinYBoundaryMarker>(boundaries));
        m_Markers.push_back(std::make_shared<CMaxXBoundaryMarker>(boundaries));
        m_Markers.push_back(std::make_shared<CMaxYBoundaryMarker>(boundaries));
    } catch (...) {
        m_Markers.clear();
        m_Cursor.reset();
        throw;
    }
}

void CEditor::AddForceFieldMarker(const std::shared_ptr<physics::IWindRegion>& region)
{
    // The field's handles join the list as it is built; on failure they leave it.
    const std::size_t before = m_Markers.size();
    try {
        m_Markers.push_back(
            std::make_shared<CForceFieldMarker>(region, &m_Markers, &m_Selected, Level().GetWindMgr(), *this));
    } catch (const xml::CNoNodeException& e) {
        m_Markers.resize(before);
        LogError(std::string("A force field the editor cannot show gets no marker: ") + e.what());
    }
}

void CEditor::AddTargetMarker(const xml::CNodePtr& target)
{
    const CVector position = target->GetAttribute("Position")->GetValue<CVector>();
    const std::shared_ptr<IEditorSimObj> simObj = Level().GetNearestSimObj(position);
    if (!simObj) {
        LogWarning("The target at " + VectorToString(position) + " has no object in the level and gets no marker");
        return;
    }
    m_Markers.push_back(std::make_shared<CTargetMarker>(target, simObj));
}

void CEditor::OnUpdate(const CTiming& timing)
{
    if (m_Selected)
        m_Selected->OnUpdate(timing);
    const CVector cameraPos = Camera().GetPos();
    // Compared with the last rescale, so that a slow zoom still rescales.
    if (std::fabs(cameraPos.z - m_LastCameraPos.z) > kRescaleDistance) {
        for (const CMarkerPtr& marker : m_Markers)
            marker->SetScale(cameraPos.z);
        m_LastCameraPos = cameraPos;
    }
    if (m_Level)
        m_Level->OnUpdate(timing);
    if (m_MenuOnScreen)
        m_MenuOnScreen->OnUpdate(timing);
}

void CEditor::OnDiscreteEvent(const CDiscreteEvent& event)
{
    if (event.Type == EVENT_KEY_PRESSED) {
        if (event.Key == kLeftButton) {
            Pick();
            m_Dragging = true;
        } else if (event.Key == kRightButton) {
            Pick();
        }
        return;
    }
    if (event.Type != EVENT_KEY_RELEASED)
        return;
    if (event.Key == kEscapeKey || event.Key == kMiddleButton) {
        m_Screens.GoToEditorMenu();
    } else if (event.Key == kLeftButton) {
        if (m_Dragging && m_Selected)
            EndDrag();
        // A press that picked nothing must not leave a drag behind.
        m_Dragging = false;
        m_Moved = false;
    } else if (event.Key == kRightButton && m_Selected) {
        // The marker may leave the list meanwhile; it lives until the call returns.
        const CMarkerPtr selected = m_Selected;
        selected->OnRightClick();
    }
}

void CEditor::OnAnalogEvent(const CAnalogEvent& event)
{
    m_MousePos = CVector(event.Pos[0], event.Pos[1], event.Pos[2]);
    if (!m_Dragging || !m_Selected)
        return;
    CVector point;
    if (!MouseOnPlane(point))
        return;
    m_Moved = true;
    m_Selected->SetPos(point);
    const CVector offset = point - m_Cursor->GetGfxObj()->GetPos();
    Console().SetFixedLine(1,
                           "New Pos=" + VectorToString(point) + "; Offset=" + VectorToString(offset) +
                               "; Distance=" + ToString(offset.Length()),
                           true);
}

bool CEditor::MouseOnPlane(CVector& point) const
{
    point = Camera().ViewportPosToWorldPos(m_MousePos.x, m_MousePos.y, kPlaneNormal, CVector::ZERO);
    return !(point == CVector::MAX_NEGATIVE);
}

void CEditor::Pick()
{
    ICamera& camera = Camera();
    if (!camera.FindObjUnderCursor(m_MousePos.x, m_MousePos.y, ICamera::PICK_ALL))
        return;
    for (const ICamera::CPickResult& hit : camera.GetPickResults())
        if (TrySelectHit(hit))
            return;

    if (m_Selected)
        m_Selected->Deselect();
    m_Selected = m_Cursor;
    m_Cursor->Select();
    CVector point;
    if (MouseOnPlane(point))
        m_Cursor->SetPos(point);
}

bool CEditor::TrySelectHit(const ICamera::CPickResult& hit)
{
    // A ray hit names the entity it met; the graphics find its object by that name.
    if (hit.m_Name == m_Cursor->GetGfxObj()->GetEntityName())
        return false;
    const CGfxObjPtr object = IGfxMgr::GetSingleton()->FindObject(hit.m_Name);
    if (!object)
        return false;
    const auto found = std::find_if(m_Markers.begin(), m_Markers.end(),
                                    [&object](const CMarkerPtr& marker) { return HasGfxObj(marker, object); });
    if (found == m_Markers.end() || *found == m_Cursor || !object->IsVisible())
        return false;

    const CMarkerPtr marker = *found;
    if (m_Selected)
        m_Selected->Deselect();
    m_Selected = marker;
    m_Cursor->SetPos(marker->GetGfxObj()->GetPos());
    m_Cursor->Select();
    marker->Select();
    return true;
}

void CEditor::EndDrag()
{
    if (m_Moved) {
        const CMarkerPtr selected = m_Selected;
        selected->SaveToScene();
        selected->Select();
        m_Cursor->SetPos(selected->GetGfxObj()->GetPos());
        Console().SetFixedLine(1, "", true);
    }
    m_Dragging = false;
    m_Moved = false;
}

bool CEditor::IsInMarkers(const CMarkerPtr& marker) const
{
    return marker && std::find(m_Markers.begin(), m_Markers.end(), marker) != m_Markers.end();
}

void CEditor::Pause()
{
    // The release of a button held now goes to whatever covers the editor (the
    // on-screen menu button's click): the drag ends here, or it would go on
    // without a button once the editor is back.
    if (m_Dragging && m_Selected)
        EndDrag();
    m_Dragging = false;
    m_Moved = false;
    m_DiscreteBlock = std::make_unique<boost::signals2::shared_connection_block>(m_DiscreteConnection);
    m_AnalogBlock = std::make_unique<boost::signals2::shared_connection_block>(m_AnalogConnection);
    Console().Clear();
    m_Backdrop->SetVisible(false);
    if (m_MenuOnScreen)
        m_MenuOnScreen->Exit();
}

void CEditor::Resume()
{
    if (!IsInMarkers(m_Selected)) {
        if (m_Selected)
            m_Selected->Deselect();
        m_Selected = m_Cursor;
    } else {
        // The marker may remove itself; it lives until the call returns.
        const CMarkerPtr selected = m_Selected;
        selected->Refresh();
    }
    m_DiscreteBlock.reset();
    m_AnalogBlock.reset();
    ShowEditingView();
}

void CEditor::ShowEditingView()
{
    Gui().ConnectInputs();
    Gui().ShowMouseCursor(true);
    m_Backdrop->SetVisible(true);
    if (m_MenuOnScreen)
        m_MenuOnScreen->Enter();
    const float largest = std::numeric_limits<float>::max();
    m_LastCameraPos = CVector(largest, largest, largest);
}

void CEditor::Exit()
{
    LogMessage("Exiting editor");
    for (const CMarkerPtr& marker : m_Markers)
        marker->SetScale(0.0f);
    m_Backdrop->SetVisible(false);
    if (m_Level)
        m_Level->SetEditFlag(false);
    m_DiscreteBlock.reset();
    m_AnalogBlock.reset();
    m_DiscreteConnection.disconnect();
    m_AnalogConnection.disconnect();
    Gui().DisconnectInputs();
    Gui().ShowMouseCursor(false);
    Console().Clear();
    m_Selected.reset();
    m_Cursor.reset();
    m_Markers.clear();
    GetOwner()->GetBindingMgr().PopMode();
    if (m_MenuOnScreen)
        m_MenuOnScreen->Exit();
}

bool CEditor::ShowCreateDialog(const xml::CNodePtr& field)
{
    return m_Screens.GoToCreateForceField(field);
}

bool CEditor::ShowEditDialog(const xml::CNodePtr& field)
{
    return m_Screens.GoToEditForceField(field);
}

} // namespace DovuvUvozeVozediza
} // namespace sds
