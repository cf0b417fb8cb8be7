#include "gui/Version.h"

namespace sds {

const std::string& GetVersionString()
{
    static const std::string version = SDS_VERSION;
    return version;
}

} // namespace sds
