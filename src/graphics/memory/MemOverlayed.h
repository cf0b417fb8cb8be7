#pragma once

#include <map>
#include <memory>
#include <string>

#include "graphics/IOverlayed.h"

namespace sds {

class CMemGfxMgr;

// A named overlay of the in-memory graphics: shown while the object lives.
class CMemOverlayed : public IOverlayed
{
public:
    CMemOverlayed(CMemGfxMgr& mgr, const std::string& name);
    ~CMemOverlayed() override;

    IOverlayElement* GetElement(const std::string& name) override;
    void SetVisible(bool visible) override;
    bool IsVisible() const override;

private:
    CMemGfxMgr& m_Mgr;
    std::string m_Name;
};

} // namespace sds
