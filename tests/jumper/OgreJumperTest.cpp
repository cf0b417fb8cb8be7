#include <gtest/gtest.h>

#include "graphics/IGfxMgr.h"

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>
#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlayManager.h>

#include "core/UnitConverter.h"
#include "graphics/ogre/Dial.h"
#include "graphics/ogre/DigitalDial.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "jumper/Altimeter.h"
#include "jumper/AnimationRecord.h"
#include "jumper/CanopyRideState.h"
#include "jumper/Container.h"
#include "jumper/EquipmentManager.h"
#include "jumper/Jumper.h"
#include "jumper/SuspensionLines.h"
#include "physics/PhyMgr.h"
#include "physics/flight/PhyJumper.h"
#include "physics/zavuvi/PhysicsEntity.h"
#include "support/CapturingLogMgr.h"
#include "support/DiskResourceMgr.h"
#include "support/FakeApplication.h"
#include "support/MessageCapture.h"
#include "support/ModelMeshes.h"
#include "support/OgreTestEnvironment.h"

namespace {

xml::CNodePtr LoadShipped(const std::string& path, const std::string& root)
{
    CMessageCapture quiet;
    return xml::LoadXmlFile(path)->GetChild(root);
}

Ogre::Vector3 ToOgre(const sds::CVector& v)
{
    return Ogre::Vector3(v.x, v.y, v.z);
}

// The bone's position in the model's space in the binding pose.
Ogre::Vector3 BindPos(const Ogre::Bone& bone)
{
    const Ogre::Node* parent = bone.getParent();
    if (!parent)
        return bone.getInitialPosition();
    const Ogre::Bone& up = static_cast<const Ogre::Bone&>(*parent);
    Ogre::Quaternion orientation = Ogre::Quaternion::IDENTITY;
    for (const Ogre::Node* n = parent; n; n = n->getParent())
        orientation = n->getInitialOrientation() * orientation;
    return BindPos(up) + orientation * bone.getInitialPosition();
}

} // namespace

// Every mesh the program makes loads as its one description gives it.
TEST(OgreJumperMeshes, EachGeneratedMeshLoadsWithItsBonesAndAnimations)
{
    COgreTestEnvironment::Get();
    for (const meshgen::CMeshModel& model : ProjectModels()) {
        SCOPED_TRACE(model.m_Name);
        const Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().load(model.m_Name + ".mesh", "General");
        ASSERT_EQ(model.m_SubMeshes.size(), mesh->getNumSubMeshes());
        for (std::size_t i = 0; i < model.m_SubMeshes.size(); ++i)
            EXPECT_EQ(model.m_SubMeshes[i].m_Material, mesh->getSubMesh(static_cast<unsigned short>(i))->getMaterialName());
        if (model.m_Bones.empty()) {
            EXPECT_FALSE(mesh->hasSkeleton());
            continue;
        }
        ASSERT_TRUE(mesh->hasSkeleton());
        const Ogre::SkeletonPtr& skeleton = mesh->getSkeleton();
        ASSERT_EQ(model.m_Bones.size(), skeleton->getNumBones());
        for (std::size_t i = 0; i < model.m_Bones.size(); ++i) {
            const meshgen::CBone& desc = model.m_Bones[i];
            const Ogre::Bone* bone = skeleton->getBone(static_cast<unsigned short>(i));
            EXPECT_EQ(desc.m_Name, bone->getName());
            const Ogre::Node* parent = bone->getParent();
            EXPECT_EQ(desc.m_Parent < 0 ? std::string() : model.m_Bones[std::size_t(desc.m_Parent)].m_Name,
                      parent ? parent->getName() : std::string());
            EXPECT_TRUE(BindPos(*bone).positionEquals(ToOgre(model.BindPos(static_cast<std::uint16_t>(i))), 1e-5f))
                << desc.m_Name;
        }
        ASSERT_EQ(model.m_Animations.size(), skeleton->getNumAnimations());
        for (const meshgen::CAnimation& desc : model.m_Animations) {
            ASSERT_TRUE(skeleton->hasAnimation(desc.m_Name)) << desc.m_Name;
            EXPECT_GT(skeleton->getAnimation(desc.m_Name)->getLength(), 0.0f) << desc.m_Name;
            EXPECT_FLOAT_EQ(desc.m_Length, skeleton->getAnimation(desc.m_Name)->getLength()) << desc.m_Name;
        }
    }
    Ogre::MeshManager::getSingleton().removeUnreferencedResources();
}

