#pragma once

#include <string>

#include <boost/intrusive_ptr.hpp>

#include "core/RefCounted.h"
#include "graphics/IOverlayElement.h"

namespace sds {

// A named screen overlay: shown while the object lives, hidden when it goes.
class IOverlayed : public CRefCounted
{
public:
    ~IOverlayed() override = default;
    // The element of that name (of any overlay), kept for the object's life.
    virtual IOverlayElement* GetElement(const std::string& name) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
};

typedef boost::intrusive_ptr<IOverlayed> COverlayedPtr;

} // namespace sds
