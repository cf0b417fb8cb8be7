#include <gtest/gtest.h>

#include "core/XmlFile.h"
#include "scene/GraphicsSettings.h"

namespace {

xml::CNodePtr Tree(const std::string& text)
{
    return text.empty() ? xml::CNodePtr() : xml::LoadXmlFromMemory(text, "test")->GetChildren().begin()->second;
}

} // namespace

// One rule for every reader: the user's settings, else the configuration, else on.
TEST(GraphicsSettings, UseShadersTakesSettingsThenConfigurationThenTrue)
{
    const struct
    {
        const char* m_Config;
        const char* m_Settings;
        bool m_Expected;
    } cases[] = {
        {"", "", true},
        {"<sds/>", "<Settings/>", true},
        {"<sds><Graphics/></sds>", "<Settings><Graphics/></Settings>", true},
        {"<sds><Graphics UseShaders='0'/></sds>", "<Settings/>", false},
        {"<sds><Graphics UseShaders='0'/></sds>", "<Settings><Graphics UseShaders='true'/></Settings>", true},
        {"<sds><Graphics UseShaders='1'/></sds>", "<Settings><Graphics UseShaders='off'/></Settings>", false},
        {"", "<Settings><Graphics UseShaders='false'/></Settings>", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.m_Config) + " " + c.m_Settings);
        EXPECT_EQ(c.m_Expected, sds::UseShaders(Tree(c.m_Config), Tree(c.m_Settings)));
    }
}

TEST(GraphicsSettings, SurfaceObjectsFromSettingsElseConfiguration)
{
    const xml::CNodePtr config = Tree("<sds><Scene SurfaceObjects='0.5'/></sds>");
    EXPECT_FLOAT_EQ(0.5f, sds::SurfaceObjectsMultiplier(config, Tree("<Settings/>")));
    EXPECT_FLOAT_EQ(0.0f, sds::SurfaceObjectsMultiplier(config, Tree("<Settings><Graphics SurfaceObjects='0'/></Settings>")));
    EXPECT_THROW(sds::SurfaceObjectsMultiplier(Tree("<sds><Scene/></sds>"), Tree("<Settings/>")), xml::CNoNodeException);
}
