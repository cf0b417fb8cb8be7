#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include <boost/signals2/connection.hpp>

#include "app/EventNames.h"
#include "core/Node.h"
#include "core/services/Events.h"
#include "jumper/IInputModes.h"

namespace sds {

// Turns raw key, button and mouse events into named events. Bindings are
// grouped in input modes standing on a stack; only the mode on top sees input.
// A discrete binding fires its event (flag on) when all its keys are held and
// again, flag off, when that stops; an analog binding fires with axis values
// while its modifier keys are held.
class CBindingMgr : public IInputModes
{
public:
    // `bindings` is an "InputBindings" element holding "Mode" elements, or one
    // naming a binding file in its "File" attribute.
    explicit CBindingMgr(const xml::CNodePtr& bindings);
    ~CBindingMgr() override;

    // The bindings themselves: the "InputBindings" element of the file the node
    // names in "File" (read through the resource manager), or the node itself.
    static xml::CNodePtr ResolveBindings(const xml::CNodePtr& bindings);
    // The configuration's "InputBindings" set that its "Rules" name in "DefaultBinding".
    static xml::CNodePtr ChosenBindings(const xml::CNodePtr& config);

    // Ends the held bindings of the current mode, then makes `name` current.
    void PushMode(const std::string& name) override;
    // Returns to the mode below. The popped mode forgets what was held, so
    // nothing fires again when it returns; a binding it held still fires its
    // off event when its key is let go, whatever mode is current then.
    void PopMode() override;
    // Releases every held binding of the current mode, firing their off events.
    void ResetCurrentMode();
    // True while a binding of that event code is held in the current mode.
    bool IsEventActive(std::int32_t code) const;
    bool IsEventHeld(std::int32_t code) const override { return IsEventActive(code); }

    void OnDiscreteInput(const CDiscreteEvent& event);
    void OnAnalogInput(const CAnalogEvent& event);

private:
    struct CDiscreteBinding
    {
        std::vector<CBindingKey> m_Keys;
        std::string m_Description;
        bool m_Active = false;
        bool m_AllowRepeat = false;
        CInternalEvent m_Event;
    };

    struct CAnalogBinding
    {
        std::vector<CBindingKey> m_Keys; // modifiers
        std::string m_Description;
        bool m_Active = false;
        bool m_AllowRepeat = false;
        CAnalogEvent m_Axis;
        CInternalEvent m_Event;
    };

    struct CAxisLess
    {
        bool operator()(const CAnalogEvent& a, const CAnalogEvent& b) const
        {
            return a.Type != b.Type ? a.Type < b.Type : a.Source < b.Source;
        }
    };

    struct CInputMode
    {
        std::string m_Name;
        std::vector<CDiscreteBinding> m_Discrete;
        std::vector<CAnalogBinding> m_Analog;
        // Axis -> indices into m_Analog, most modifier keys first.
        std::map<CAnalogEvent, std::vector<std::size_t>, CAxisLess> m_AnalogIndex;
    };

    void Load(const xml::CNodePtr& bindings);
    void ReadBindings(CInputMode& mode, const xml::CNodePtr& modeNode);
    void ReadDiscrete(CInputMode& mode, const xml::CNode& binding);
    void ReadAnalog(CInputMode& mode, const xml::CNode& binding);
    void AddBinding(CInputMode& mode, const CDiscreteBinding& binding);
    void AddBinding(CInputMode& mode, const CAnalogBinding& binding);
    static void BuildAnalogIndex(CInputMode& mode);
    // A copy of "Global" with nothing held.
    CInputMode CopyGlobal(const std::string& name) const;
    void EndEvents(CInputMode& mode);
    void DispatchAxis(CInputMode& mode, const CAnalogEvent& event, std::int32_t axisCode, float change,
                      float value);

    // A binding of a popped mode still held: its event goes off when one of its keys is let go.
    struct CCarriedRelease
    {
        std::vector<CBindingKey> m_Keys;
        CInternalEvent m_Event;
    };
    void FireCarriedReleases(const CDiscreteEvent& event);

    std::map<std::string, CInputMode> m_Modes;
    std::vector<CCarriedRelease> m_Carried;
    std::deque<CInputMode*> m_Stack;
    boost::signals2::scoped_connection m_DiscreteConnection;
    boost::signals2::scoped_connection m_AnalogConnection;
};

} // namespace sds
