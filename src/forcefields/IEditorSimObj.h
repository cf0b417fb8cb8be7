#pragma once

#include "graphics/IGfxObj.h"

namespace sds {
namespace DovuvUvozeVozediza {

// A level object whose graphic object and physical body move together, as the
// editor sees it: the editor drags the graphic object and, while it does, has
// the body follow the graphic object instead of the reverse.
class IEditorSimObj
{
public:
    virtual ~IEditorSimObj() = default;
    virtual CGfxObjPtr GetGfxObj() const = 0;
    // True: the body follows the graphic object; false: the graphic object follows the body.
    virtual void SetGfxDriven(bool gfxDriven) = 0;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
