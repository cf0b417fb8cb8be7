// The level objects made from the drop zone's scene and preset.
#include "level/EngineLoader.h"

#include "core/Quaternion.h"
#include "core/services/IApplication.h"
#include "graphics/ICamera.h"
#include "graphics/IGfxMgr.h"
#include "jumper/Airplane.h"
#include "jumper/Jumper.h"
#include "jumper/JumperMgr.h"
#include "jumper/ObjGround.h"
#include "jumper/RagDollObj.h"
#include "jumper/SimObj.h"
#include "mods/ILevelHost.h"
#include "physics/IPhyMgr.h"
#include "physics/IPhyRagDoll.h"

namespace sds {

namespace {

const xml::CNodePtr& Config()
{
    return IApplication::GetSingleton()->GetConfig();
}

CVector PositionOf(const xml::CNode& element, const char* name)
{
    return element.GetAttribute<CVector>(name, CVector::ZERO);
}

CQuaternion OrientationOf(const xml::CNode& element)
{
    return element.GetAttribute<CQuaternion>("Orientation", CQuaternion::IDENTITY);
}

xml::CNodePtr Info(const xml::CNode& preset, const std::string& name)
{
    return preset.GetChildById("Info", name, "Name,Id");
}

} // namespace

void CEngineLoader::CreateObjects(const xml::CNodePtr& element)
{
    LoadObjects(*element, element->GetAttribute("File")->GetValue(), element->GetAttribute("Material", ""));
}

void CEngineLoader::CreateTarget(const xml::CNodePtr& element)
{
    LoadObjects(*element, element->GetAttribute("File", "../data/physics/Target.phs"),
                element->GetAttribute("Material", "Target"));
}

void CEngineLoader::LoadObjects(const xml::CNode& element, const std::string& file, const std::string& material)
{
    m_Context.World->LoadScyPhy(
        file, PositionOf(element, "Position"), OrientationOf(element),
        [this](const std::string& mesh, const std::shared_ptr<physics::IPhyObj>& body) { CreateSimObj(mesh, body); },
        [this](const std::string& mesh, const std::shared_ptr<physics::IPhyObj>& body) {
            CreateRagDollObj(mesh, body);
        },
        material);
}

void CEngineLoader::CreateSimObj(const std::string& mesh, const std::shared_ptr<physics::IPhyObj>& body)
{
    const CGfxObjPtr object = IGfxMgr::GetSingleton()->CreateObject(mesh, CGfxObjPtr());
    m_SimObjs.push_back(std::make_shared<CSimObj>(object, body));
}

void CEngineLoader::CreateRagDollObj(const std::string& mesh, const std::shared_ptr<physics::IPhyObj>& ragDoll)
{
    const CGfxObjPtr object = IGfxMgr::GetSingleton()->CreateObject(mesh, CGfxObjPtr());
    // The rag-doll object poses the physical bones from the model as it is
    // made: a model left at the origin would carry the windsock there.
    object->SetPos(ragDoll->GetPos());
    object->SetOrientation(ragDoll->GetOrientation());
    m_RagDollObjs.push_back(
        std::make_shared<CRagDollObj>(object, std::dynamic_pointer_cast<physics::IPhyRagDoll>(ragDoll), true));
}

void CEngineLoader::CreateWindSock(const xml::CNodePtr& element)
{
    // The world keeps the windsock; its sock arrives here as a rag doll to show.
    m_Context.World->CreateWindSock(
        element->GetAttribute("File")->GetValue(), PositionOf(*element, "Position"), OrientationOf(*element),
        [this](const std::string& mesh, const std::shared_ptr<physics::IPhyObj>& body) {
            CreateRagDollObj(mesh, body);
        });
}

void CEngineLoader::CreateTrees(const xml::CNodePtr& scene)
{
    const std::string mesh = Config()->GetChild("Scene")->GetAttribute("TreeMesh", "Tree.mesh");
    xml::ForEachChild(*scene, "Tree", [this, &mesh](const xml::CNodePtr& tree) {
        const CGfxObjPtr object = IGfxMgr::GetSingleton()->CreateObject(mesh, CGfxObjPtr());
        m_Trees.push_back(object);
        CObjGround::Register(object);
        object->SetPos(tree->GetAttribute("Pos")->GetValue<CVector>());
        object->SetScale(tree->GetAttribute("Scale")->GetValue<CVector>());
    });
}

void CEngineLoader::CreateJumper(const xml::CNodePtr& jumper, const xml::CNodePtr& preset,
                                 const xml::CNodePtr& collision)
{
    if (!jumper->GetAttribute<bool>("Create", true))
        return;
    const xml::CNodePtr& config = Config();
    const xml::CNodePtr copy = xml::CNode::Clone(config->GetChild("Jumper"));
    if (copy->HasChild("Altimeter") && preset->HasChildById("Info", "Altimeter", "Name,Id")) {
        const std::string model = Info(*preset, "Altimeter")->GetValue();
        xml::ForEachChild(*copy, "Altimeter",
                          [&model](const xml::CNodePtr& altimeter) { altimeter->GetAttribute("Model")->SetValue(model); });
    } else {
        while (copy->HasChild("Altimeter"))
            copy->RemoveChild(copy->GetChild("Altimeter"));
    }
    // The preset may start its jump otherwise than the configuration: the
    // canopy-approach lesson starts under the open canopy, where it says.
    if (jumper->HasAttribute("StartState"))
        copy->GetChild("JumperStates")
            ->GetAttribute("StartState")
            ->SetValue(jumper->GetAttribute("StartState")->GetValue());
    m_JumperConfig = copy;

    const std::string inputType = config->GetChild("Configuration")
                                      ->GetChildById("InputType", Info(*preset, "Input type")->GetValue(), "Name,Id")
                                      ->GetAttribute("Value")
                                      ->GetValue();
    const xml::CNodePtr rules = config->GetChild("Rules");
    const std::string canopyModel = rules->GetAttribute("CanopyModel")->GetValue();
    const bool showPilotChute = rules->GetAttribute<bool>("ShowPilotChute", true);
    const float canopySize = Info(*preset, "Canopy size")->GetValue<float>();
    const float exitWeight = Info(*preset, "Exit weight")->GetValue<float>();
    const int index = static_cast<int>(m_Context.Jumpers->GetJumpers().size());
    const bool logData = copy->GetAttribute<bool>("LogData", false);

    CJumperLinks links;
    if (m_Airplane)
        links.Aircraft = m_Airplane->GetGfxObj();
    links.InputModes = m_Context.InputModes;
    links.JumpEnd = &m_Context.Host->GetJumpEndDisplay();
    links.LandingCamera = &m_LandingCamera;
    links.JudgeFactory = m_Context.Host->GetCollisionJudgeFactory();
    links.TrajectoryName = m_FullName;
    links.AltimeterReference = GetJumperHeight();

    auto created = std::make_shared<CJumper>(m_Context.JumperName, logData, index, copy, collision,
                                             PositionOf(*jumper, "Position"), OrientationOf(*jumper), exitWeight,
                                             canopySize, canopyModel, inputType, showPilotChute, true, links);
    m_Context.Jumpers->AddToUpdateList(created);
    if (ICamera* camera = IGfxMgr::GetSingleton()->GetCamera())
        camera->Attach(created->GetHelperObj());
}

} // namespace sds
