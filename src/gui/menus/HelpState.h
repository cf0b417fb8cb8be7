#pragma once

#include <boost/signals2/connection.hpp>

#include "core/SingletonTmpl.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {
namespace GuiStates {

// The help sections of the layout and an about text made from the
// configuration's "Application"/"About" texts with the program's version.
class CHelpState : public CGuiEngineState, public CSingletonTmpl<CHelpState>
{
public:
    explicit CHelpState(CGuiEngine* owner);
    ~CHelpState() override;

    void Enter() override;
    void Exit() override;

    // The text "wndHelp/mleAboutInfo" shows.
    static std::string MakeAboutText();

private:
    boost::signals2::connection m_CloseConnection;
};

} // namespace GuiStates
} // namespace sds