// Every mesh, material and overlay the equipment file and the aircraft name
// is one the program can load: a misspelt name would only show at a jump.
TEST(OgreJumperMeshes, EveryNameTheEquipmentAndTheAircraftGiveLoads)
{
    COgreTestEnvironment::Get();
    CMessageCapture quiet;
    int meshes = 0, materials = 0;
    std::function<void(const xml::CNodePtr&)> visit = [&](const xml::CNodePtr& element) {
        for (const auto& attribute : element->GetAttributes()) {
            const std::string& value = attribute.second->GetValue();
            if (attribute.first == "Mesh") {
                EXPECT_NO_THROW(Ogre::MeshManager::getSingleton().load(value + ".mesh", "General")) << value;
                ++meshes;
            } else if (attribute.first == "Material") {
                EXPECT_TRUE(Ogre::MaterialManager::getSingleton().resourceExists(value)) << value;
                ++materials;
            } else if (attribute.first == "Overlay") {
                EXPECT_TRUE(Ogre::OverlayManager::getSingleton().getByName(value)) << value;
            } else if (attribute.first == "Value" && element->HasAttribute("Overlay")) {
                EXPECT_TRUE(Ogre::OverlayManager::getSingleton().hasOverlayElement(value)) << value;
            }
        }
        for (const auto& child : element->GetChildren())
            visit(child.second);
    };
    visit(LoadShipped("../conf/equipment.xml", "Equipment"));
    visit(LoadShipped("../conf/conf.xml", "sds")->GetChild("Airplane"));
    EXPECT_GT(meshes, 10);
    EXPECT_GT(materials, 1);
    // The case's face until a dial takes it over.
    EXPECT_TRUE(Ogre::MaterialManager::getSingleton().resourceExists("AltimeterFace"));
    Ogre::MeshManager::getSingleton().removeUnreferencedResources();
}

// Each actor of a rag doll is the bone of its name in the mesh that shows it,
// the first actor at the skeleton's root, and rests where the bone is bound.
TEST(OgreJumperMeshes, TheRagDollsActorsAreTheirMeshesBonesAtRest)
{
    COgreTestEnvironment::Get();
    const std::map<std::string, std::string> meshes = {
        {"Jumper", "Body"}, {"Canopy", "canopy"}, {"PilotChute", "PilotChute"}, {"Slider", "Slider"}};
    for (const auto& pair : meshes) {
        SCOPED_TRACE(pair.first);
        Zavuvi::PhysicsEntity file;
        file.Load("../data/models/" + pair.first + ".phs");
        const Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().load(pair.second + ".mesh", "General");
        const Ogre::SkeletonPtr& skeleton = mesh->getSkeleton();
        ASSERT_TRUE(skeleton);
        ASSERT_FALSE(file.m_Actors.empty());
        const Zavuvi::PhysicsActor& root = file.m_Actors.front();
        ASSERT_TRUE(skeleton->hasBone(root.m_BoneName));
        const Ogre::Bone* rootBone = skeleton->getBone(root.m_BoneName);
        EXPECT_EQ(nullptr, rootBone->getParent());
        for (const Zavuvi::PhysicsActor& actor : file.m_Actors) {
            ASSERT_TRUE(skeleton->hasBone(actor.m_BoneName)) << actor.m_Name;
            const Ogre::Vector3 bone = BindPos(*skeleton->getBone(actor.m_BoneName)) - BindPos(*rootBone);
            const Ogre::Vector3 rest = ToOgre(actor.m_Position - root.m_Position);
            EXPECT_LT(bone.distance(rest), 0.01f) << actor.m_Name;
        }
    }
    Ogre::MeshManager::getSingleton().removeUnreferencedResources();
}

