#pragma once

#include <memory>

#include "core/Node.h"
#include "jumper/VisObj.h"

namespace sds {

// The deployment bag that holds the folded canopy until it is pulled out.
class IDBag : public CVisObj
{
public:
    ~IDBag() override = default;
    virtual void Open() = 0;
    virtual void Collapse() = 0;
    // The "DBag" element it was built from.
    virtual xml::CNodePtr GetConfig() const = 0;
};

typedef std::shared_ptr<IDBag> CDBagPtr;

} // namespace sds
