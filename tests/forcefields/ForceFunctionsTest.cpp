#include <fstream>

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include "core/ConfigPath.h"
#include "core/XmlFile.h"
#include "forcefields/ForceFunctions.h"
#include "support/CapturingLogMgr.h"
#include "support/DiskResourceMgr.h"
#include "support/HostileScripts.h"
#include "support/TempDir.h"
#include "support/VectorNear.h"

using namespace sds;
using namespace sds::DovuvUvozeVozediza;

namespace {

xml::CNodePtr Xml(const std::string& text)
{
    return xml::LoadXmlFromMemory(text, "test")->GetChildren().begin()->second;
}

const char* const kGood = "function CalculateForce() return CVector(Pos.x, 0, 0) end\n"
                          "function Update() phase = Time * DeltaTime end\n";

} // namespace

TEST(ForceFunctions, CheckReportsWhatWentWrong)
{
    CCapturingLogMgr log;
    EXPECT_EQ("", CheckForceFunction(kGood));

    struct Case
    {
        const char* function;
        const char* expected; // the start of the result
        const char* why;      // and what it says further on
    } cases[] = {
        {"function CalculateForce() return CVector(0, 0, 0) end",
         "Error in Update(): the script has no function Update()", ""},
        // Lua's message names the chunk by its first line and says where it went wrong.
        {"function CalculateForce( return", "While loading script: [string \"function CalculateForce( return\"]:1: ",
         "expected near 'return'"},
        {"function Update() end", "Error in CalculateForce(): the script has no function CalculateForce()", ""},
        // Fails only on one side of the axis, which the test points reach.
        {"function Update() end function CalculateForce() if Pos.x > 0 then error('right') end end",
         "Error in CalculateForce(): [string ", ":1: right"},
        // Flight updates before it asks for forces; so does the check.
        {"function Update() started = Time end function CalculateForce() return CVector(started, 0, 0) end", "", ""},
    };
    for (const Case& c : cases) {
        const std::string result = CheckForceFunction(c.function);
        EXPECT_EQ(c.expected, result.substr(0, std::string(c.expected).size())) << c.function;
        EXPECT_NE(std::string::npos, result.find(c.why)) << c.function << ": " << result;
        if (*c.expected)
            EXPECT_FALSE(result.empty()) << c.function;
        else
            EXPECT_EQ("", result) << c.function;
    }
}

// Whatever the function does, the check comes back in a bounded time and says
// why the function was refused or stopped.
TEST(ForceFunctions, CheckRefusesOrStopsHostileFunctions)
{
    CCapturingLogMgr log;
    for (const CHostileScript& script : HostileScripts()) {
        const char* const where[] = {"While loading script: ", "Error in Update(): ", "Error in CalculateForce(): "};
        const std::string result = CheckForceFunction(HostileForceFunction(script));
        EXPECT_EQ(0u, result.find(where[script.m_Place])) << script.m_What << ": " << result;
        EXPECT_NE(std::string::npos, result.find(script.m_Message)) << script.m_What << ": " << result;
    }
}

TEST(ForceFunctions, TemplatePairComposesTheFieldAroundItsShape)
{
    const xml::CNodePtr field = Xml("<Region><Shape Position='5,0,5'/><Function>old</Function>"
                                    "<Radius Name='1' Position='9,9,9'>old</Radius></Region>");
    const xml::CNodePtr type = Xml("<ForceField Name='Swirl'><Description>Swirl</Description>"
                                   "<Function>function CalculateForce() end</Function>"
                                   "<Radius Name='1' Position='0,10,0'>10</Radius>"
                                   "<Radius Name='2' Position='1,0,0'>1</Radius>"
                                   "<Radius Name='3' Position='0,0,0'>0</Radius></ForceField>");
    const xml::CNodePtr timing = Xml("<ForceFieldTiming Name='Always'><Description>Always on</Description>"
                                     "<Function>function Update() end</Function></ForceFieldTiming>");
    ApplyTemplate(field, type, timing);

    EXPECT_EQ("function CalculateForce() end\nfunction Update() end\n", field->GetChild("Function")->GetValue());
    EXPECT_EQ("Swirl\nAlways on", field->GetChild("Description")->GetValue());
    EXPECT_EQ(3, std::distance(field->GetChildrenBegin("Radius"), field->GetChildrenEnd("Radius")));
    const xml::CNodePtr first = field->GetChildById("Radius", "1", "Name,Id");
    EXPECT_VECTOR_NEAR(CVector(5, 10, 5), first->GetAttribute("Position")->GetValue<CVector>(), 1e-5f);
    EXPECT_EQ("10", first->GetValue());
    EXPECT_EQ("", CheckForceFunction(field->GetChild("Function")->GetValue()));

    // Without a template only the texts change.
    SetForceFunction(field, "f", "d", xml::CNodePtr());
    EXPECT_EQ(1, std::distance(field->GetChildrenBegin("Function"), field->GetChildrenEnd("Function")));
    EXPECT_EQ("d", field->GetChild("Description")->GetValue());
    EXPECT_VECTOR_NEAR(CVector(5, 10, 5), first->GetAttribute("Position")->GetValue<CVector>(), 1e-5f);

    // A type without radii fails before the field loses its own.
    EXPECT_THROW(SetForceFunction(field, "g", "e", Xml("<ForceField Name='Bare'/>")), xml::CNoNodeException);
    EXPECT_EQ("g", field->GetChild("Function")->GetValue());
    EXPECT_TRUE(field->HasChild("Radius"));
}

