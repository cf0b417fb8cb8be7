#include "jumper/VisObj.h"

namespace sds {

void CVisObj::Update(const CTiming& timing)
{
    if (const CGfxObjPtr object = m_GfxObj)
        object->Update(timing);
}

} // namespace sds
