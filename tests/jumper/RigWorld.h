#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/XmlFile.h"
#include "graphics/memory/MemGfxMgr.h"
#include "jumper/EquipmentManager.h"
#include "support/CapturingLogMgr.h"
#include "support/MessageCapture.h"
#include "support/ModelMeshes.h"
#include "support/VectorNear.h"

// The document element of a shipped file of the run tree.
inline xml::CNodePtr LoadShipped(const std::string& path, const std::string& root)
{
    CMessageCapture quiet;
    return xml::LoadXmlFile(path)->GetChild(root);
}

// The in-memory graphics with the program's meshes, and the equipment manager
// over the shipped equipment file.
class RigTest : public ::testing::Test
{
protected:
    RigTest() : m_Equipment(LoadShipped("../conf/equipment.xml", "Equipment"))
    {
        DefineModelMeshes(m_Gfx, ProjectModels());
        DefineModelMeshes(m_Gfx, meshgen::TestModels());
    }

    // An element of the XML text.
    static xml::CNodePtr Xml(const std::string& text)
    {
        CMessageCapture quiet;
        return xml::LoadXmlFromMemory(text, "test")->GetChildren().begin()->second;
    }

    xml::CNodePtr Model(const std::string& tag, const std::string& name) const
    {
        return m_Equipment.GetModelNode(tag, name);
    }
    // The shipped jumper's "Container" element.
    static xml::CNodePtr JumperContainer()
    {
        return LoadShipped("../conf/conf.xml", "sds")->GetChild("Jumper")->GetChild("Container");
    }
    sds::CGfxObjPtr Root() { return m_Gfx.GetRootObject(); }

    CMessageCapture m_Quiet;
    CCapturingLogMgr m_Log;
    sds::CMemGfxMgr m_Gfx;
    sds::CEquipmentManager m_Equipment;
    sds::CTiming m_Frame{0.02f, 0.0f};
};
