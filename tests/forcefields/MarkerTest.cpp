#include <gtest/gtest.h>

#include <algorithm>

#include "core/XmlFile.h"
#include "forcefields/BoundaryMarker.h"
#include "forcefields/CursorMarker.h"
#include "forcefields/ForceFieldMarker.h"
#include "forcefields/ForceFieldScene.h"
#include "forcefields/ForceFunctions.h"
#include "forcefields/IEditorDialogs.h"
#include "forcefields/RadiusMarker.h"
#include "forcefields/SizeMarker.h"
#include "graphics/memory/MemConsole.h"
#include "graphics/memory/MemGfxMgr.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"
#include "support/CapturingLogMgr.h"
#include "support/VectorNear.h"

using namespace sds;
using namespace sds::DovuvUvozeVozediza;

namespace {

xml::CNodePtr Load(const std::string& path)
{
    return xml::LoadXmlFile(path)->GetChildren().begin()->second;
}

// Dialogs that act at once: the create dialog composes the field and confirms
// it, or cancels it; the edit dialog deletes it.
class CActingDialogs : public IEditorDialogs
{
public:
    bool ShowCreateDialog(const xml::CNodePtr& field) override
    {
        ++m_Creates;
        if (!m_Shown)
            return false;
        if (!m_Confirm) { // Cancel
            field->GetParent()->RemoveChild(field);
            return true;
        }
        const xml::CNodePtr type = xml::LoadXmlFromMemory(
            "<ForceField Name='t'><Description>Pushes right. Strongly.</Description>"
            "<Function>function CalculateForce() return CVector(3, 0, 0) end</Function>"
            "<Radius Name='1' Position='5,0,0'>5</Radius><Radius Name='2' Position='0,5,0'>5</Radius>"
            "<Radius Name='3' Position='-5,0,0'>5</Radius></ForceField>",
            "type")->GetChild("ForceField");
        SetForceFunction(field, type->GetChild("Function")->GetValue(), "Pushes right. Strongly.", type);
        field->RemoveChild(field->GetChild("JustCreated"));
        return true;
    }
    bool ShowEditDialog(const xml::CNodePtr& field) override
    {
        ++m_Edits;
        field->GetParent()->RemoveChild(field);
        return true;
    }

    bool m_Confirm = true;
    bool m_Shown = true;
    int m_Creates = 0;
    int m_Edits = 0;
};

class MarkerTest : public ::testing::Test
{
protected:
    MarkerTest()
        : m_World(physics::CPhyMgr::Create(Load(std::string(SDS_SOURCE_DIR) + "/tests/physics/fixtures/physics.xml"),
                                           Load(std::string(SDS_SOURCE_DIR) + "/tests/physics/fixtures/materials.conf"))),
          m_Scene(xml::LoadXmlFromMemory("<scene><Preset><Wind/></Preset>"
                                         "<BoundingBox Name='Boundaries' MinCorner='-100,0,0' MaxCorner='100,80,0'/>"
                                         "</scene>",
                                         "scene")
                      ->GetChild("scene")),
          m_Wind(m_Scene->GetChild("Preset")->GetChild("Wind"))
    {
        m_Gfx.SetAllowUnknownMeshes(true);
    }

    physics::IWindMgr& WindMgr() { return m_World->GetWindMgr(); }

    // A cursor at the point, right-clicked: the field it places is confirmed and selected.
    std::shared_ptr<CCursorMarker> PlaceField(const CVector& point)
    {
        auto cursor = std::make_shared<CCursorMarker>(m_Wind, &m_Markers, &m_Selected, WindMgr(), m_Dialogs);
        cursor->SetPos(point);
        cursor->OnRightClick();
        cursor->Refresh();
        return cursor;
    }

    CCapturingLogMgr m_Log;
    CMemGfxMgr m_Gfx;
    CMemConsole m_Console;
    std::shared_ptr<physics::CPhyMgr> m_World;
    xml::CNodePtr m_Scene;
    xml::CNodePtr m_Wind;
    CActingDialogs m_Dialogs;
    CMarkers m_Markers;
    CMarkerPtr m_Selected;
};

} // namespace

TEST_F(MarkerTest, BoundaryDragChangesOnlyItsOwnComponent)
{
    const xml::CNodePtr box = GetBoundaries(m_Scene);
    CMinXBoundaryMarker minX(box);
    EXPECT_VECTOR_NEAR(CVector(-100, 40, 0), minX.GetGfxObj()->GetPos(), 1e-5f);
    minX.SetPos(CVector(-120, 55, 3));
    minX.SaveToScene();
    EXPECT_EQ("-120,0,0", box->GetAttribute("MinCorner")->GetValue());
    EXPECT_EQ("100,80,0", box->GetAttribute("MaxCorner")->GetValue());

    CMaxYBoundaryMarker maxY(box);
    maxY.SetPos(CVector(7, 90, 0));
    maxY.SaveToScene();
    EXPECT_EQ("-120,0,0", box->GetAttribute("MinCorner")->GetValue());
    EXPECT_EQ("100,90,0", box->GetAttribute("MaxCorner")->GetValue());
}

