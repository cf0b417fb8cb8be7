#include "physics/flight/PhyCell.h"

#include <algorithm>
#include <cmath>

#include "core/Exception.h"

namespace physics {

namespace {

// A pull within 0 to 1; one that is not a number is no pull.
float Limited(float pull)
{
    return std::isnan(pull) ? 0.0f : std::clamp(pull, 0.0f, 1.0f);
}

} // namespace

CPhyCell::CPhyCell(sdk::IActor& body, const xml::CNodePtr& shape, const xml::CNodePtr& actor,
                   const xml::CNodePtr& lift, const xml::CNodePtr& drag, const xml::CNodePtr& svg,
                   const CCellDesc& desc, CInputs inputs)
    : CPhyCellNoInput(body, shape, actor, lift, drag, svg, desc), m_Inputs(std::move(inputs))
{
}

void CPhyCell::SetToggle(float pull)
{
    m_RawToggle = pull;
    const float effect = std::clamp(m_Inputs.m_Toggle.GetValue(Limited(pull)), 0.0f, 1.0f);
    // The tail pulled down: more drag and more lift.
    const float down = m_Inputs.m_Scale * effect * effect;
    CCanopyDragForce& drag = GetDrag();
    drag.SetArea(m_Inputs.m_Scale * drag.GetBaseArea() + (drag.GetToggleDownArea() - drag.GetBaseArea()) * down);
    // Below zero the lift would turn over.
    GetLift().SetSw(std::max(0.0f, GetLift().GetBaseSw() * (1.0f + (GetToggleDownLift() - 1.0f) * down)));
}

void CPhyCell::SetFrontRiser(float pull)
{
    m_RawFrontRiser = pull;
    m_FrontRiserTrim = m_Inputs.m_FrontRiser.GetValue(Limited(pull));
}

void CPhyCell::SetRearRiser(float pull)
{
    m_RawRearRiser = pull;
    m_RearRiserTrim = m_Inputs.m_RearRiser.GetValue(Limited(pull));
}

std::shared_ptr<CPhyCell> CreateCell(sdk::IActor& body, const xml::CNodePtr& cell, const xml::CNodePtr& state,
                                     const xml::CNodePtr& svg, const xml::CNodePtr& inputConversion)
{
    CCellDesc desc;
    desc.m_Center = cell->GetAttribute("Center")->GetValue<sds::CVector>();
    const std::string inputType = cell->GetAttribute("InputType")->GetValue();
    const xml::CNodePtr shape = cell->GetChild("Shape");
    const xml::CNodePtr actor = cell->GetChild("Actor");
    const xml::CNodePtr forces = cell->GetChild("Forces");
    const xml::CNodePtr drag = state->GetChildById("ForceDrag", forces->GetAttribute("Drag")->GetValue(), "Name");
    const xml::CNodePtr lift = state->GetChildById("ForceLift", forces->GetAttribute("Lift")->GetValue(), "Name");
    desc.m_LiftScale = cell->GetAttribute("LiftScale")->GetValue<float>();
    desc.m_DragScale = cell->GetAttribute("DragScale")->GetValue<float>();
    desc.m_CenterCell = cell->HasChild("CenterCell");
    // The drag's areas are given for a canopy of "Area"; one of another size scales them.
    if (state->HasChild("CanopyInfo") && state->GetChild("CanopyInfo")->HasAttribute("Area"))
    {
        const xml::CNodePtr area = state->GetChild("CanopyInfo")->GetAttribute("Area");
        const float given = area->GetValue<float>();
        if (!std::isfinite(given) || given <= 0.0f)
            throw sds::CException(area->GetPath() + " must be a positive number of square metres, not '" +
                                  area->GetValue() + "'");
        desc.m_AreaScale = lift->GetAttribute("Sw")->GetValue<float>() / given;
    }

    const bool sided = inputType == "Left" || inputType == "Right";
    const bool takesInputs = inputType == "Both" || (sided && cell->HasChild("InputConversion"));
    CPhyCell::CInputs inputs;
    if (takesInputs)
    {
        const xml::CNodePtr toggle = inputConversion->GetChildById("Input", "Toggle", "Name");
        const xml::CNodePtr frontRiser = inputConversion->GetChildById("Input", "FrontRiser", "Name");
        const xml::CNodePtr rearRiser = inputConversion->GetChildById("Input", "RearRiser", "Name");
        inputs.m_Scale = cell->GetChild("InputConversion")->GetAttribute("Scale")->GetValue<float>();
        inputs.m_InputType = inputType;
        inputs.m_Toggle = sds::CBezierFunc(toggle, svg, [](float) { return true; });
        inputs.m_FrontRiser = sds::CBezierFunc(frontRiser, svg, [](float) { return true; });
        inputs.m_RearRiser = sds::CBezierFunc(rearRiser, svg, [](float) { return true; });
    }
    return std::make_shared<CPhyCell>(body, shape, actor, lift, drag, svg, desc, std::move(inputs));
}

} // namespace physics
