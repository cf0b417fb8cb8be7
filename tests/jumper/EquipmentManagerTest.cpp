// The equipment file as the menus read it.

#include <gtest/gtest.h>

#include "core/XmlFile.h"
#include "jumper/EquipmentManager.h"

using sds::CEquipmentManager;

namespace {

TEST(EquipmentManager, ListsTheShippedAltimetersInFileOrder)
{
    CEquipmentManager equipment(xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/equipment.xml")->GetChild("Equipment"));
    EXPECT_EQ(&equipment, CEquipmentManager::GetSingleton());
    EXPECT_EQ((std::vector<std::string>{"AltimasterIII (feet)", "Neptune"}), equipment.GetAltimeterNames());
}

TEST(EquipmentManager, AKindOfGearTheFileLacksThrows)
{
    CEquipmentManager equipment(xml::LoadXmlFromMemory("<Equipment><Canopy Name=\"A\" /></Equipment>", "e.xml")
                                    ->GetChild("Equipment"));
    EXPECT_EQ(std::vector<std::string>{"A"}, equipment.GetNames("Canopy"));
    EXPECT_THROW(equipment.GetAltimeterNames(), xml::CNoNodeException);
}

} // namespace