// The shipped jumper in free fall, belly to the wind, its helmet and rig
// placed by its own update, drawn from above and behind its right shoulder.
class OgreJumperPicture : public ::testing::Test
{
protected:
    OgreJumperPicture()
        : m_Env(COgreTestEnvironment::Get()),
          m_App(LoadShipped("../conf/conf.xml", "sds")),
          m_Gfx(new wrappers::COgreGfxMgr(m_Env.m_Window, m_Env.m_Level, &m_App)),
          m_Equipment(LoadShipped("../conf/equipment.xml", "Equipment")),
          m_World(physics::CPhyMgr::Create(LoadShipped("../data/physics/physics.xml", "Physics"),
                                           LoadShipped("../conf/materials.conf", "Materials")))
    {
        m_World->SetLogCallbacks([](const std::string&) {}, [](const std::string&) {}, [](const std::string&) {});
        m_World->SetJumperFactory(&physics::CPhyJumper::Create);
    }
    ~OgreJumperPicture() override
    {
        m_World.reset();
        m_Gfx.reset();
        m_Env.m_Window->getViewport(0)->setBackgroundColour(Ogre::ColourValue::Black);
        m_Env.ResetLevelScene();
    }

    // Draws the level scene from `eye` towards `target` under a sun on a sky
    // colour, keeps the picture and checks a second drawing gives the same pixels.
    std::vector<unsigned char> Photograph(const std::string& file, const Ogre::Vector3& eye, const Ogre::Vector3& target,
                                          const std::string& area = "jumper")
    {
        Ogre::SceneNode* camera = m_Env.m_Camera->getParentSceneNode();
        camera->setPosition(eye);
        camera->lookAt(target, Ogre::Node::TS_WORLD);
        m_Env.m_Window->getViewport(0)->setBackgroundColour(Ogre::ColourValue(0.55f, 0.72f, 0.92f));
        Ogre::Light* sun = m_Env.m_Level->createLight("Sun");
        sun->setType(Ogre::Light::LT_DIRECTIONAL);
        Ogre::SceneNode* sunNode = m_Env.m_Level->getRootSceneNode()->createChildSceneNode();
        sunNode->setDirection(Ogre::Vector3(0.3f, -1.0f, -0.5f).normalisedCopy(), Ogre::Node::TS_WORLD);
        sunNode->attachObject(sun);

        m_Env.RenderFrame();
        const std::vector<unsigned char> first = Pixels();
        const std::string folder = std::string(SDS_TEST_ARTIFACT_DIR) + "/" + area;
        boost::filesystem::create_directories(folder);
        m_Env.m_Window->writeContentsToFile(folder + "/" + file);
        m_Env.RenderFrame();
        EXPECT_TRUE(first == Pixels()) << "the same frame drawn twice differs";
        m_Env.m_Level->destroyLight(sun);
        m_Env.m_Level->destroySceneNode(sunNode);
        return first;
    }

    static int Count(const std::vector<unsigned char>& pixels, bool (*is)(int r, int g, int b))
    {
        int count = 0;
        for (std::size_t i = 0; i + 2 < pixels.size(); i += 3)
            count += is(pixels[i], pixels[i + 1], pixels[i + 2]) ? 1 : 0;
        return count;
    }
    static bool IsJumpsuit(int r, int g, int b) { return b > 90 && b > r + 50 && b > g + 25; }
    static bool IsHelmet(int r, int g, int b) { return r > 90 && r > g + 60 && r > b + 60; }
    static bool IsContainer(int r, int g, int b)
    {
        return r > 25 && r < 110 && std::abs(r - g) < 12 && std::abs(g - b) < 16;
    }
    // The wing's red and yellow cells, lit or in their own shade: warm colours the sky lacks.
    static bool IsCanopy(int r, int, int b) { return r > 60 && r > b + 40; }
    // The pale lines against the sky.
    static bool IsLine(int r, int g, int b) { return r > 170 && g > 170 && b > 150 && r >= b; }

