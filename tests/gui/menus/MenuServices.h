#pragma once

#include <memory>
#include <string>

#include <boost/filesystem.hpp>

#include "core/ConfigPath.h"
#include "core/UnitConverter.h"
#include "core/XmlFile.h"
#include "jumper/EquipmentManager.h"
#include "support/DiskResourceMgr.h"
#include "support/TempDir.h"

// What the menus need besides the GUI, the events and the engine: files read
// from disk, the user's unit system and the shipped equipment. The presets
// file is a copy of the shipped one in a folder of its own, so that a test
// never writes the run tree's. Build it after the configuration is final:
// it reads the unit system and points "Application"/"Presets" at the copy.
class CMenuServices
{
public:
    explicit CMenuServices(const xml::CNodePtr& config)
        : m_Equipment(xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/equipment.xml")->GetChild("Equipment"))
    {
        boost::filesystem::copy_file(SDS_SOURCE_DIR "/conf/presets.xml", PresetsFile());
        sds::SetConfigString(config, "Application->Presets->>Path", PresetsFile());
        m_Units = std::make_unique<sds::CUnitConverter>(config->GetChild("UnitConverter"));
    }

    std::string PresetsFile() const { return m_Folder.File("presets.xml"); }

    CTempDir m_Folder;
    CDiskResourceMgr m_Resources;
    sds::CEquipmentManager m_Equipment;
    std::unique_ptr<sds::CUnitConverter> m_Units;
};