TEST(ForceFunctions, EveryShippedTypeAndTimingPassTheCheck)
{
    CCapturingLogMgr log;
    CDiskResourceMgr resources;
    const xml::CNodePtr catalogue = Xml("<ForceFieldFunctions/>");
    const boost::filesystem::path folder = std::string(SDS_SOURCE_DIR) + "/data/DovuvUvozeVozediza/templates";
    for (const auto& entry : boost::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".template")
            LoadTemplateFile(entry.path().string(), catalogue);
    // The dialog shows the catalogue trimmed.
    xml::TrimNodeValues(*catalogue);

    int pairs = 0;
    xml::ForEachChild(*catalogue, "ForceField", [&](const xml::CNodePtr& type) {
        xml::ForEachChild(*catalogue, "ForceFieldTiming", [&](const xml::CNodePtr& timing) {
            const xml::CNodePtr field = Xml("<Region><Shape Position='10,20,0'/></Region>");
            ApplyTemplate(field, type, timing);
            EXPECT_EQ("", CheckForceFunction(field->GetChild("Function")->GetValue()))
                << type->GetAttribute("Name")->GetValue() << " / " << timing->GetAttribute("Name")->GetValue();
            ++pairs;
        });
    });
    EXPECT_GT(pairs, 0);
    EXPECT_THROW(LoadTemplateFile(folder.string() + "/missing.template", catalogue), std::exception);
}

TEST(ForceFunctions, ADamagedTemplateAddsNothingAndIsSetAside)
{
    CCapturingLogMgr log;
    CDiskResourceMgr resources;
    CTempDir folder;
    const std::string timing = "<ForceFieldTiming Name='On'><Description>d</Description><Function>f</Function></ForceFieldTiming>";
    const struct
    {
        const char* damage;
        std::string text;
    } cases[] = {
        {"cut off", "<ForceFieldFunctions>" + timing},
        {"another document", "<scene FullName='S' />"},
        {"an entry without a name", "<ForceFieldFunctions>" + timing +
                                        "<ForceFieldTiming><Description>d</Description><Function>f</Function>"
                                        "</ForceFieldTiming></ForceFieldFunctions>"},
        {"a type without its handles", "<ForceFieldFunctions>" + timing +
                                           "<ForceField Name='T'><Description>d</Description><Function>f</Function>"
                                           "</ForceField></ForceFieldFunctions>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damage);
        const std::string file = folder.File("Mine.template");
        std::ofstream(file) << c.text;
        const xml::CNodePtr catalogue = Xml("<ForceFieldFunctions/>");

        const std::string notice = LoadTemplateFile(file, catalogue);
        EXPECT_TRUE(catalogue->GetChildren().empty()) << "not even the sound entry";
        EXPECT_EQ(0u, notice.find("The file " + file + " cannot be used (")) << notice;
        EXPECT_NE(std::string::npos, notice.find("It is left out.")) << notice;
        EXPECT_TRUE(boost::filesystem::exists(file + ".bad"));
        EXPECT_FALSE(boost::filesystem::exists(file));
    }
}
