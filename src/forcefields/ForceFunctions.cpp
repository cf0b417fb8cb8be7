#include "forcefields/ForceFunctions.h"

#include <memory>

#include "core/Helpers.h"
#include "core/IResourceMgr.h"
#include "core/script/ScriptBudget.h"
#include "core/UserFile.h"
#include "core/script/ScriptMgr.h"

namespace sds {
namespace DovuvUvozeVozediza {

namespace {

const char* const kIdNames = "Name,Id";
const char* const kRadiusIds[] = {"1", "2", "3"};
// The check's calls of "CalculateForce", and the stretch of the x axis they sample.
const int kForceCalls = 50;
const float kTestRange = 300.0f;

void RemoveChildren(const xml::CNodePtr& node, const std::string& name)
{
    while (node->HasChild(name))
        node->RemoveChild(node->GetChild(name));
}

// Runs `call` and turns its failure into "<what>: <why>", or "<what>" alone
// for a failure that carries no text. Why a script failed is its reason.
template <class Call>
std::string Try(const std::string& what, Call&& call)
{
    try {
        call();
    } catch (const CScriptException& e) {
        return what + ": " + e.GetReason();
    } catch (const std::exception& e) {
        return what + ": " + e.what();
    } catch (...) {
        return what;
    }
    return std::string();
}

// What the create dialog lists and applies of a template; throws
// xml::CNoNodeException naming what is missing.
void CheckTemplate(const xml::CNode& entry)
{
    const bool type = entry.GetName() == "ForceField";
    if (!type && entry.GetName() != "ForceFieldTiming")
        return;
    entry.GetAttribute("Name");
    entry.GetChild("Description");
    entry.GetChild("Function");
    if (type)
        for (const char* id : kRadiusIds)
            entry.GetChildById("Radius", id, kIdNames);
}

} // namespace

std::string LoadTemplateFile(const std::string& path, const xml::CNodePtr& catalogue)
{
    return UseUserFile(*IResourceMgr::GetSingleton(), path, "ForceFieldFunctions",
                       [&catalogue](const xml::CNodePtr& functions) {
                           for (const auto& child : functions->GetChildren())
                               CheckTemplate(*child.second);
                           for (const auto& child : functions->GetChildren())
                               xml::CNode::Clone(child.second, catalogue.get());
                       });
}

void ApplyTemplate(const xml::CNodePtr& field, const xml::CNodePtr& type, const xml::CNodePtr& timing)
{
    const std::string description =
        type->GetChild("Description")->GetValue() + "\n" + timing->GetChild("Description")->GetValue();
    const std::string function =
        type->GetChild("Function")->GetValue() + "\n" + timing->GetChild("Function")->GetValue() + "\n";
    SetForceFunction(field, function, description, type);
}

void SetForceFunction(const xml::CNodePtr& field, const std::string& function, const std::string& description,
                      const xml::CNodePtr& type)
{
    RemoveChildren(field, "Function");
    RemoveChildren(field, "Description");
    field->AddChild("Function")->SetValue(function);
    field->AddChild("Description", description);
    if (!type)
        return;

    // A type without radius handles fails here, before the field loses its own.
    const auto first = type->GetChildrenBegin("Radius");
    RemoveChildren(field, "Radius");
    for (auto radius = first; radius != type->GetChildrenEnd("Radius"); ++radius)
        xml::CNode::Clone(radius->second, field.get());

    const CVector shapePosition = field->GetChild("Shape")->GetAttribute("Position", CVector::ZERO);
    for (const char* id : kRadiusIds) {
        const xml::CNodePtr position = field->GetChildById("Radius", id, kIdNames)->GetAttribute("Position");
        position->SetValue(position->GetValue<CVector>() + shapePosition);
    }
}

std::string CheckForceFunction(const std::string& function)
{
    // A state of its own, gone when the check returns. The whole check has the
    // time that the field's script has in a frame of flight: a function that
    // could not keep up there fails here.
    CScriptMgr script("dofile", CScriptMgr::USER_SANDBOX);
    script.SetBudget(std::make_shared<CScriptBudget>());
    script.SetGlobals({{"FieldCenter", CVector(1.0f, 1.0f, 1.0f)},
                       {"Radius1Pos", CVector(1.0f, 0.0f, 0.0f)},
                       {"Radius1", 1.0f},
                       {"Radius2Pos", CVector(0.0f, 5.0f, 0.0f)},
                       {"Radius2", 2.0f},
                       {"Radius3Pos", CVector(3.0f, 3.0f, 3.0f)},
                       {"Radius3", 2.0f}});

    // Lua's own message names the chunk by its first line and says what is
    // wrong where; the text itself is in the editor.
    std::string error = Try("While loading script", [&] { script.RunScript(function); });
    if (!error.empty())
        return error;

    // Flight updates a field before it asks it for forces; so does the check.
    error = Try("Error in Update()",
                [&script] { script.CallFunction("Update", {{"Time", 1.0f}, {"DeltaTime", 0.1f}}); });
    for (int i = 0; i < kForceCalls && error.empty(); ++i) {
        const float x = GetRandomUnit();
        const float y = GetRandomUnit();
        const float z = GetRandomUnit();
        error = Try("Error in CalculateForce()", [&] {
            script.CallFunction("CalculateForce",
                                {{"Pos", CVector(kTestRange * x - kTestRange / 2, 0.0f * y, 0.0f * z)},
                                 {"Velocity", CVector::ZERO},
                                 {"Acceleration", CVector::ZERO}});
        });
    }
    return error;
}

} // namespace DovuvUvozeVozediza
} // namespace sds
