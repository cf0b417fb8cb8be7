#pragma once

#include <memory>

#include "jumper/Jumper.h"
#include "physics/PhyMgr.h"
#include "physics/flight/PhyJumper.h"
#include "RigWorld.h"
#include "support/DiskResourceMgr.h"
#include "support/FakeApplication.h"

using sds::CGfxObjPtr;
using sds::CJumper;
using sds::CVector;

// A jumper of the shipped configuration, rig and physics over the in-memory graphics.
class JumperTest : public RigTest
{
protected:
    JumperTest()
        : m_App(LoadShipped("../conf/conf.xml", "sds")),
          m_World(physics::CPhyMgr::Create(LoadShipped("../data/physics/physics.xml", "Physics"),
                                           LoadShipped("../conf/materials.conf", "Materials")))
    {
        m_World->SetLogCallbacks([](const std::string&) {}, [](const std::string&) {}, [](const std::string&) {});
        m_World->SetJumperFactory(&physics::CPhyJumper::Create);
    }

    // A copy of the shipped "Jumper" element to change.
    xml::CNodePtr Config() const { return xml::CNode::Clone(m_App.m_Config->GetChild("Jumper")); }
    // A jumper standing upright at `start` in its models' pose, under the scene's root.
    std::unique_ptr<CJumper> Make(const xml::CNodePtr& config, const CVector& start = CVector(0, 1000, 0))
    {
        std::unique_ptr<CJumper> jumper = Make(config, start, sds::CJumperLinks(), false);
        const CGfxObjPtr body = jumper->GetBodyObj();
        m_Gfx.GetRootObject()->AddChild(body);
        body->SetPos(start);
        body->SetOrientation(sds::CQuaternion::IDENTITY);
        body->UpdateTransform();
        body->DisableAllAnimations();
        return jumper;
    }
    // A jumper as the states place it.
    std::unique_ptr<CJumper> Make(const xml::CNodePtr& config, const CVector& start, const sds::CJumperLinks& links,
                                  bool useInputModes)
    {
        return std::make_unique<CJumper>("Jumper", false, 0, config, nullptr, start, sds::CQuaternion::IDENTITY, 80.0f,
                                         20.0f, "", "", true, useInputModes, links);
    }
    std::unique_ptr<CJumper> Make() { return Make(Config()); }
    CVector Offset(const std::string& attachment) const
    {
        return xml::ParseVector(m_App.m_Config->GetChild("Jumper")
                                    ->GetChildById("Attachment", attachment, "Name,Id")
                                    ->GetAttribute("Offset")
                                    ->GetValue());
    }
    // Where a point of the body's model space, carried by `bone`, is in the world now.
    static CVector OnBone(const CJumper& jumper, const std::string& bone, const CVector& modelPoint)
    {
        const meshgen::CMeshModel& body = ProjectModels().front();
        const sds::CJointPtr joint = sds::GetJoint(jumper.GetBodyObj(), bone);
        const CVector bind = body.BindPos(body.BoneIndex(bone));
        const CGfxObjPtr object = jumper.GetBodyObj();
        return object->GetWorldPos() +
               object->GetWorldOrientation() * (joint->GetWorldPos() + joint->GetWorldOrientation() * (modelPoint - bind));
    }

    CDiskResourceMgr m_Resources;
    CFakeApplication m_App;
    std::shared_ptr<physics::CPhyMgr> m_World;
};

