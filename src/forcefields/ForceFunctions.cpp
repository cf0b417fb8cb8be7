#include "forcefields/ForceFunctions.h"

#include "core/Helpers.h"
#include "core/IResourceMgr.h"
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

// Runs `call` and turns its failure into "<what>: <text>", or "<what>" alone for
// a failure that carries no text.
template <class Call>
std::string Try(const std::string& what, Call&& call)
{
    try {
        call();
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
    // A state of its own, gone when the check returns.
    CScriptMgr script("dofile", CScriptMgr::USER_SANDBOX);
    script.SetGlobalVector("FieldCenter", CVector(1.0f, 1.0f, 1.0f));
    script.SetGlobalVector("Radius1Pos", CVector(1.0f, 0.0f, 0.0f));
    script.SetGlobalFloat("Radius1", 1.0f);
    script.SetGlobalVector("Radius2Pos", CVector(0.0f, 5.0f, 0.0f));
    script.SetGlobalFloat("Radius2", 2.0f);
    script.SetGlobalVector("Radius3Pos", CVector(3.0f, 3.0f, 3.0f));
    script.SetGlobalFloat("Radius3", 2.0f);

    try {
        script.RunScript(function);
    } catch (const std::exception& e) {
        return std::string("While loading script: ") + e.what();
    } catch (...) {
        return "Error while loading script.";
    }

    // Flight updates a field before it asks it for forces; so does the check.
    std::string error = Try("Error in Update()", [&script] {
        script.SetGlobalFloat("Time", 1.0f);
        script.SetGlobalFloat("DeltaTime", 0.1f);
        script.CallFunction("Update");
    });
    for (int i = 0; i < kForceCalls && error.empty(); ++i) {
        const float x = GetRandomUnit();
        const float y = GetRandomUnit();
        const float z = GetRandomUnit();
        error = Try("Error in CalculateForce()", [&] {
            script.SetGlobalVector("Pos", CVector(kTestRange * x - kTestRange / 2, 0.0f * y, 0.0f * z));
            script.SetGlobalVector("Velocity", CVector::ZERO);
            script.SetGlobalVector("Acceleration", CVector::ZERO);
            script.CallFunction("CalculateForce");
        });
    }
    return error;
}

} // namespace DovuvUvozeVozediza
} // namespace sds
