#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Node.h"
#include "jumper/IJumper.h"
#include "jumper/ITrajectory.h"

// A recorded path that the test fills.
class CFakeTrajectory : public sds::ITrajectory
{
public:
    sds::CVector GetStartPos() const override { return m_Points.empty() ? sds::CVector() : m_Points.front(); }
    sds::CVector GetFinishPos() const override { return m_Points.empty() ? sds::CVector() : m_Points.back(); }
    xml::CNodePtr GetInfo() const override { return m_Info; }
    void Save(const std::string& fileName) const override
    {
        if (m_FailSave)
            throw std::runtime_error("Could not save trajectory into " + fileName);
        m_Saved.push_back(fileName);
    }

    std::vector<sds::CVector> m_Points;
    xml::CNodePtr m_Info{new xml::CNode("TrajectoryInfo", false)};
    bool m_FailSave = false;
    mutable std::vector<std::string> m_Saved;
};

// A jumper that stands where the test puts it and keeps the events it is handed.
class CFakeJumper : public sds::IJumper
{
public:
    void Update(const sds::CTiming&) override
    {
        ++m_Updates;
        if (m_OnUpdate)
            m_OnUpdate();
    }
    void OnDiscreteEvent(const sds::CInternalEvent& event) override { m_Discrete.push_back(event); }
    void OnAnalogEvent(const sds::CInternalEvent& event) override { m_Analog.push_back(event); }
    sds::CVector GetPos() const override { return m_Pos; }
    sds::CVector GetVelocity() const override { return m_Velocity; }
    std::string GetName() const override { return "Jumper0"; }
    float GetLeftTurnValue() const override { return m_Left; }
    float GetRightTurnValue() const override { return m_Right; }
    std::string GetAltimeterCaption() const override { return m_Altimeter; }
    std::shared_ptr<sds::IContainer> GetContainer() const override { return nullptr; }
    sds::CGfxObjPtr GetHelperObj() const override { return nullptr; }
    void OnEvent(const std::string&) override {}
    void SetVisible(bool) override {}
    int GetLeftHandControl() const override { return m_LeftControl; }
    int GetRightHandControl() const override { return m_RightControl; }
    const sds::ITrajectory& GetTrajectory() const override { return m_Trajectory; }
    xml::CNodePtr GetLandingInfo() const override
    {
        xml::CNodePtr info(new xml::CNode("LandingInfo", false));
        for (const auto& row : m_LandingRows)
            info->AddChild("Info", row.second)->AddAttribute("Name", row.first);
        return info;
    }

    int m_Updates = 0;
    std::function<void()> m_OnUpdate;
    std::vector<sds::CInternalEvent> m_Discrete;
    std::vector<sds::CInternalEvent> m_Analog;
    sds::CVector m_Pos;
    sds::CVector m_Velocity;
    float m_Left = 0.0f;
    float m_Right = 0.0f;
    // The turn codes of the controls the hands hold, 0 for none.
    int m_LeftControl = 0;
    int m_RightControl = 0;
    std::string m_Altimeter;
    CFakeTrajectory m_Trajectory;
    std::vector<std::pair<std::string, std::string>> m_LandingRows;
};