    std::vector<unsigned char> Pixels()
    {
        const Ogre::PixelFormat format = Ogre::PF_BYTE_RGB;
        std::vector<unsigned char> pixels(COgreTestEnvironment::kWidth * COgreTestEnvironment::kHeight * 3);
        Ogre::PixelBox box(COgreTestEnvironment::kWidth, COgreTestEnvironment::kHeight, 1, format, pixels.data());
        m_Env.m_Window->copyContentsToMemory(box, box);
        return pixels;
    }

    CMessageCapture m_Quiet;
    CCapturingLogMgr m_Log;
    CDiskResourceMgr m_Resources;
    COgreTestEnvironment& m_Env;
    CFakeApplication m_App;
    std::unique_ptr<wrappers::COgreGfxMgr> m_Gfx;
    sds::CEquipmentManager m_Equipment;
    std::shared_ptr<physics::CPhyMgr> m_World;
};

// The jumper taken from the door, standing upright at its start in its models' pose.
void StandAtStart(sds::CJumper& jumper, float height = 1000.0f)
{
    const sds::CGfxObjPtr body = jumper.GetBodyObj();
    sds::IGfxMgr::GetSingleton()->GetRootObject()->AddChild(body);
    body->SetPos(sds::CVector(0, height, 0));
    body->SetOrientation(sds::CQuaternion::IDENTITY);
    body->UpdateTransform();
    body->DisableAllAnimations();
}

TEST_F(OgreJumperPicture, AJumperInFreeFallIsArchedWithHelmetAndContainer)
{
    const xml::CNodePtr config = xml::CNode::Clone(m_App.m_Config->GetChild("Jumper"));
    sds::CJumper jumper("Jumper", false, 0, config, nullptr, sds::CVector(0, 1000, 0), sds::CQuaternion::IDENTITY,
                        80.0f, 20.0f, "", "", true, false);
    StandAtStart(jumper);
    const sds::CAnimationPtr arch =
        sds::ReadAnimation(config->GetChild("Animation")->GetChild("IdleFreeFall"), jumper.GetBodyObj());
    arch->SetEnabled(true);
    // Belly down, head forward (+x in the world).
    sds::CQuaternion bellyDown;
    bellyDown.FromAngleAxis(-1.5707963f, sds::CVector::UNIT_Z);
    jumper.GetBodyObj()->SetOrientation(bellyDown);
    jumper.Update(sds::CTiming{0.02f, 0.02f});

    const std::vector<unsigned char> picture =
        Photograph("free-fall.png", Ogre::Vector3(0.9f, 1001.2f, 2.6f), Ogre::Vector3(0.0f, 1000.05f, 0));
    // The suit, the helmet and the container each cover a fair part of the picture.
    EXPECT_GT(Count(picture, IsJumpsuit), 400) << "jumpsuit";
    EXPECT_GT(Count(picture, IsHelmet), 400) << "helmet";
    EXPECT_GT(Count(picture, IsContainer), 400) << "container";
}

