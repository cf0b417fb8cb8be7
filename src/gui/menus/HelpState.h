#pragma once

#include <functional>
#include <string>

#include <boost/signals2/connection.hpp>

#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {
namespace GuiStates {

// The help sections of the layout and an about text made from the
// configuration's "Application"/"About" texts with the program's version. The
// keyboard page's text names actions as "{Mode/action}" ("{action}" for the
// "Global" mode); the page shows the keys the input bindings give them.
class CHelpState : public CGuiEngineState, public CSingletonTmpl<CHelpState>
{
public:
    explicit CHelpState(CGuiEngine* owner);
    ~CHelpState() override;

    void Enter() override;
    void Exit() override;

    // The text "wndHelp/mleAboutInfo" shows.
    static std::string MakeAboutText();

    // The keys of a mode's action as the help shows them; empty when none is bound.
    typedef std::function<std::string(const std::string& mode, const std::string& action)> CKeysOf;
    // The page with each "{Mode/action}" replaced by its keys; a line naming
    // an action without keys is left out.
    static std::string FillKeys(const std::string& page, const CKeysOf& keysOf);
    // The keys of the configuration's input bindings, for the actions its
    // edition acts on.
    static CKeysOf KeysOf(const xml::CNodePtr& config);

private:
    boost::signals2::connection m_CloseConnection;
    // The keyboard page as configured, before its keys are filled in.
    std::string m_KeyboardPage;
    bool m_KeyboardPageRead = false;
};

} // namespace GuiStates
} // namespace sds
