#pragma once

#include "jumper/ICanopy.h"

namespace sds {

// The main canopy built from its model element of the equipment file: the
// mesh of "Mesh" and the nine animation records of "Animation".
class CCanopy : public ICanopy
{
public:
    // Throws the XML layer's exceptions for a missing "Mesh", "Animation" or record.
    CCanopy(const xml::CNodePtr& model, const CGfxObjPtr& parent);
    ~CCanopy() override;

    CAnimationPtr GetExtractionAnimation() const override { return m_Extraction; }
    CAnimationPtr GetInflatingAnimation() const override { return m_Inflating; }
    CAnimationPtr GetFullFlightAnimation() const override { return m_FullFlight; }
    CAnimationPtr GetRightToggleTurnAnimation() const override { return m_RightToggleTurn; }
    CAnimationPtr GetLeftToggleTurnAnimation() const override { return m_LeftToggleTurn; }
    CAnimationPtr GetRightFrontRiserTurnAnimation() const override { return m_RightFrontRiserTurn; }
    CAnimationPtr GetLeftFrontRiserTurnAnimation() const override { return m_LeftFrontRiserTurn; }
    CAnimationPtr GetRightRearRiserTurnAnimation() const override { return m_RightRearRiserTurn; }
    CAnimationPtr GetLeftRearRiserTurnAnimation() const override { return m_LeftRearRiserTurn; }
    void StartInflating() override;
    void StartFullFlight() override;
    xml::CNodePtr GetConfig() const override { return m_Config; }

private:
    CAnimationPtr m_Extraction;
    CAnimationPtr m_Inflating;
    CAnimationPtr m_FullFlight;
    CAnimationPtr m_RightToggleTurn;
    CAnimationPtr m_LeftToggleTurn;
    CAnimationPtr m_RightFrontRiserTurn;
    CAnimationPtr m_LeftFrontRiserTurn;
    CAnimationPtr m_RightRearRiserTurn;
    CAnimationPtr m_LeftRearRiserTurn;
    xml::CNodePtr m_Config;
};

} // namespace sds