// The rig opened as a start under canopy opens it, the canopy set above the
// jumper where its flight would hold it: the wing, the risers up from the
// container, the slider down on them.
TEST_F(OgreJumperPicture, UnderTheOpenCanopyTheRisersReachUpFromTheContainer)
{
    const xml::CNodePtr config = xml::CNode::Clone(m_App.m_Config->GetChild("Jumper"));
    sds::CJumper jumper("Jumper", false, 0, config, nullptr, sds::CVector(0, 1000, 0), sds::CQuaternion::IDENTITY,
                        80.0f, 20.0f, "", "", true, false);
    StandAtStart(jumper);
    sds::ReadAnimation(config->GetChild("Animation")->GetChild("IdleCanopyRide"), jumper.GetBodyObj())
        ->SetEnabled(true);
    // The rig stages from where the first update put it on the back.
    jumper.Update(sds::CTiming{0.02f, 0.02f});
    const sds::CContainerPtr rig = jumper.GetContainer();
    rig->CreateBridleLine();
    rig->CreateLines();
    rig->BeginInflation();
    rig->GetCanopy()->StartFullFlight();
    // The slider on the rig, where the lines carry it.
    rig->GetGfxObj()->AddChild(rig->GetSlider()->GetGfxObj());
    rig->GetSlider()->ResetToContainer();
    rig->GetCanopy()->GetGfxObj()->SetVisible(true);
    rig->HidePilotChute();
    rig->GetCanopy()->GetGfxObj()->SetPos(sds::CVector(0, 3.4f, 0));
    for (int frame = 0; frame < 3; ++frame)
        jumper.Update(sds::CTiming{0.02f, 0.02f * static_cast<float>(frame + 1)});

    const std::vector<unsigned char> picture =
        Photograph("canopy-flight.png", Ogre::Vector3(7.5f, 1001.4f, 4.5f), Ogre::Vector3(0.0f, 1001.9f, 0));
    EXPECT_GT(Count(picture, IsJumpsuit), 100) << "jumpsuit";
    EXPECT_GT(Count(picture, IsCanopy), 4000) << "canopy";

    // From behind and to the left: the line set from the wing down through
    // its cascades to the slider, the risers and the toggles.
    Ogre::SceneNode* camera = m_Env.m_Camera->getParentSceneNode();
    camera->setFixedYawAxis(true);
    const std::vector<unsigned char> lines = Photograph("canopy-lines.png", Ogre::Vector3(-5.5f, 1000.4f, -4.5f),
                                                        Ogre::Vector3(0.0f, 1002.3f, 0), "equipment");
    camera->setFixedYawAxis(false);
    EXPECT_GT(Count(lines, IsLine), 150) << "lines";
    EXPECT_GT(Count(lines, IsCanopy), 2000) << "canopy";
}

// A jumper started under canopy as a jump can start ("StartState"
// "CanopyRide"), a second into its flight: the canopy above, the risers up
// from the rig, the hands down on the toggles.
TEST_F(OgreJumperPicture, AJumperStartedUnderCanopyHoldsTheTogglesUnderItsWing)
{
    const xml::CNodePtr config = xml::CNode::Clone(m_App.m_Config->GetChild("Jumper"));
    config->GetChild("JumperStates")->GetAttribute("StartState")->SetValue("CanopyRide");
    sds::CJumper jumper("Jumper", false, 0, config, nullptr, sds::CVector(0, 1000, 0), sds::CQuaternion::IDENTITY,
                        80.0f, 20.0f, "", "", false, false);
    ASSERT_EQ(jumper.GetCanopyRideState(), jumper.GetCurrentState());
    const sds::CTiming frame{1.0f / 60.0f, 0.0f};
    for (int i = 0; i < 60; ++i) {
        m_World->Update(frame);
        jumper.Update(frame);
    }

    const sds::CContainerPtr rig = jumper.GetContainer();
    sds::CSuspensionLines& lines = *std::static_pointer_cast<sds::CContainer>(rig)->GetSuspensionLines();
    const sds::CVector body = jumper.GetBodyObj()->GetWorldPos();
    const sds::CVector up = rig->GetCanopy()->GetGfxObj()->GetWorldPos() - body;
    // The wing flies well above the jumper; each riser reaches up from the rig.
    EXPECT_GT(up.y, 3.0f);
    for (const sds::CSuspensionLines::ERiser riser :
         {sds::CSuspensionLines::LEFT_FRONT, sds::CSuspensionLines::LEFT_REAR, sds::CSuspensionLines::RIGHT_FRONT,
          sds::CSuspensionLines::RIGHT_REAR}) {
        const sds::CRope& segment = *lines.GetRiserSegments()[riser];
        EXPECT_GT(segment.GetSecond()->m_Pos.y - segment.GetFirst()->m_Pos.y, 0.15f) << riser;
    }
    // Each toggle is in its hand.
    for (const bool left : {true, false}) {
        EXPECT_EQ(lines.GetHandPoint(left), lines.GetTogglePlacement(left).GetTarget()) << left;
        EXPECT_LT((lines.GetToggle(left)->GetWorldPos() - lines.GetHandPoint(left)->m_Pos).Length(), 1e-3f) << left;
    }

    // From behind and to the right of the jumper's heading, looking up past
    // the rig at the wing.
    const sds::CQuaternion heading = jumper.GetBodyObj()->GetWorldOrientation();
    Ogre::SceneNode* camera = m_Env.m_Camera->getParentSceneNode();
    camera->setFixedYawAxis(true);
    const std::vector<unsigned char> picture =
        Photograph("under-canopy.png", ToOgre(body + heading * sds::CVector(-6.5f, -0.8f, 3.5f)),
                   ToOgre(body + sds::CVector(0, 2.4f, 0)));
    camera->setFixedYawAxis(false);
    EXPECT_GT(Count(picture, IsJumpsuit), 300) << "jumpsuit";
    EXPECT_GT(Count(picture, IsCanopy), 4000) << "canopy";
    EXPECT_GT(Count(picture, IsLine), 150) << "lines";
}

