#include <exception>
#include <iostream>

#include "core/XmlFile.h"

int main()
{
    try {
        const xml::CNodePtr root = xml::LoadXmlFile("../conf/conf.xml");
        if (!root)
            return 1;
        const xml::CNodePtr application = root->GetChild("sds")->GetChild("Application");
        std::cout << application->GetPath() << ": edition "
                  << application->GetAttribute("Edition", "unknown") << std::endl;
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << std::endl;
        return 1;
    }
}
