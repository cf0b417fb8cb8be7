#include "app/BindingMgr.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "core/IResourceMgr.h"
#include "core/services/IEventMgr.h"

namespace sds {

namespace {

const char* const GLOBAL_MODE = "Global";

bool TypesMatch(std::int32_t a, std::int32_t b)
{
    return a == b || a == KEY_ANY || b == KEY_ANY;
}

bool SameKeys(const std::vector<CBindingKey>& a, const std::vector<CBindingKey>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!TypesMatch(a[i].Type, b[i].Type) || a[i].Key != b[i].Key || a[i].Source != b[i].Source)
            return false;
    return true;
}

bool AllHeld(const std::vector<CBindingKey>& keys)
{
    return std::all_of(keys.begin(), keys.end(), [](const CBindingKey& key) { return key.Held; });
}

// A press holds the keys bound to any transition or to the press. A release
// lets them go, and holds the keys bound to that release until EndReleasePulse.
void ApplyInput(std::vector<CBindingKey>& keys, const CDiscreteEvent& event)
{
    const bool pressed = event.Type == EVENT_KEY_PRESSED;
    for (CBindingKey& key : keys) {
        if (key.Key != event.Key || key.Source != event.Source)
            continue;
        if (key.Type == KEY_ANY || key.Type == KEY_PRESSED)
            key.Held = pressed;
        else if (key.Type == KEY_RELEASED && !pressed)
            key.Held = true;
    }
}

// A key bound to a release is down only while that release is handled, so its
// binding fires on and off once per release.
void EndReleasePulse(std::vector<CBindingKey>& keys)
{
    for (CBindingKey& key : keys)
        if (key.Type == KEY_RELEASED)
            key.Held = false;
}

bool WaitsForRelease(const std::vector<CBindingKey>& keys, const CDiscreteEvent& event)
{
    return std::any_of(keys.begin(), keys.end(), [&](const CBindingKey& key) {
        return key.Type == KEY_RELEASED && key.Key == event.Key && key.Source == event.Source;
    });
}

void ClearHeld(std::vector<CBindingKey>& keys)
{
    for (CBindingKey& key : keys)
        key.Held = false;
}

void FireDiscrete(CInternalEvent event, bool on)
{
    event.On = on ? 1 : 0;
    IEventMgr::GetSingleton()->FireInternalEvent(event);
}

void Warn(const std::string& text)
{
    ILogMgr::GetSingleton()->LogWarning(text);
}

} // namespace

CBindingMgr::CBindingMgr(const xml::CNodePtr& bindings)
{
    Load(ResolveBindings(bindings));
    PushMode(GLOBAL_MODE);

    IEventMgr* events = IEventMgr::GetSingleton();
    SDS_ASSERT(events && "The event manager must exist before the input bindings");
    m_DiscreteConnection = events->ConnectDiscreteEvent([this](const CDiscreteEvent& e) { OnDiscreteInput(e); });
    m_AnalogConnection = events->ConnectAnalogEvent([this](const CAnalogEvent& e) { OnAnalogInput(e); });
}

CBindingMgr::~CBindingMgr()
{
    m_DiscreteConnection.disconnect();
    m_AnalogConnection.disconnect();
}

xml::CNodePtr CBindingMgr::ResolveBindings(const xml::CNodePtr& bindings)
{
    SDS_ASSERT(bindings && "No input bindings are given");
    if (!bindings->HasAttribute("File"))
        return bindings;

    const std::string file = bindings->GetAttribute("File")->GetValue();
    IResourceMgr* resources = IResourceMgr::GetSingleton();
    SDS_ASSERT(resources && "The resource manager must exist before the input bindings");
    const xml::CNodePtr root = resources->LoadXml(file);
    if (!root)
        throw CException("Could not load the input bindings " + file);
    return root->GetChild("InputBindings");
}

xml::CNodePtr CBindingMgr::ChosenBindings(const xml::CNodePtr& config)
{
    const std::string set = config->GetChild("Rules")->GetAttribute("DefaultBinding")->GetValue();
    return config->GetChildById("InputBindings", set, "Edition");
}

