#include "jumper/ICollisionJudge.h"

#include <algorithm>
#include <random>

#include "core/ILogMgr.h"
#include "sound/ISound.h"
#include "sound/ISoundTemplate.h"
#include "sound/LoadSoundTemplate.h"

namespace sds {

namespace {

// Comments and sounds are shuffled once per jump, so each jump may say something else.
std::mt19937& ShuffleGenerator()
{
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

} // namespace

ICollisionJudge::CEntry::CEntry(const xml::CNodePtr& element, const std::string& kind, IJudgedJumper& jumper,
                                IJudgedJumper::ELanding target, const CSoundKeeper& keeper)
    : m_Type(element->GetAttribute("Type")->GetValue() + " " + kind), m_Jumper(jumper), m_Target(target),
      m_Element(element), m_Keeper(keeper)
{
    xml::ForEachChild(*element, "Message", [this](const xml::CNodePtr& message) {
        m_Messages.push_back(message->GetValue());
    });
    xml::ForEachChild(*element, "Sound", [this](const xml::CNodePtr& sound) {
        m_Sounds.push_back(LoadSoundTemplate(sound));
    });
    std::shuffle(m_Messages.begin(), m_Messages.end(), ShuffleGenerator());
    std::shuffle(m_Sounds.begin(), m_Sounds.end(), ShuffleGenerator());
}

ICollisionJudge::CEntry::~CEntry() = default;

void ICollisionJudge::CEntry::Apply(float speed, const CVector& contactPoint, const CVector& bodyPos)
{
    m_Speed = speed;
    m_ContactPoint = contactPoint;
    m_BodyPos = bodyPos;
    if (!m_Messages.empty())
        m_CurrentMessage = m_Messages.front();

    ILogMgr* log = ILogMgr::GetSingleton();
    log->LogMessage(m_Jumper.GetName() + " is in " + m_Type);
    log->LogMessage(m_CurrentMessage);

    if (!m_Sounds.empty()) {
        m_CurrentSound = m_Sounds.front()->CreateSound(contactPoint, CVector::ZERO);
        m_CurrentSound->Play(false);
        if (m_Keeper)
            m_Keeper(m_CurrentSound);
    }
    m_Jumper.Land(m_Target);
}

std::string ICollisionJudge::GetMessage() const
{
    return m_Result ? m_Result->GetMessage() : std::string();
}

std::string ICollisionJudge::GetLandingType() const
{
    return m_Result ? m_Result->GetType() : std::string();
}

CVector ICollisionJudge::GetLandingValue() const
{
    return m_Result ? m_Result->GetContactPoint() : CVector::ZERO;
}

xml::CNodePtr ICollisionJudge::MakeUnfinishedInfo()
{
    xml::CNodePtr info(new xml::CNode("CollisionInfo", false));
    info->AddChild("Info", "Jump was not finished.");
    return info;
}

} // namespace sds
