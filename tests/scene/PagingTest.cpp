#include <gtest/gtest.h>

#include <tuple>

#include <OGRE/OgreBillboard.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreTextureManager.h>

#include "meshgen/MeshDescription.h"
#include "scene/SceneCounts.h"
#include "scene/ZoneFixture.h"
#include "scene/ZoneWorld.h"
#include "scene/ogre/paging/BatchPage.h"
#include "scene/ogre/paging/FrameBudget.h"
#include "scene/ogre/paging/ImpostorPage.h"
#include "scene/ogre/paging/ImpostorTextures.h"
#include "scene/ogre/paging/PageLoader.h"
#include "scene/ogre/paging/PagedGeometry.h"

namespace {

using Forests::PagedGeometry;
using Forests::TBounds;

// A page that only counts what it is asked.
class CTestPage : public Forests::GeometryPage
{
public:
    void init(PagedGeometry*, const Ogre::Any&) override {}
    void addEntity(Ogre::Entity*, const Ogre::Vector3&, const Ogre::Quaternion&, const Ogre::Vector3&,
                   const Ogre::ColourValue&) override
    {
        ++m_Entities;
    }
    void removeEntities() override { m_Entities = 0; }
    void setVisible(bool) override {}

    int m_Entities = 0;
};

// Puts the given entities on every page it loads, at the page's centre plus
// their offsets, and counts its calls.
class CTestLoader : public Forests::PageLoader
{
public:
    struct CPlacement
    {
        Ogre::Entity* m_Entity;
        Ogre::Vector3 m_Offset;
        float m_Yaw;
    };

    explicit CTestLoader(std::vector<CPlacement> placements) : m_Placements(std::move(placements)) {}

    void loadPage(Forests::PageInfo& page) override
    {
        ++m_Loads;
        m_Spent += m_Cost;
        for (const CPlacement& p : m_Placements)
            addEntity(p.m_Entity, page.centerPoint + p.m_Offset, Ogre::Quaternion(Ogre::Degree(p.m_Yaw), Ogre::Vector3::UNIT_Y),
                      Ogre::Vector3::UNIT_SCALE);
    }
    void unloadPage(Forests::PageInfo&) override
    {
        ++m_Unloads;
        m_Spent += m_Cost;
    }

    std::vector<CPlacement> m_Placements;
    int m_Loads = 0;
    int m_Unloads = 0;
    // What each load and unload takes of a budget's clock, and what they took (ms).
    double m_Cost = 0;
    double m_Spent = 0;
};

// The columns of the level's pages that are shown.
std::vector<int> ShownColumns(const Forests::GeometryPageManager* level)
{
    std::vector<int> columns;
    for (const auto& page : level->getLoadedPages()) {
        if (page.second->isVisible())
            columns.push_back(page.first.first);
    }
    return columns;
}

std::vector<int> PageColumns(const Forests::GeometryPageManager* level)
{
    std::vector<int> columns;
    for (const auto& page : level->getLoadedPages()) {
        EXPECT_TRUE(page.second->isLoaded() && page.second->isVisible());
        columns.push_back(page.first.first);
    }
    return columns;
}

class PagingTest : public ::testing::Test
{
protected:
    PagingTest()
    {
        m_Zone.AddMesh(meshgen::Tree(), "TestTree.mesh");
        m_Zone.AddMesh(meshgen::Bush(), "TestBush.mesh");
        m_Tree = Level()->createEntity("TestTree.mesh");
        m_Bush = Level()->createEntity("TestBush.mesh");
    }
    ~PagingTest() override
    {
        Level()->destroyEntity(m_Tree);
        Level()->destroyEntity(m_Bush);
    }

    Ogre::SceneManager* Level() { return m_World.Scene(); }

    CZoneWorld m_World;
    CZoneFixture m_Zone;
    Ogre::Entity* m_Tree = nullptr;
    Ogre::Entity* m_Bush = nullptr;
};

} // namespace

TEST_F(PagingTest, BoundsArePositiveRectanglesCutIntoPages)
{
    EXPECT_THROW(PagedGeometry(CZoneWorld::Camera(), 0), Ogre::Exception);
    PagedGeometry pager(CZoneWorld::Camera(), 100);
    for (const TBounds& bad : {TBounds(0, 0, 0, 10), TBounds(0, 0, 10, -5), TBounds(0, 0, NAN, 10),
                               TBounds(0, 0, 1e9f, 1e9f)})
        EXPECT_THROW(pager.setBounds(bad), Ogre::Exception);
    pager.setBounds(TBounds(-150, 20, 150, 120));
    EXPECT_EQ(3, pager.getPageCountX());
    EXPECT_EQ(1, pager.getPageCountZ());
}

