// "Info" rows as the screens show them, in the shipped imperial units.

#include <gtest/gtest.h>

#include "core/UnitConverter.h"
#include "core/XmlFile.h"
#include "gui/menus/InfoLines.h"
#include "support/DefaultConfig.h"

using namespace sds;

namespace {

class InfoLinesTest : public ::testing::Test
{
protected:
    static xml::CNodePtr Row(const std::string& text)
    {
        return xml::LoadXmlFromMemory(text, "row.xml")->GetChild("Info");
    }

    CUnitConverter m_Units{LoadDefaultConfig()->GetChild("UnitConverter")};
};

TEST_F(InfoLinesTest, RowsWithUnitsAreConvertedAndOthersShownAsStored)
{
    const struct
    {
        const char* Row;
        const char* Line;
    } cases[] = {
        {R"(<Info Name="Altitude" Units="Distance">60.96</Info>)", "Altitude: 200.0ft\n"},
        {R"(<Info Name="Wind strength" Units="Speed">3.57632</Info>)", "Wind strength: 8.0mph\n"},
        {R"(<Info Name="Altimeter">Neptune</Info>)", "Altimeter: Neptune\n"},
        {R"(<Info Units="Mass">72.574784</Info>)", "160lb\n"},
        {R"(<Info Name="Score" Units="Points">12.5</Info>)", "Score: 12.5\n"},
        {R"(<Info Name="Altitude" Units="Distance">high</Info>)", "Altitude: high\n"},
        {R"(<Info Name="Altitude" Units="Distance">60.96m</Info>)", "Altitude: 60.96m\n"},
        {R"(<Info Name="Altitude" Units="Distance"></Info>)", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Line, GuiStates::FormatInfoLine(*Row(c.Row), "\n")) << c.Row;

    EXPECT_EQ("200.0ft", GuiStates::FormatInfoLine(*Row(cases[0].Row), "", false));
}

TEST_F(InfoLinesTest, UnknownCategoriesFormatToNothing)
{
    EXPECT_EQ("160lb", GuiStates::FormatValueByCategory(72.574784f, "Mass"));
    EXPECT_EQ("", GuiStates::FormatValueByCategory(72.574784f, ""));
    EXPECT_EQ("", GuiStates::FormatValueByCategory(72.574784f, "Points"));
}

TEST_F(InfoLinesTest, LinesJoinTheRowsOfOneNameInFileOrder)
{
    const xml::CNodePtr jump = xml::LoadXmlFromMemory(R"(<Jump>
        <Info Name="Exit weight" Units="Mass">90.71848</Info>
        <Note>not a row</Note>
        <Info Name="Landing">Soft</Info>
        <Info Name="Comment"></Info>
      </Jump>)", "jump.xml")->GetChild("Jump");
    EXPECT_EQ("Exit weight: 200lb\nLanding: Soft\n", GuiStates::FormatInfoLines(*jump, "Info"));
}

} // namespace
