#include "graphics/ogre/RibbonTrail.h"

#include <algorithm>

#include <OGRE/OgreBillboard.h>

#include "core/Exception.h"
#include "core/Helpers.h"
#include "graphics/ogre/OgreConvert.h"
#include "graphics/ogre/OgreGfxObjBase.h"

namespace wrappers {

namespace {

// The scene node the object is registered under: trails follow nodes.
Ogre::SceneNode& SceneNodeOf(const sds::CGfxObjPtr& object)
{
    COgreGfxObjBase* base = static_cast<COgreGfxObjBase*>(object.get());
    Ogre::SceneNode* node = base ? base->GetAttachNode() : nullptr;
    if (!node || base->GetNode() != node || FindGfxObjByNode(node) != base)
        throw sds::CRibbonTrailDesc::NoNode(object ? object->GetName() : std::string());
    return *node;
}

} // namespace

CRibbonTrail::CRibbonTrail(Ogre::SceneManager* sceneManager, const sds::CGfxObjPtr& anchor,
                           const sds::CRibbonTrailDesc& desc, const std::weak_ptr<const bool>& scene)
    : m_HeadMaterial(desc.m_HeadMaterial),
      m_InitialColours(static_cast<std::size_t>(desc.m_NumberOfChains), FromOgre(Ogre::ColourValue::White)),
      m_pSceneManager(sceneManager),
      m_Scene(scene)
{
    m_pAnchorNode = &SceneNodeOf(anchor);
    m_pTrail = m_pSceneManager->createRibbonTrail(sds::MakeUniqueName("RibbonTrail"));
    m_pTrail->setMaxChainElements(static_cast<std::size_t>(desc.m_MaxElements));
    m_pTrail->setNumberOfChains(static_cast<std::size_t>(desc.m_NumberOfChains));
    m_pTrail->setUseTextureCoords(desc.m_UseTextureCoords);
    m_pTrail->setUseVertexColours(desc.m_UseColours);
    m_pHead = m_pSceneManager->createBillboardSet(sds::MakeUniqueName("RibbonTrailHead"), 1);
    m_pTrail->setMaterialName(desc.m_Material);
    m_pTrail->setTrailLength(static_cast<Ogre::Real>(desc.m_TrailLength));
    m_pAnchorNode->attachObject(m_pTrail);
    m_pHead->setDefaultDimensions(static_cast<Ogre::Real>(desc.m_HeadWidth), static_cast<Ogre::Real>(desc.m_HeadHeight));
    // Each pass over every chain before the next, as the file lists them.
    for (const sds::CRibbonTrailChainDesc& chain : desc.m_Chains)
        SetInitialColour(chain.m_Index, chain.m_InitialColour);
    for (const sds::CRibbonTrailChainDesc& chain : desc.m_Chains)
        SetColourChange(chain.m_Index, chain.m_ColourChange);
    for (const sds::CRibbonTrailChainDesc& chain : desc.m_Chains)
        SetInitialWidth(chain.m_Index, chain.m_InitialWidth);
    for (const sds::CRibbonTrailChainDesc& chain : desc.m_Chains)
        SetWidthChange(chain.m_Index, chain.m_WidthChange);
}

CRibbonTrail::~CRibbonTrail()
{
    if (!SceneStands())
        return;
    m_pSceneManager->destroyBillboardSet(m_pHead);
    m_pSceneManager->destroyRibbonTrail(m_pTrail);
}

void CRibbonTrail::AddObject(const sds::CGfxObjPtr& object)
{
    Ogre::SceneNode& node = SceneNodeOf(object);
    if (!SceneStands())
        return;
    m_pTrail->addNode(&node);
    if (m_pHead->getNumBillboards() == 0 && !m_HeadMaterial.empty()) {
        m_pHead->createBillboard(Ogre::Vector3::ZERO, ToOgreColour(m_InitialColours[0]));
        m_pHead->setMaterialName(m_HeadMaterial);
    }
    // One head: it marks the first object's chain.
    if (!m_pHead->isAttached())
        node.attachObject(m_pHead);
}

void CRibbonTrail::RemoveObject(const sds::CGfxObjPtr& object)
{
    Ogre::SceneNode& node = SceneNodeOf(object);
    if (!SceneStands())
        return;
    m_pTrail->removeNode(&node);
    if (m_pHead->getParentSceneNode() == &node) {
        node.detachObject(m_pHead);
        m_pHead->clear();
    }
}

sds::CFourFloats CRibbonTrail::GetInitialColour() const
{
    return m_InitialColours[0];
}

void CRibbonTrail::SetIntensity(float factor)
{
    if (!SceneStands())
        return;
    factor = std::clamp(factor, 0.0f, 1.0f);
    for (std::size_t chain = 0; chain < m_InitialColours.size(); ++chain) {
        if (m_pTrail->getNumChainElements(chain) == 0)
            continue;
        Ogre::BillboardChain::Element head = m_pTrail->getChainElement(chain, 0);
        head.colour = ToOgreColour(m_InitialColours[chain]) * factor;
        m_pTrail->updateChainElement(chain, 0, head);
    }
    if (m_pHead->getNumBillboards() > 0)
        m_pHead->getBillboard(0)->setColour(ToOgreColour(m_InitialColours[0]) * factor);
}

void CRibbonTrail::CheckChain(unsigned chain) const
{
    if (chain >= m_InitialColours.size())
        throw sds::CRibbonTrailDesc::NoChain(chain, m_InitialColours.size());
}

void CRibbonTrail::SetInitialColour(unsigned chain, const sds::CFourFloats& colour)
{
    CheckChain(chain);
    m_InitialColours[chain] = colour;
    if (SceneStands())
        m_pTrail->setInitialColour(chain, ToOgreColour(colour));
}

void CRibbonTrail::SetColourChange(unsigned chain, const sds::CFourFloats& change)
{
    CheckChain(chain);
    if (SceneStands())
        m_pTrail->setColourChange(chain, ToOgreColour(change));
}

void CRibbonTrail::SetInitialWidth(unsigned chain, float width)
{
    CheckChain(chain);
    if (SceneStands())
        m_pTrail->setInitialWidth(chain, width);
}

void CRibbonTrail::SetWidthChange(unsigned chain, float change)
{
    CheckChain(chain);
    if (SceneStands())
        m_pTrail->setWidthChange(chain, change);
}

} // namespace wrappers