// Each level takes the pages whose centres lie in its band: from the camera
// out to its range, or from the range before it out to its own.
TEST_F(PagingTest, NestedLevelsLoadAndUnloadPagesByDistance)
{
    CTestLoader loader({{m_Tree, Ogre::Vector3::ZERO, 0}});
    PagedGeometry pager(CZoneWorld::Camera(), 100);
    pager.setBounds(TBounds(0, 0, 1000, 100));
    pager.setPageLoader(&loader);
    const Forests::GeometryPageManager* near = pager.addDetailLevel<CTestPage>(250);
    const Forests::GeometryPageManager* middle = pager.addDetailLevel<CTestPage>(550);
    const Forests::GeometryPageManager* far = pager.addDetailLevel<CTestPage>(850);
    EXPECT_EQ(250, middle->getNearRange());

    m_World.LookFrom(Ogre::Vector3(50, 30, 50), Ogre::Vector3(500, 0, 50));
    pager.update();
    EXPECT_EQ((std::vector<int>{0, 1, 2}), PageColumns(near));
    EXPECT_EQ((std::vector<int>{3, 4, 5}), PageColumns(middle));
    EXPECT_EQ((std::vector<int>{6, 7, 8}), PageColumns(far));
    EXPECT_EQ(1, static_cast<const CTestPage*>(near->getLoadedPages().begin()->second)->m_Entities);
    EXPECT_EQ(9, loader.m_Loads);
    pager.update();
    EXPECT_EQ(9, loader.m_Loads);

    m_World.LookFrom(Ogre::Vector3(950, 30, 50), Ogre::Vector3(500, 0, 50));
    pager.update();
    EXPECT_EQ((std::vector<int>{7, 8, 9}), PageColumns(near));
    EXPECT_EQ((std::vector<int>{4, 5, 6}), PageColumns(middle));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), PageColumns(far));
    // Pages 4 and 5 stayed in the middle band; every other page moved or went.
    EXPECT_EQ(9 + 7, loader.m_Loads);
    EXPECT_EQ(7, loader.m_Unloads);
}

// With a budget a frame builds and releases only what fits, the nearest
// pages first, ahead of the camera; the pages shown are those a pager shows
// that does everything at once, and a page due before it was built ahead is
// built in the frame it is due.
TEST_F(PagingTest, ABudgetSpreadsBuildingAndReleasingOverFrames)
{
    // Each load or unload takes 1 ms; the budget lets a frame take two.
    CTestLoader loader({{m_Tree, Ogre::Vector3::ZERO, 0}});
    loader.m_Cost = 1;
    Forests::FrameBudget budget(1.5, [&loader] { return loader.m_Spent; });
    PagedGeometry pager(CZoneWorld::Camera(), 100);
    pager.setBounds(TBounds(0, 0, 1000, 100));
    pager.setPageLoader(&loader);
    pager.setPrepareDistance(200);
    const Forests::GeometryPageManager* level = pager.addDetailLevel<CTestPage>(150);
    CTestLoader allAtOnceLoader({{m_Tree, Ogre::Vector3::ZERO, 0}});
    PagedGeometry allAtOnce(CZoneWorld::Camera(), 100);
    allAtOnce.setBounds(TBounds(0, 0, 1000, 100));
    allAtOnce.setPageLoader(&allAtOnceLoader);
    const Forests::GeometryPageManager* reference = allAtOnce.addDetailLevel<CTestPage>(150);

    // Pages are shown within 150 m of the camera and built up to 200 m beyond.
    const auto built = [level] {
        std::vector<int> columns;
        for (const auto& page : level->getLoadedPages())
            columns.push_back(page.first.first);
        return columns;
    };
    m_World.LookFrom(Ogre::Vector3(50, 30, 50), Ogre::Vector3(500, 0, 50));
    pager.update();
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), built());
    EXPECT_EQ((std::vector<int>{0, 1}), ShownColumns(level));
    const struct
    {
        float m_CameraX;
        std::vector<int> m_Built;
        int m_Unloads;
        std::size_t m_Pending;
    } frames[] = {
        // Pages 4 and 5 come within reach: both fit.
        {250, {0, 1, 2, 3, 4, 5}, 0, 0},
        // Past what was built ahead: 6 and 7 are due and built at once, over
        // the budget; 8 and 9 wait, and so do the releases of 0 to 2.
        {650, {3, 4, 5, 6, 7}, 0, 5},
        {650, {3, 4, 5, 6, 7, 8, 9}, 0, 3},
        {650, {3, 4, 5, 6, 7, 8, 9}, 2, 1},
        // Page 2 within reach again before its release: taken back as it is.
        {600, {2, 3, 4, 5, 6, 7, 8, 9}, 2, 0},
    };
    for (const auto& frame : frames) {
        m_World.LookFrom(Ogre::Vector3(frame.m_CameraX, 30, 50), Ogre::Vector3(500, 0, 50));
        budget.startFrame();
        pager.update(&budget);
        allAtOnce.update();
        EXPECT_EQ(frame.m_Built, built()) << frame.m_CameraX;
        EXPECT_EQ(ShownColumns(reference), ShownColumns(level)) << frame.m_CameraX;
        EXPECT_EQ(frame.m_Unloads, loader.m_Unloads) << frame.m_CameraX;
        EXPECT_EQ(frame.m_Pending, level->getPendingCount()) << frame.m_CameraX;
    }
    // Each page was built once.
    EXPECT_EQ(10, loader.m_Loads);
}