// The two shipped altimeters on the jumper: the analog one the shipped jumper
// wears on the chest, at 914.5 m (a quarter turn: 3000 ft), and the digital
// one on the hand at 1234.2 m.
TEST_F(OgreJumperPicture, AltimetersShowTheirDialsOnTheirCases)
{
    const sds::CUnitConverter units(m_App.m_Config->GetChild("UnitConverter"));
    const xml::CNodePtr config = xml::CNode::Clone(m_App.m_Config->GetChild("Jumper"));
    ASSERT_EQ("Chest", config->GetChild("Altimeter")->GetAttribute("Attachment")->GetValue());
    const xml::CNodePtr hand = config->AddChild("Altimeter");
    hand->AddAttribute("Model", "Neptune");
    hand->AddAttribute("Attachment", "Hand");
    sds::CJumper jumper("Jumper", false, 0, config, nullptr, sds::CVector(0, 914.5f, 0), sds::CQuaternion::IDENTITY,
                        80.0f, 20.0f, "", "", true, false);
    ASSERT_EQ(2u, jumper.GetAltimeters().size());
    StandAtStart(jumper, 914.5f);
    jumper.GetAltimeters()[1]->SetReferenceHeight(914.5f - 1234.2f);
    jumper.Update(sds::CTiming{0.02f, 0.02f});

    // The chest as the wearer sees it, looking down from the eyes: the face
    // turned up to them, its "0" away from the body (forward, +x), so the
    // needle at 3000 ft points a quarter turn clockwise from forward.
    const sds::CVector body = jumper.GetBodyObj()->GetWorldPos();
    const Ogre::Vector3 chest = ToOgre(body + sds::CVector(0.17f, 0.36f, -0.07f));
    const Ogre::Vector3 eyes = ToOgre(body + sds::CVector(0.1f, 0.74f, 0.0f));
    Ogre::SceneNode* camera = m_Env.m_Camera->getParentSceneNode();
    camera->setFixedYawAxis(true);
    const std::vector<unsigned char> worn = Photograph("altimeter-case.png", eyes, chest, "equipment");
    camera->setFixedYawAxis(false);
    const auto onScreen = [this](const Ogre::Vector3& point) {
        const Ogre::Vector3 p = m_Env.m_Camera->getProjectionMatrix() * m_Env.m_Camera->getViewMatrix() * point;
        return Ogre::Vector2((p.x + 1.0f) * 0.5f * COgreTestEnvironment::kWidth,
                             (1.0f - p.y) * 0.5f * COgreTestEnvironment::kHeight);
    };
    // The face stands 16.5 mm out of its case, along the case's +y.
    const sds::CGfxObjPtr& chestCase = dynamic_cast<const sds::CAltimeter&>(*jumper.GetAltimeters()[0]).GetCase();
    const Ogre::Vector3 dialCentre = ToOgre(chestCase->GetWorldPos() + chestCase->GetWorldOrientation() * sds::CVector(0, 0.0165f, 0));
    const Ogre::Vector2 centre = onScreen(dialCentre);
    const Ogre::Vector2 forward = (onScreen(dialCentre + Ogre::Vector3(0.02f, 0, 0)) - centre).normalisedCopy();
    // A quarter turn clockwise on the screen, whose y runs down.
    const Ogre::Vector2 threeOClock(-forward.y, forward.x);
    int needle = 0, numerals = 0;
    Ogre::Vector2 needleCentre(0, 0);
    for (unsigned y = 0; y < COgreTestEnvironment::kHeight; ++y)
        for (unsigned x = 0; x < COgreTestEnvironment::kWidth; ++x) {
            const unsigned char* p = &worn[3u * (y * COgreTestEnvironment::kWidth + x)];
            if (p[0] > 170 && p[1] > 40 && p[1] < 150 && p[2] < 100) {
                ++needle;
                needleCentre += Ogre::Vector2(static_cast<float>(x), static_cast<float>(y));
            }
            numerals += p[0] > 200 && p[1] > 200 && p[2] > 200;
        }
    ASSERT_GT(needle, 30) << "the needle is not seen: the face is turned away from the wearer";
    EXPECT_GT(numerals, 60) << "the face's numerals are not seen";
    const Ogre::Vector2 pointing = needleCentre / static_cast<float>(needle) - centre;
    EXPECT_GT(pointing.length(), 8.0f);
    EXPECT_GT(pointing.normalisedCopy().dotProduct(threeOClock), 0.9f)
        << "the needle at 3000 ft points at (" << pointing.x << ", " << pointing.y << ") from the centre, "
        << "forward is (" << forward.x << ", " << forward.y << ")";

    const std::string folder = std::string(SDS_TEST_ARTIFACT_DIR) + "/equipment";
    const auto& analog = dynamic_cast<const wrappers::CDial&>(
        *dynamic_cast<const sds::CAltimeter&>(*jumper.GetAltimeters()[0]).GetDial());
    Ogre::RenderTarget* face = analog.GetRTT().GetRenderTarget();
    face->writeContentsToFile(folder + "/altimeter-dial.png");
    std::vector<unsigned char> pixels(4u * face->getWidth() * face->getHeight());
    face->copyContentsToMemory(Ogre::Box(0, 0, face->getWidth(), face->getHeight()),
                               Ogre::PixelBox(face->getWidth(), face->getHeight(), 1, Ogre::PF_BYTE_RGBA, pixels.data()));
    auto needleIn = [&](unsigned left, unsigned top, unsigned right, unsigned bottom) {
        int count = 0;
        for (unsigned y = top; y < bottom; ++y)
            for (unsigned x = left; x < right; ++x) {
                const unsigned char* p = &pixels[4u * (y * face->getWidth() + x)];
                count += p[0] > 190 && p[1] > 50 && p[1] < 140 && p[2] < 90;
            }
        return count;
    };
    // Over the face's "3" (to the right of the centre), not over its "0".
    EXPECT_GT(needleIn(160, 118, 215, 138), 40);
    EXPECT_LT(needleIn(118, 35, 138, 95), 5);

    const auto& digital = dynamic_cast<const wrappers::CDigitalDial&>(
        *dynamic_cast<const sds::CAltimeter&>(*jumper.GetAltimeters()[1]).GetDial());
    digital.GetRTT().GetRenderTarget()->writeContentsToFile(folder + "/altimeter-digital.png");
    EXPECT_EQ("4050", Ogre::OverlayManager::getSingleton().getOverlayElement("Altimeter/Digital/Value")->getCaption().asUTF8());
}
