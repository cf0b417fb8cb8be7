#pragma once

#include "app/EditionSelection.h"
#include "core/XmlFile.h"

// The shipped configuration's "sds" root as the program sees it after start-up
// picked the edition.
inline xml::CNodePtr LoadDefaultConfig()
{
    const xml::CNodePtr root = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/conf.xml")->GetChild("sds");
    sds::SelectEdition(root);
    return root;
}
