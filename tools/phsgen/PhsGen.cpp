// Writes a physics-editor file from its XML source:
//   sds_phsgen <source.xml> <output.phs>
// The source's "Version" (default 1.4) gives the version of the file.
#include <exception>
#include <iostream>

#include "core/Node.h"
#include "core/XmlFile.h"
#include "phsgen/PhysicsFileWriter.h"
#include "phsgen/PhysicsSource.h"

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "Usage: sds_phsgen <source.xml> <output.phs>" << std::endl;
        return 2;
    }
    // The XML layer's statistics are not worth a line in the build's output.
    xml::MessageHandler = [](const std::string&) {};
    try
    {
        const xml::CNodePtr file = xml::LoadXmlFile(argv[1]);
        if (!file || file->GetChildren().empty())
        {
            std::cerr << "sds_phsgen: could not read '" << argv[1] << "'" << std::endl;
            return 1;
        }
        const xml::CNodePtr root = file->GetChildren().begin()->second;
        phsgen::SavePhysicsFile(phsgen::ReadPhysicsSource(root), phsgen::ReadSourceVersion(root), argv[2]);
    }
    catch (const std::exception& e)
    {
        std::cerr << "sds_phsgen: " << argv[1] << ": " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
