#pragma once

#include <string>

#include "app/EditionSelection.h"
#include "core/XmlFile.h"

// The shipped configuration's "sds" root as the program sees it after start-up
// picked the edition: the shipped one, or the one named.
inline xml::CNodePtr LoadDefaultConfig(const std::string& edition = std::string())
{
    const xml::CNodePtr root = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/conf.xml")->GetChild("sds");
    if (!edition.empty())
        root->GetChild("Application")->GetAttribute("Edition")->SetValue(edition);
    sds::SelectEdition(root);
    return root;
}
