#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Node.h"
#include "core/Timing.h"
#include "core/Vector.h"
#include "jumper/IJudgedJumper.h"
#include "physics/IPhyCollisionEvent.h"

namespace sds {

class ISound;
class ISoundTemplate;

// Decides at the jumper's first touchdown what kind of landing it was, sends
// the jumper into the matching landing state and afterwards reports the
// verdict as a "CollisionInfo" record for the jump log.
class ICollisionJudge : public IUpdate
{
public:
    // Where a started verdict sound is kept alive until it has played (the
    // engine's list of playing sounds).
    typedef std::function<void(const std::shared_ptr<ISound>&)> CSoundKeeper;

    // One row of a judge's table: a verdict with its comments and sounds.
    class CEntry
    {
    public:
        // Reads "Type", the "Message" texts and the "Sound" descriptors of the
        // element, and shuffles the comments and the sounds once. The type text
        // is "Type", a blank and `kind` ("Landing", "Crash", ...).
        CEntry(const xml::CNodePtr& element, const std::string& kind, IJudgedJumper& jumper,
               IJudgedJumper::ELanding target, const CSoundKeeper& keeper);
        virtual ~CEntry();

        // Records the touchdown, picks the comment, logs the verdict, starts the
        // sound and sends the jumper into the entry's landing state.
        void Apply(float speed, const CVector& contactPoint, const CVector& bodyPos);

        const std::string& GetType() const { return m_Type; }
        const std::string& GetMessage() const { return m_CurrentMessage; }
        void SetMessage(const std::string& message) { m_CurrentMessage = message; }
        const xml::CNodePtr& GetNode() const { return m_Element; }
        float GetSpeed() const { return m_Speed; }
        const CVector& GetContactPoint() const { return m_ContactPoint; }
        const CVector& GetBodyPos() const { return m_BodyPos; }
        const std::shared_ptr<ISound>& GetSound() const { return m_CurrentSound; }

    private:
        std::vector<std::shared_ptr<ISoundTemplate>> m_Sounds;
        std::shared_ptr<ISound> m_CurrentSound;
        std::string m_Type;
        std::vector<std::string> m_Messages;
        float m_Speed = 0.0f;
        CVector m_ContactPoint;
        CVector m_BodyPos;
        IJudgedJumper& m_Jumper;
        IJudgedJumper::ELanding m_Target;
        xml::CNodePtr m_Element;
        std::string m_CurrentMessage;
        CSoundKeeper m_Keeper;
    };

    // Keeps the velocity of the frame, the one a contact of the next step judges.
    void Update(const CTiming& timing) override = 0;
    virtual void OnCollision(const physics::IPhyCollisionEvent& event) = 0;
    ~ICollisionJudge() override = default;
    // A new "CollisionInfo" node: "Jump was not finished." while there is no verdict.
    virtual xml::CNodePtr GetCollisionInfo() = 0;

    // The verdict's comment, type text and contact point; empty or zero before it.
    std::string GetMessage() const;
    std::string GetLandingType() const;
    CVector GetLandingValue() const;

    // The single item of a record without a verdict.
    static xml::CNodePtr MakeUnfinishedInfo();

protected:
    std::shared_ptr<CEntry> m_Result;
};

typedef std::shared_ptr<ICollisionJudge> CCollisionJudgePtr;

// Makes the judge of a jumper from the collision table's root; the edition
// ("Application" "Edition") picks the kind of judge. An edition that has no
// judge gives none.
typedef std::function<CCollisionJudgePtr(const std::string& edition, IJudgedJumper& jumper,
                                         const xml::CNodePtr& table)>
    CCollisionJudgeFactory;

} // namespace sds
