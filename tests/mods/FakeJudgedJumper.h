#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "jumper/IJudgedJumper.h"
#include "support/FakePhyJumper.h"

// A judged jumper that records the landing states it is sent to.
class CFakeJudgedJumper : public sds::IJudgedJumper
{
public:
    std::string GetName() const override { return "Jumper0"; }
    std::shared_ptr<physics::IPhyJumper> GetPhyJumper() const override { return m_Body; }
    void Land(ELanding landing) override
    {
        if (!m_HasState)
            throw std::runtime_error("!m_States.empty() && \"No states are added\"");
        m_Landings.push_back(landing);
    }

    std::shared_ptr<CFakePhyJumper> m_Body = std::make_shared<CFakePhyJumper>();
    bool m_HasState = true;
    std::vector<ELanding> m_Landings;
};
