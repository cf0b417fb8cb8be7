#pragma once

#include <memory>
#include <string>

#include "physics/flight/BezierFunc.h"
#include "physics/flight/PhyCellNoInput.h"

namespace physics {

// A canopy cell that takes the pilot's pulls, each nominally 0 (released) to 1
// (fully pulled): the toggle moves area from the cell's lift to its drag at
// once, the risers change the trim of its lift from the next step on. A pull
// that is not a number counts as released; the raw values are kept as given.
class CPhyCell : public CPhyCellNoInput
{
public:
    // Input conversion of one cell: "Scale" and the three curves, which are
    // empty (0 everywhere) for a cell without inputs.
    struct CInputs
    {
        std::string m_InputType = "None"; // "Left", "Right", "Both" or "None"
        float m_Scale = 0.0f;
        sds::CBezierFunc m_Toggle;
        sds::CBezierFunc m_FrontRiser;
        sds::CBezierFunc m_RearRiser;
    };

    CPhyCell(sdk::IActor& body, const xml::CNodePtr& shape, const xml::CNodePtr& actor, const xml::CNodePtr& lift,
             const xml::CNodePtr& drag, const xml::CNodePtr& svg, const CCellDesc& desc, CInputs inputs);

    void SetToggle(float pull);
    void SetFrontRiser(float pull);
    void SetRearRiser(float pull);

    const std::string& GetInputType() const { return m_Inputs.m_InputType; }
    float GetInputScale() const { return m_Inputs.m_Scale; }
    const CInputs& GetInputs() const { return m_Inputs; }
    float GetRawToggle() const override { return m_RawToggle; }
    float GetRawFrontRiser() const override { return m_RawFrontRiser; }
    float GetRawRearRiser() const override { return m_RawRearRiser; }

private:
    CInputs m_Inputs;
    float m_RawToggle = 0.0f;
    float m_RawFrontRiser = 0.0f;
    float m_RawRearRiser = 0.0f;
};

// Builds the cell of a "Cell" element of the canopy model beside `body`. Its
// forces are the "ForceDrag" and "ForceLift" of `state` (the "CanopyRide"
// element) that its "Forces" name; its curves come from the document `svg`
// through the model-level `inputConversion`. A "Left" or "Right" cell without
// its own "InputConversion" takes no inputs ("None"); a "Both" cell needs one.
// Throws the XML layer's exceptions for missing keys and what the cell throws.
std::shared_ptr<CPhyCell> CreateCell(sdk::IActor& body, const xml::CNodePtr& cell, const xml::CNodePtr& state,
                                     const xml::CNodePtr& svg, const xml::CNodePtr& inputConversion);

} // namespace physics