TEST_F(PagingTest, ABatchedPageIsOneObjectWithAPartPerMaterial)
{
    const CSceneCounts before(Level());
    {
        CTestLoader loader({{m_Tree, {-20, 0, 0}, 0}, {m_Tree, {0, 0, 0}, 30}, {m_Tree, {20, 0, 0}, 60}, {m_Bush, {0, 0, 20}, 0}});
        PagedGeometry pager(CZoneWorld::Camera(), 100);
        pager.setBounds(TBounds(0, 0, 100, 100));
        pager.setPageLoader(&loader);
        pager.addDetailLevel<Forests::BatchPage>(1000);
        m_World.LookFrom(Ogre::Vector3(50, 30, 200), Ogre::Vector3(50, 0, 50));
        pager.update();
        ASSERT_EQ(before.m_ManualObjects + 1, CSceneCounts(Level()).m_ManualObjects);
        const auto& objects = Level()->getMovableObjects("ManualObject");
        auto* batch = static_cast<Ogre::ManualObject*>(objects.begin()->second);
        EXPECT_EQ(3u, batch->getSections().size());
        EXPECT_EQ(0u, batch->getQueryFlags());
        std::size_t leaves = 0;
        const meshgen::CMeshDesc tree = meshgen::Tree();
        for (const meshgen::CMeshPart& sub : tree.m_SubMeshes) {
            if (sub.m_Material == "Tree/Leaves")
                leaves = sub.m_Geometry.m_Vertices.size();
        }
        for (Ogre::ManualObject::ManualObjectSection* section : batch->getSections()) {
            if (section->getMaterialName() == "Tree/Leaves") {
                EXPECT_EQ(3 * leaves, section->getRenderOperation()->vertexData->vertexCount);
            }
        }
        // The box holds every tree: 20 m either side of the page's centre, and up to the crowns.
        const Ogre::AxisAlignedBox box = batch->getBoundingBox();
        EXPECT_LT(box.getMinimum().x, 30);
        EXPECT_GT(box.getMaximum().x, 70);
        EXPECT_GT(box.getMaximum().y, 9);
    }
    EXPECT_EQ(before, CSceneCounts(Level()));
}

// The sections of the scene's one manual object: material, vertices, indices.
std::vector<std::tuple<std::string, std::size_t, std::size_t>> BatchSections(Ogre::SceneManager* scene)
{
    const auto& objects = scene->getMovableObjects("ManualObject");
    EXPECT_EQ(1u, objects.size());
    std::vector<std::tuple<std::string, std::size_t, std::size_t>> sections;
    if (objects.size() != 1)
        return sections;
    for (auto* section : static_cast<Ogre::ManualObject*>(objects.begin()->second)->getSections()) {
        const Ogre::RenderOperation* operation = section->getRenderOperation();
        sections.emplace_back(section->getMaterialName(), operation->vertexData->vertexCount,
                              operation->indexData->indexCount);
    }
    return sections;
}