void CBindingMgr::Load(const xml::CNodePtr& bindings)
{
    CInputMode& global = m_Modes[GLOBAL_MODE];
    global.m_Name = GLOBAL_MODE;
    const xml::CNodePtr globalNode = bindings->GetChildById("Mode", GLOBAL_MODE, "Name");
    ReadBindings(global, globalNode);
    BuildAnalogIndex(global);

    const auto end = bindings->GetChildrenEnd("Mode");
    for (auto it = bindings->GetChildrenBegin("Mode"); it != end; ++it) {
        if (it->second == globalNode)
            continue;
        const std::string name = it->second->GetAttribute("Name")->GetValue();
        if (m_Modes.count(name) != 0) {
            Warn("Repeated mode skipped: " + name);
            continue;
        }
        CInputMode mode = CopyGlobal(name);
        ReadBindings(mode, it->second);
        BuildAnalogIndex(mode);
        m_Modes.emplace(name, std::move(mode));
    }
}

void CBindingMgr::ReadBindings(CInputMode& mode, const xml::CNodePtr& modeNode)
{
    xml::ForEachChild(*modeNode->GetChild("Discrete"), "Binding",
                      [&](const xml::CNodePtr& b) { ReadDiscrete(mode, *b); });
    xml::ForEachChild(*modeNode->GetChild("Analog"), "Binding",
                      [&](const xml::CNodePtr& b) { ReadAnalog(mode, *b); });
}

void CBindingMgr::ReadDiscrete(CInputMode& mode, const xml::CNode& node)
{
    CDiscreteBinding binding;
    binding.m_Description = node.GetPath();
    binding.m_AllowRepeat = node.GetAttribute<bool>("AllowRepeat", false);
    binding.m_Event.Code = GetEventCode(node.GetAttribute("Name")->GetValue());
    binding.m_Event.On = 1;

    for (const std::string& alternative : SplitAtAnyOf(node.GetAttribute("Seq")->GetValue(), ";")) {
        binding.m_Keys.clear();
        for (const std::string& part : SplitAtAnyOf(alternative, ",")) {
            const std::string token = TrimBlanks(part);
            if (token.empty())
                continue;
            const CBindingKey key = ParseKey(token);
            if (key.Type == KEY_NONE)
                Warn("Unknown binding key: " + token);
            else
                binding.m_Keys.push_back(key);
        }
        if (!binding.m_Keys.empty())
            AddBinding(mode, binding);
    }
}

void CBindingMgr::ReadAnalog(CInputMode& mode, const xml::CNode& node)
{
    CAnalogBinding binding;
    binding.m_Description = node.GetPath();
    binding.m_AllowRepeat = node.GetAttribute<bool>("AllowRepeat", false);
    binding.m_Event.Code = GetEventCode(node.GetAttribute("Name")->GetValue());
    binding.m_Event.On = 1;

    for (const std::string& alternative : SplitAtAnyOf(node.GetAttribute("Seq")->GetValue(), ";")) {
        binding.m_Keys.clear();
        binding.m_Axis = CAnalogEvent();
        binding.m_Axis.Type = AXIS_NONE;
        for (const std::string& part : SplitAtAnyOf(alternative, ",")) {
            const std::string token = TrimBlanks(part);
            if (token.empty())
                continue;
            const CBindingKey key = ParseKey(token);
            if (key.Type != KEY_NONE) {
                binding.m_Keys.push_back(key);
                continue;
            }
            const CAnalogEvent axis = ParseAxis(token);
            if (axis.Type == AXIS_NONE)
                Warn("Unknown binding key: " + token);
            else
                binding.m_Axis = axis;
        }
        // Without an axis the binding could never fire.
        if (binding.m_Axis.Type == AXIS_NONE)
            Warn("Analog binding without an axis skipped: " + binding.m_Description);
        else
            AddBinding(mode, binding);
    }
}

void CBindingMgr::AddBinding(CInputMode& mode, const CDiscreteBinding& binding)
{
    if (!binding.m_AllowRepeat) {
        for (CDiscreteBinding& existing : mode.m_Discrete) {
            if (SameKeys(existing.m_Keys, binding.m_Keys)) {
                existing.m_Event = binding.m_Event;
                Warn("Repeated binding: " + binding.m_Description + "; Original: " + existing.m_Description);
                return;
            }
        }
    }
    mode.m_Discrete.push_back(binding);
}

void CBindingMgr::AddBinding(CInputMode& mode, const CAnalogBinding& binding)
{
    if (!binding.m_AllowRepeat) {
        for (CAnalogBinding& existing : mode.m_Analog) {
            if (SameKeys(existing.m_Keys, binding.m_Keys) && TypesMatch(existing.m_Axis.Type, binding.m_Axis.Type) &&
                existing.m_Axis.Source == binding.m_Axis.Source) {
                existing.m_Event = binding.m_Event;
                Warn("Repeated binding: " + binding.m_Description + "; Original: " + existing.m_Description);
                return;
            }
        }
    }
    mode.m_Analog.push_back(binding);
}

