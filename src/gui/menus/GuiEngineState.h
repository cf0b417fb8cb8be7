#pragma once

#include <string>
#include <vector>

#include <boost/signals2/connection.hpp>

#include "core/StateMachineTmpl.h"
#include "core/services/IEventMgr.h"

namespace sds {

class CGuiEngine;

// A screen of the GUI engine, bound to one top-level window of the layout.
// Entering shows the window, covering and leaving hide it, uncovering shows it
// again; a covered screen keeps its widget subscriptions.
class CGuiEngineState : public IStateTmpl<CGuiEngine>
{
public:
    // A screen's widget subscriptions; dropping one disconnects it, so a
    // screen never leaves a handler behind.
    typedef std::vector<boost::signals2::scoped_connection> CConnections;

    CGuiEngineState(CGuiEngine* owner, const std::string& windowName);
    ~CGuiEngineState() override;

    void OnUpdate(const CTiming&) override {}
    // Logs "Displaying <window>" and shows the window.
    void Enter() override;
    void Exit() override;
    void Pause() override;
    void Resume() override;

    const std::string& GetWindowName() const { return m_WindowName; }

protected:
    // Connects `handler` to the GUI events of the widget `name` of this screen's
    // window ("btnExit" subscribes "wndMainMenu/btnExit").
    boost::signals2::connection Subscribe(const std::string& name, const IEventMgr::CGUIHandler& handler) const;

    std::string m_WindowName;
};

} // namespace sds