TEST_F(MarkerTest, MarkersKeepTheirSizeOnScreenAsTheCameraMovesAway)
{
    CCursorMarker cursor(m_Wind, &m_Markers, &m_Selected, WindMgr(), m_Dialogs);
    struct Case
    {
        float distance;
        CVector scale;
    } cases[] = {{200, {8, 8, 1}}, {100, {4, 4, 0.5f}}, {1, {4, 4, 0.5f}}, {0.2f, {4, 4, 0.5f}}, {-50, {4, 4, 0.5f}}};
    for (const Case& c : cases) {
        cursor.SetScale(c.distance);
        EXPECT_VECTOR_NEAR(c.scale, cursor.GetGfxObj()->GetScale(), 1e-5f);
    }
}

TEST_F(MarkerTest, PlacedFieldJoinsTheLevelWithItsHandles)
{
    PlaceField(CVector(10, 20, 0));

    ASSERT_EQ(1u, m_Wind->GetChildren().size());
    const xml::CNodePtr field = m_Wind->GetChild("Region");
    EXPECT_FALSE(field->HasChild("JustCreated"));
    // The area's depth is written at once.
    EXPECT_EQ("100,100,20", field->GetChild("Shape")->GetAttribute("Size")->GetValue());
    EXPECT_EQ(1u, WindMgr().GetRegions().size());
    EXPECT_VECTOR_NEAR(CVector(3, 0, 0), WindMgr().GetWind(CVector(10, 20, 0)), 1e-4f);

    ASSERT_EQ(5u, m_Markers.size()); // four handles, then the field
    auto marker = std::dynamic_pointer_cast<CForceFieldMarker>(m_Markers.back());
    ASSERT_TRUE(marker);
    EXPECT_EQ(m_Selected, m_Markers.back());
    EXPECT_EQ("Pushes right", m_Console.GetLine(1));
    for (const auto& handle : marker->GetHandles())
        EXPECT_TRUE(handle->GetGfxObj()->IsVisible());

    // Dragging the field carries its handles and its area.
    marker->SetPos(CVector(20, 20, 0));
    marker->SaveToScene();
    EXPECT_EQ("20,20,0", field->GetChild("Shape")->GetAttribute("Position")->GetValue());
    EXPECT_EQ("25,20,0", field->GetChildById("Radius", "1", ID_NAMES)->GetAttribute("Position")->GetValue());
    EXPECT_EQ("100,100,20", field->GetChild("Shape")->GetAttribute("Size")->GetValue());
    const auto size = std::dynamic_pointer_cast<CSizeMarker>(marker->GetHandles().back());
    ASSERT_TRUE(size);
    EXPECT_VECTOR_NEAR(CVector(70, 70, 0), size->GetGfxObj()->GetPos(), 1e-4f);
    EXPECT_VECTOR_NEAR(CVector(20, 20, 0), size->GetAreaObj()->GetPos(), 1e-4f);
    EXPECT_VECTOR_NEAR(CVector(0, 0, 0), WindMgr().GetWind(CVector(-35, 20, 0)), 1e-4f);
    EXPECT_VECTOR_NEAR(CVector(3, 0, 0), WindMgr().GetWind(CVector(-25, 20, 0)), 1e-4f);

    // The size handle sets width and height; the depth stays.
    size->SetPos(CVector(50, 30, 0));
    size->SaveToScene();
    EXPECT_EQ("60,20,20", field->GetChild("Shape")->GetAttribute("Size")->GetValue());
}

TEST_F(MarkerTest, DeletedFieldLeavesTheEditorAndTheLevel)
{
    PlaceField(CVector(10, 20, 0));
    const CMarkerPtr marker = m_Markers.back();
    const xml::CNodePtr field = m_Wind->GetChild("Region");
    m_Markers.insert(m_Markers.begin(), std::make_shared<CMinXBoundaryMarker>(GetBoundaries(m_Scene)));

    marker->OnRightClick();
    marker->Refresh();
    EXPECT_EQ(1, m_Dialogs.m_Edits);
    EXPECT_EQ(1u, m_Markers.size());
    EXPECT_FALSE(m_Selected);
    EXPECT_TRUE(WindMgr().GetRegions().empty());
}

TEST_F(MarkerTest, CancelledOrUnshownCreateDialogLeavesNoField)
{
    m_Dialogs.m_Confirm = false;
    PlaceField(CVector(0, 0, 0));
    m_Dialogs.m_Shown = false;
    PlaceField(CVector(5, 0, 0)); // the dialog could not open: the cursor removes the field
    EXPECT_EQ(2, m_Dialogs.m_Creates);
    EXPECT_TRUE(m_Wind->GetChildren().empty());
    EXPECT_TRUE(m_Markers.empty());
    EXPECT_TRUE(WindMgr().GetRegions().empty());
}