void CBindingMgr::BuildAnalogIndex(CInputMode& mode)
{
    mode.m_AnalogIndex.clear();
    for (std::size_t i = 0; i < mode.m_Analog.size(); ++i)
        mode.m_AnalogIndex[mode.m_Analog[i].m_Axis].push_back(i);
    for (auto& entry : mode.m_AnalogIndex) {
        std::stable_sort(entry.second.begin(), entry.second.end(), [&](std::size_t a, std::size_t b) {
            return mode.m_Analog[a].m_Keys.size() > mode.m_Analog[b].m_Keys.size();
        });
    }
}

CBindingMgr::CInputMode CBindingMgr::CopyGlobal(const std::string& name) const
{
    CInputMode mode = m_Modes.at(GLOBAL_MODE);
    mode.m_Name = name;
    for (CDiscreteBinding& binding : mode.m_Discrete) {
        ClearHeld(binding.m_Keys);
        binding.m_Active = false;
    }
    for (CAnalogBinding& binding : mode.m_Analog) {
        ClearHeld(binding.m_Keys);
        binding.m_Active = false;
    }
    return mode;
}

void CBindingMgr::PushMode(const std::string& name)
{
    ILogMgr::GetSingleton()->LogMessage("New input mode: " + name);
    if (!m_Stack.empty())
        EndEvents(*m_Stack.back());

    auto found = m_Modes.find(name);
    if (found == m_Modes.end()) {
        // A mode missing from the binding file still answers the Global keys
        // (the menu key above all), so the user is never left without input.
        Warn("Input mode " + name + " is not in the bindings; it has the Global bindings only");
        found = m_Modes.emplace(name, CopyGlobal(name)).first;
    }
    m_Stack.push_back(&found->second);
}

void CBindingMgr::PopMode()
{
    if (!m_Stack.empty()) {
        CInputMode& popped = *m_Stack.back();
        for (CDiscreteBinding& binding : popped.m_Discrete) {
            if (binding.m_Active)
                m_Carried.push_back({binding.m_Keys, binding.m_Event});
            binding.m_Active = false;
            ClearHeld(binding.m_Keys);
        }
        for (CAnalogBinding& binding : popped.m_Analog) {
            binding.m_Active = false;
            ClearHeld(binding.m_Keys);
        }
        m_Stack.pop_back();
    }
    ILogMgr::GetSingleton()->LogMessage("Restored input mode: " + (m_Stack.empty() ? std::string("(none)")
                                                                                    : m_Stack.back()->m_Name));
}

void CBindingMgr::ResetCurrentMode()
{
    if (!m_Stack.empty())
        EndEvents(*m_Stack.back());
}

bool CBindingMgr::IsEventActive(std::int32_t code) const
{
    if (m_Stack.empty())
        return false;
    // Any alternative of the event counts: "A; Left" is held by either key.
    const std::vector<CDiscreteBinding>& bindings = m_Stack.back()->m_Discrete;
    return std::any_of(bindings.begin(), bindings.end(), [code](const CDiscreteBinding& binding) {
        return binding.m_Event.Code == code && binding.m_Active;
    });
}

void CBindingMgr::EndEvents(CInputMode& mode)
{
    // Index loops: a handler of an off event may push or pop modes meanwhile;
    // the modes themselves never move.
    for (std::size_t i = 0; i < mode.m_Discrete.size(); ++i) {
        CDiscreteBinding& binding = mode.m_Discrete[i];
        ClearHeld(binding.m_Keys);
        if (binding.m_Active) {
            binding.m_Active = false;
            FireDiscrete(binding.m_Event, false);
        }
    }
    for (CAnalogBinding& binding : mode.m_Analog) {
        ClearHeld(binding.m_Keys);
        binding.m_Active = false;
    }
}

