#include "mods/PhyEnabledMod.h"

#include <algorithm>

#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "core/services/IApplication.h"
#include "graphics/IGfxMgr.h"
#include "jumper/ObjGround.h"
#include "physics/PhyMgr.h"
#include "physics/flight/PhyJumper.h"
#include "sound/ISound.h"
#include "sound/ISoundTemplate.h"
#include "sound/LoadSoundTemplate.h"

namespace sds {

CPhyEnabledMod::CPhyEnabledMod(const xml::CNodePtr& physics, const xml::CNodePtr& materials)
    : ILevelMod("Physics")
{
    std::shared_ptr<physics::CPhyMgr> world = physics::CPhyMgr::Create(physics, materials);
    // The flight model lives above the world; the world builds its jumpers' bodies with it.
    world->SetJumperFactory(&physics::CPhyJumper::Create);
    m_PhyMgr = world;

    const xml::CNodePtr visualization = IApplication::GetSingleton()->GetConfig()->GetChild("PhyVisualization");
    m_DrawObjects = visualization->GetAttribute("Objects")->GetValue<bool>();

    m_PhyMgr->SetDebugDrawCallbacks(
        [this](const physics::sdk::IShape& shape, physics::sdk::EShapeType, const CVector& position,
               const CVector& size, const CQuaternion& orientation, const CFourFloats& colour, bool visible) {
            DrawShape(shape, position, size, orientation, colour, visible);
        },
        [this](const physics::IPhyForce& force, const CVector& start, const CVector& end, const CFourFloats& colour,
               bool visible) { DrawForce(force, start, end, colour, visible); });
    ILogMgr* log = ILogMgr::GetSingleton();
    m_PhyMgr->SetLogCallbacks([log](const std::string& text) { log->LogMessage(text); },
                              [log](const std::string& text) { log->LogWarning(text); },
                              [log](const std::string& text) { log->LogError(text); });
    m_Ground = std::make_shared<CObjGround>(visualization->GetAttribute("TriMeshes")->GetValue<bool>(),
                                            *IGfxMgr::GetSingleton(), *m_PhyMgr,
                                            IApplication::GetSingleton()->GetConfig()->GetChild("Scene"));

    if (materials->HasChild("Collision"))
        ReadCollisionSounds(materials);
    m_PhyMgr->SetCollisionCallback([this](const physics::IPhyCollisionEvent& event) { OnCollision(event); });
}

CPhyEnabledMod::~CPhyEnabledMod()
{
    ClearDebugObjects();
    m_Ground.reset();
    // Neither queued contacts nor drawing may reach a mod that has gone.
    m_PhyMgr->SetCollisionCallback(nullptr);
    m_PhyMgr->SetDebugDrawCallbacks(nullptr, nullptr);
    m_PhyMgr.reset();
    m_Sounds.clear();
}

void CPhyEnabledMod::ReadCollisionSounds(const xml::CNodePtr& materials)
{
    const float minDistance = materials->GetAttribute("MinSoundDistance")->GetValue<float>();
    xml::ForEachChild(*materials, "Collision", [&](const xml::CNodePtr& collision) {
        const std::vector<std::string> first = SplitString(collision->GetAttribute("MaterialOne")->GetValue(), ",");
        const std::vector<std::string> second = SplitString(collision->GetAttribute("MaterialTwo")->GetValue(), ",");
        auto sounds = std::make_shared<CPlayingSounds>();
        sounds->m_Template = LoadSoundTemplate(collision->GetChild("Sound"));
        sounds->m_MinSoundDistance = minDistance;

        for (const std::string& one : first) {
            for (const std::string& two : second) {
                const std::uint16_t a = m_PhyMgr->GetMaterialIndex(one);
                const std::uint16_t b = m_PhyMgr->GetMaterialIndex(two);
                // Index 0 is the default material: a misspelt name would sound at every touch of default ground.
                if (a == 0 || b == 0) {
                    ILogMgr::GetSingleton()->LogWarning("Collision sound " + sounds->m_Template->GetFileName() +
                                                        ": unknown material '" + (a == 0 ? one : two) +
                                                        "', the pair " + one + " " + two + " is skipped");
                    continue;
                }
                const CMaterialPair key(std::min(a, b), std::max(a, b));
                if (m_Sounds.count(key))
                    ILogMgr::GetSingleton()->LogWarning("Duplicated collision to sound mapping: " + one + " " + two +
                                                        " " + sounds->m_Template->GetFileName());
                m_Sounds[key] = sounds;
            }
        }
    });
}

void CPhyEnabledMod::Update(const CTiming& timing)
{
    // The world's fixed steps of this frame: contacts, then the bodies.
    m_PhyMgr->Update(timing);
    if (m_DrawObjects) {
        // Forces the world does not report this frame stay hidden.
        for (auto& arrow : m_DebugArrows)
            arrow.second->SetVisible(false);
        m_PhyMgr->DrawDebug(true);
    }
    // Terrain tiles loaded meanwhile become collision meshes, within the frame's budget.
    m_Ground->Update(timing);
}

void CPhyEnabledMod::Restart()
{
    ClearDebugObjects();
}

void CPhyEnabledMod::Reset()
{
    ClearDebugObjects();
    m_Sounds.clear();
}

void CPhyEnabledMod::ClearDebugObjects()
{
    m_DebugBoxes.clear();
    m_DebugArrows.clear();
    CObjGround::ClearRegistry();
}

void CPhyEnabledMod::OnCollision(const physics::IPhyCollisionEvent& event)
{
    const CMaterialPair key(std::min(event.m_FirstMaterial, event.m_SecondMaterial),
                            std::max(event.m_FirstMaterial, event.m_SecondMaterial));
    const auto found = m_Sounds.find(key);
    if (found == m_Sounds.end())
        return;
    CPlayingSounds& sounds = *found->second;
    auto& playing = sounds.m_Playing;
    playing.erase(std::remove_if(playing.begin(), playing.end(),
                                 [](const std::shared_ptr<ISound>& sound) { return !sound->IsPlaying(); }),
                  playing.end());
    for (const std::shared_ptr<ISound>& sound : playing)
        if ((sound->GetPosition() - event.m_Point).Length() < sounds.m_MinSoundDistance)
            return;
    std::shared_ptr<ISound> sound = sounds.m_Template->CreateSound(event.m_Point, CVector::ZERO);
    sound->Play(false);
    playing.push_back(sound);
}

void CPhyEnabledMod::DrawShape(const physics::sdk::IShape& shape, const CVector& position, const CVector& size,
                               const CQuaternion& orientation, const CFourFloats& colour, bool visible)
{
    CGfxObjPtr& box = m_DebugBoxes[&shape];
    if (!box) {
        box = IGfxMgr::GetSingleton()->CreateBox(CVector(1.0f, 1.0f, 1.0f));
        box->SetMaterial("PhyObjVisualization", true);
        box->SetSubEntityColour(0, colour);
    }
    box->SetPos(position);
    box->SetOrientation(orientation);
    box->SetScale(size);
    box->SetVisible(visible);
}

void CPhyEnabledMod::DrawForce(const physics::IPhyForce& force, const CVector& start, const CVector& end,
                               const CFourFloats& colour, bool visible)
{
    CGfxObjPtr& arrow = m_DebugArrows[&force];
    if (!arrow) {
        arrow = IGfxMgr::GetSingleton()->CreateObject("UnitArrow", nullptr);
        arrow->SetMaterial(arrow->GetSubEntityMaterialName(0), true);
        arrow->SetSubEntityColour(0, colour);
    }
    const CVector along = end - start;
    const float length = along.Length();
    arrow->SetPos(start);
    arrow->SetScale(CVector(1.0f, length, 1.0f));
    arrow->ResetOrientation();
    // The arrow mesh points along +Y; a force straight down turns it about X.
    if (length > 0.0f)
        arrow->SetOrientation(GetRotationTo(CVector::UNIT_Y, along, CVector::UNIT_X));
    // A force of nothing has no direction to show.
    arrow->SetVisible(visible && length > 0.0f);
}

} // namespace sds