// A page too large for one step is built ahead over several frames, one step
// a frame here, hidden until it is whole; it ends as the page built at once.
TEST_F(PagingTest, ALargeBatchedPageIsBuiltOverFramesIntoTheSameObject)
{
    std::size_t treeVertices = 0;
    for (const meshgen::CMeshPart& sub : meshgen::Tree().m_SubMeshes)
        treeVertices += sub.m_Geometry.m_Vertices.size();
    const int trees = static_cast<int>(3 * Forests::BatchPage::kVerticesPerStep / treeVertices) + 1;
    std::vector<CTestLoader::CPlacement> placements;
    for (int i = 0; i < trees; ++i)
        placements.push_back({m_Tree, {(i % 10) * 8.0f - 40, 0, (i / 10) * 8.0f - 40},
                              static_cast<float>(i * 37 % 360)});
    CTestLoader loader(placements);
    const auto makePager = [&](PagedGeometry& pager) {
        pager.setBounds(TBounds(0, 0, 100, 100));
        pager.setPageLoader(&loader);
        pager.setPrepareDistance(300);
        return pager.addDetailLevel<Forests::BatchPage>(200);
    };
    const CSceneCounts before(Level());
    std::vector<std::tuple<std::string, std::size_t, std::size_t>> atOnce;
    {
        PagedGeometry pager(CZoneWorld::Camera(), 100);
        makePager(pager);
        m_World.LookFrom(Ogre::Vector3(50, 30, 200), Ogre::Vector3(50, 0, 50));
        pager.update();
        atOnce = BatchSections(Level());
    }

    // Each step uses up the budget.
    double clock = 0;
    Forests::FrameBudget budget(0.5, [&clock] { return clock += 1; });
    PagedGeometry pager(CZoneWorld::Camera(), 100);
    const Forests::GeometryPageManager* level = makePager(pager);
    m_World.LookFrom(Ogre::Vector3(50, 30, 400), Ogre::Vector3(50, 0, 50));
    int frames = 0;
    for (; frames < 100 && (frames == 0 || level->getPendingCount() > 0); ++frames) {
        EXPECT_EQ(before.m_ManualObjects + (frames > 0 ? 1 : 0), CSceneCounts(Level()).m_ManualObjects);
        EXPECT_TRUE(ShownColumns(level).empty());
        budget.startFrame();
        pager.update(&budget);
    }
    EXPECT_GE(frames, 3);
    ASSERT_EQ(1u, level->getLoadedPages().size());
    EXPECT_FALSE(level->getLoadedPages().begin()->second->isVisible());
    m_World.LookFrom(Ogre::Vector3(50, 30, 200), Ogre::Vector3(50, 0, 50));
    budget.startFrame();
    pager.update(&budget);
    EXPECT_EQ((std::vector<int>{0}), ShownColumns(level));
    EXPECT_EQ(atOnce, BatchSections(Level()));
    // Placed once for each pager: the steps go on with what was placed.
    EXPECT_EQ(2, loader.m_Loads);
}

TEST_F(PagingTest, ImpostorsShowTheViewFromTheCameraSide)
{
    const CResourceCounts resources;
    {
        CTestLoader loader({{m_Tree, {-10, 0, 0}, 0}, {m_Tree, {10, 0, 0}, 90}});
        PagedGeometry pager(CZoneWorld::Camera(), 100);
        pager.setBounds(TBounds(-50, -50, 50, 50));
        pager.setPageLoader(&loader);
        pager.addDetailLevel<Forests::ImpostorPage>(1000);
        m_World.LookFrom(Ogre::Vector3(0, 5, 300), Ogre::Vector3::ZERO);
        pager.update();
        EXPECT_TRUE(Ogre::MaterialManager::getSingleton().resourceExists("Impostor/TestTree.mesh", "General"));
        const auto& sets = Level()->getMovableObjects("BillboardSet");
        ASSERT_EQ(1u, sets.size());
        const auto* set = static_cast<const Ogre::BillboardSet*>(sets.begin()->second);
        ASSERT_EQ(2, set->getNumBillboards());
        EXPECT_EQ(0u, set->getQueryFlags());
        EXPECT_EQ(0, set->getBillboard(0)->getTexcoordIndex());
        EXPECT_EQ(6, set->getBillboard(1)->getTexcoordIndex());
        m_World.LookFrom(Ogre::Vector3(300, 5, 0), Ogre::Vector3::ZERO);
        pager.update();
        EXPECT_EQ(2, set->getBillboard(0)->getTexcoordIndex());
        EXPECT_EQ(0, set->getBillboard(1)->getTexcoordIndex());
        // A billboard as wide as the tree seen from any side, centred on it.
        EXPECT_GT(set->getBillboard(0)->getOwnWidth(), 6.0f);
        EXPECT_NEAR(m_Tree->getBoundingBox().getCenter().y, set->getBillboard(0)->getPosition().y, 1e-3);
    }
    EXPECT_FALSE(Ogre::MaterialManager::getSingleton().resourceExists("Impostor/TestTree.mesh", "General"));
    EXPECT_EQ(resources.m_Textures, CResourceCounts().m_Textures);
    EXPECT_EQ(resources.m_Materials, CResourceCounts().m_Materials);
}

TEST(ImpostorFrames, TheViewNearestTheDirectionToTheViewer)
{
    const float quarter = Ogre::Math::HALF_PI;
    const struct
    {
        float m_Yaw;
        Ogre::Vector3 m_ToViewer;
        int m_Frame;
    } cases[] = {{0, {0, 0, 1}, 0},        {0, {1, 0, 0}, 2},        {0, {0, 0, -1}, 4},
                 {0, {-1, 0, 0}, 6},       {0, {1, 0, 1}, 1},        {quarter, {0, 0, 1}, 6},
                 {quarter, {1, 0, 0}, 0},  {-quarter, {0, 0, 1}, 2}, {0, {0.1f, 5, 1}, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.m_Frame, Forests::ImpostorTextures::frameFor(c.m_Yaw, c.m_ToViewer)) << c.m_Yaw << " " << c.m_ToViewer;
}