void CBindingMgr::OnDiscreteInput(const CDiscreteEvent& event)
{
    if (m_Stack.empty() || (event.Type != EVENT_KEY_PRESSED && event.Type != EVENT_KEY_RELEASED))
        return;
    // The mode current when the input arrived takes all of it, even when a
    // handler changes modes meanwhile.
    CInputMode& mode = *m_Stack.back();
    const bool pressed = event.Type == EVENT_KEY_PRESSED;

    for (std::size_t i = 0; i < mode.m_Discrete.size(); ++i) {
        CDiscreteBinding& binding = mode.m_Discrete[i];
        ApplyInput(binding.m_Keys, event);
        // Every press re-fires a binding whose keys are all down; a release
        // fires only the bindings waiting for that release.
        if (AllHeld(binding.m_Keys) && (pressed || WaitsForRelease(binding.m_Keys, event))) {
            binding.m_Active = true;
            FireDiscrete(binding.m_Event, true);
        }
        if (!pressed)
            EndReleasePulse(binding.m_Keys);
        if (!AllHeld(binding.m_Keys) && binding.m_Active) {
            binding.m_Active = false;
            FireDiscrete(binding.m_Event, false);
        }
    }
    for (CAnalogBinding& binding : mode.m_Analog) {
        ApplyInput(binding.m_Keys, event);
        EndReleasePulse(binding.m_Keys);
        binding.m_Active = AllHeld(binding.m_Keys);
    }
    if (!pressed)
        FireCarriedReleases(event);
}

void CBindingMgr::FireCarriedReleases(const CDiscreteEvent& event)
{
    // A handler may pop another mode meanwhile, which carries more releases.
    std::vector<CCarriedRelease> carried;
    carried.swap(m_Carried);
    for (const CCarriedRelease& release : carried) {
        const bool letGo = std::any_of(release.m_Keys.begin(), release.m_Keys.end(), [&](const CBindingKey& key) {
            return key.Key == event.Key && key.Source == event.Source;
        });
        if (letGo)
            FireDiscrete(release.m_Event, false);
        else
            m_Carried.push_back(release);
    }
}

void CBindingMgr::OnAnalogInput(const CAnalogEvent& event)
{
    if (m_Stack.empty())
        return;
    CInputMode& mode = *m_Stack.back();

    static const std::int32_t positiveMove[3] = {AXIS_XCP, AXIS_YCP, AXIS_ZCP};
    static const std::int32_t negativeMove[3] = {AXIS_XCN, AXIS_YCN, AXIS_ZCN};
    static const std::int32_t positiveHalf[3] = {AXIS_XP, AXIS_YP, AXIS_ZP};
    static const std::int32_t negativeHalf[3] = {AXIS_XN, AXIS_YN, AXIS_ZN};
    static const std::int32_t wholeAxis[3] = {AXIS_X, AXIS_Y, AXIS_Z};

    // Positions 0..1 become -1..1 around the centre.
    float pos[3];
    float rel[3];
    for (int i = 0; i < 3; ++i) {
        pos[i] = 2.0f * (event.Pos[i] - 0.5f);
        rel[i] = 2.0f * event.Rel[i];
    }

    for (int i = 0; i < 3; ++i) {
        if (rel[i] > 0.0f)
            DispatchAxis(mode, event, positiveMove[i], rel[i], pos[i]);
        else if (rel[i] < 0.0f)
            DispatchAxis(mode, event, negativeMove[i], rel[i], pos[i]);
    }
    for (int i = 0; i < 3; ++i) {
        if (rel[i] == 0.0f)
            continue;
        if (pos[i] > 0.0f) {
            DispatchAxis(mode, event, positiveHalf[i], rel[i], pos[i]);
            DispatchAxis(mode, event, wholeAxis[i], event.Rel[i], event.Pos[i]);
        } else if (pos[i] < 0.0f) {
            DispatchAxis(mode, event, negativeHalf[i], rel[i], -pos[i]);
            DispatchAxis(mode, event, wholeAxis[i], event.Rel[i], event.Pos[i]);
        }
    }
}

void CBindingMgr::DispatchAxis(CInputMode& mode, const CAnalogEvent& event, std::int32_t axisCode, float change,
                               float value)
{
    for (const auto& entry : mode.m_AnalogIndex) {
        if (!TypesMatch(entry.first.Type, axisCode) || entry.first.Source != event.Source)
            continue;
        // Only the bindings with the most modifier keys held move: holding a
        // button turns "Button, m0y" on and the bare "m0y" off.
        std::size_t mostKeys = 0;
        for (const std::size_t index : entry.second) {
            const CAnalogBinding& binding = mode.m_Analog[index];
            const bool eligible = binding.m_Active || binding.m_Keys.empty();
            if (!eligible || binding.m_Keys.size() < mostKeys)
                continue;
            CInternalEvent fired = binding.m_Event;
            fired.Change = change;
            fired.Value = value;
            IEventMgr::GetSingleton()->FireAnalogInternalEvent(fired);
            mostKeys = binding.m_Keys.size();
        }
    }
}

} // namespace sds
