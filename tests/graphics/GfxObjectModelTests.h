#pragma once

// The graphic object model and the factories, run against every
// implementation of the graphics service.

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "support/VectorNear.h"

#include "core/Exception.h"
#include "graphics/IGfxMgr.h"

template <class TWorld>
class GfxObjectModelTest : public ::testing::Test
{
protected:
    sds::IGfxMgr& Mgr() { return m_World.Mgr(); }

    TWorld m_World;
};

TYPED_TEST_SUITE_P(GfxObjectModelTest);


TYPED_TEST_P(GfxObjectModelTest, FactoriesNameNodesByKindCounters)
{
    const sds::CGfxObjPtr box1 = this->Mgr().CreateBox(sds::CVector(1, 2, 3));
    const sds::CGfxObjPtr box2 = this->Mgr().CreateBox(sds::CVector(1, 1, 1));
    const sds::CGfxObjPtr sphere = this->Mgr().CreateSphere(0.5f);
    EXPECT_EQ("_Box1", box1->GetName());
    EXPECT_EQ("_Box2", box2->GetName());
    EXPECT_EQ("_SimpleSphere1", sphere->GetName());
    EXPECT_VECTOR_NEAR(sds::CVector(1, 2, 3), box1->GetScale(), 1e-4f);
    EXPECT_VECTOR_NEAR(sds::CVector(1, 1, 1), sphere->GetScale(), 1e-4f);
    EXPECT_VECTOR_NEAR(sds::CVector(1, 1, 1), box1->GetSize(), 1e-4f);
    EXPECT_EQ(box2, this->Mgr().FindObject("_Box2"));
    // A pick names the entity it hit; the object showing it is found by that name too.
    EXPECT_EQ(box2, this->Mgr().FindObject(box2->GetEntityName()));
    EXPECT_FALSE(this->Mgr().FindObject("NoSuchNode"));
    EXPECT_EQ(this->Mgr().GetRootObject(), this->Mgr().GetRootObject());
}

TYPED_TEST_P(GfxObjectModelTest, CreateObjectHangsUnderTheParentOrTheRoot)
{
    const sds::CGfxObjPtr root = this->Mgr().GetRootObject();
    const sds::CGfxObjPtr top = this->Mgr().CreateObject("Cube", nullptr);
    const sds::CGfxObjPtr child = this->Mgr().CreateObject("Cube", top);
    EXPECT_EQ(root, top->GetParent());
    EXPECT_EQ(top, child->GetParent());
    ASSERT_EQ(1, top->GetNumChildren());
    EXPECT_EQ(child, top->GetChild(0));
    EXPECT_EQ(0u, top->GetName().find("Cube_"));
    EXPECT_TRUE(top->IsVisible());
}

TYPED_TEST_P(GfxObjectModelTest, CreateChildFormsByMeshText)
{
    const sds::CGfxObjPtr root = this->Mgr().GetRootObject();
    EXPECT_FALSE(root->CreateChild("", ""));

    const sds::CGfxObjPtr entityOnly = root->CreateChild("", "Cube");
    ASSERT_TRUE(entityOnly);
    EXPECT_EQ(entityOnly->GetEntityName(), entityOnly->GetName());
    EXPECT_NE(std::string::npos, entityOnly->GetName().find(".Entity"));

    const sds::CGfxObjPtr marker = root->CreateChild("Marker", ">novis");
    EXPECT_EQ("Marker", marker->GetName());
    EXPECT_EQ("", marker->GetEntityName());
    EXPECT_FALSE(marker->IsVisible());

    EXPECT_EQ("WithExtension.Entity", root->CreateChild("WithExtension", "Cube.mesh")->GetEntityName());
    EXPECT_EQ("Plane.Entity", root->CreateChild("Plane", ">plane")->GetEntityName());

    const sds::CGfxObjPtr plane1 = this->Mgr().CreateMeshObject(">plane");
    const sds::CGfxObjPtr plane2 = this->Mgr().CreateMeshObject(">plane");
    EXPECT_NE(plane1->GetEntityName(), plane2->GetEntityName());
    EXPECT_EQ(0u, plane1->GetEntityName().find("Empty_"));
    EXPECT_VECTOR_NEAR(sds::CVector(1, 0, 1), plane1->GetSize(), 1e-4f);

    const sds::CGfxObjPtr cube = this->Mgr().CreateCube();
    EXPECT_FALSE(cube->IsVisible());
    EXPECT_EQ(cube->GetEntityName(), cube->GetName());
}

TYPED_TEST_P(GfxObjectModelTest, TakenNodeNameIsAClearError)
{
    const sds::CGfxObjPtr root = this->Mgr().GetRootObject();
    const sds::CGfxObjPtr first = root->CreateChild("Taken", "Cube");
    for (const char* mesh : {"", ">novis", "Cube", ">plane"}) {
        try {
            root->CreateChild("Taken", mesh);
            ADD_FAILURE() << "no exception for mesh '" << mesh << "'";
        } catch (const sds::CException& e) {
            EXPECT_STREQ("A scene object named 'Taken' already exists", e.what());
        }
    }
    // The failed attempts left nothing behind.
    EXPECT_EQ(first, this->Mgr().FindObject("Taken"));
    EXPECT_TRUE(root->CreateChild("Free", "Cube"));
}

TYPED_TEST_P(GfxObjectModelTest, TransformsFollowTheParent)
{
    const sds::CGfxObjPtr parent = this->Mgr().CreateObject(">novis", nullptr);
    const sds::CGfxObjPtr child = parent->CreateChild("Child", ">novis");
    parent->SetPos(sds::CVector(1, 0, 0));
    parent->SetScale(sds::CVector(2, 2, 2));
    child->SetPos(sds::CVector(1, 0, 0));
    EXPECT_VECTOR_NEAR(sds::CVector(3, 0, 0), child->GetWorldPos(), 1e-4f);

    child->SetYawPitchRoll(sds::CVector(20, 35, -15));
    EXPECT_VECTOR_NEAR(sds::CVector(20, 35, -15), child->GetYawPitchRoll(), 1e-4f);

    // Yaw turns about the world's vertical even under a rolled parent.
    parent->SetScale(sds::CVector(1, 1, 1));
    parent->Roll(90);
    child->ResetOrientation();
    child->Yaw(90);
    EXPECT_VECTOR_NEAR(sds::CVector(1, 0, 0), child->GetWorldOrientation() * sds::CVector::UNIT_Z, 1e-4f);

    child->ResetOrientation();
    sds::CQuaternion quarterY;
    quarterY.FromAngleAxis(1.5707963f, sds::CVector::UNIT_Y);
    child->Rotate(quarterY);
    const sds::CQuaternion local = child->GetOrientation();
    EXPECT_NEAR(quarterY.w, local.w, 1e-5f);
    EXPECT_NEAR(quarterY.y, local.y, 1e-5f);
}

TYPED_TEST_P(GfxObjectModelTest, AddChildMovesAndRemoveChildDetaches)
{
    const sds::CGfxObjPtr a = this->Mgr().CreateObject(">novis", nullptr);
    const sds::CGfxObjPtr b = this->Mgr().CreateObject(">novis", nullptr);
    const sds::CGfxObjPtr c = a->CreateChild("Moving", "Cube");
    b->AddChild(c);
    EXPECT_EQ(0, a->GetNumChildren());
    EXPECT_EQ(b, c->GetParent());
    b->RemoveChild(c);
    EXPECT_FALSE(c->GetParent());
    EXPECT_EQ(0, b->GetNumChildren());
}

TYPED_TEST_P(GfxObjectModelTest, ReleasedObjectTakesItsNodeAlong)
{
    const sds::CGfxObjPtr root = this->Mgr().GetRootObject();
    const std::uint16_t before = root->GetNumChildren();
    sds::CGfxObjPtr parent = this->Mgr().CreateObject("Cube", nullptr);
    const sds::CGfxObjPtr child = parent->CreateChild("Kid", ">novis");
    const std::string name = parent->GetName();
    parent.reset();

    // The node is gone; the child lives on, registered but detached.
    EXPECT_EQ(before, root->GetNumChildren());
    EXPECT_FALSE(this->Mgr().FindObject(name));
    EXPECT_EQ(child, this->Mgr().FindObject("Kid"));
    EXPECT_FALSE(child->GetParent());

    // Markers named after addresses come and go under one name, jump after jump.
    for (int jump = 0; jump < 50; ++jump) {
        for (const char* mesh : {"", ">novis", "Cube", ">plane"}) {
            sds::CGfxObjPtr marker = root->CreateChild("Marker", mesh);
            ASSERT_TRUE(marker) << mesh;
            marker->CreateChild("", "Cube");
        }
    }
    EXPECT_EQ(before, root->GetNumChildren());
    sds::CTiming timing;
    timing.m_Elapsed = 0.1f;
    root->Update(timing);
}

TYPED_TEST_P(GfxObjectModelTest, DistancesToTheNodeOfTheNearestHit)
{
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(inf, this->Mgr().GetDistanceBelow(sds::CVector(0, 10, 0)));

    // A box from height 1 to 5 whose node sits at 3.
    const sds::CGfxObjPtr box = this->Mgr().CreateBox(sds::CVector(1, 4, 1));
    box->SetPos(sds::CVector(0, 3, 0));
    this->Mgr().GetRootObject()->UpdateTransform();

    EXPECT_FLOAT_EQ(7.0f, this->Mgr().GetDistanceBelow(sds::CVector(0, 10, 0)));
    EXPECT_FLOAT_EQ(7.0f, this->Mgr().GetDistanceBelow(sds::CVector(0.2f, 10, 0.2f)));
    EXPECT_EQ(inf, this->Mgr().GetDistanceBelow(sds::CVector(0, -10, 0)));
    EXPECT_EQ(inf, this->Mgr().GetDistanceBelow(sds::CVector(3, 10, 0)));
    EXPECT_FLOAT_EQ(10.0f, this->Mgr().GetDistanceAlong(sds::CVector(0, 3, -10), sds::CVector(0, 0, 1)));
    EXPECT_EQ(inf, this->Mgr().GetDistanceAlong(sds::CVector(0, 3, -10), sds::CVector(0, 0, -1)));
}

TYPED_TEST_P(GfxObjectModelTest, RayHitAnswersTheWorldPositionOfNestedNodes)
{
    // A box from height 4 to 6 whose node sits 2 above a parent at 3.
    const sds::CGfxObjPtr parent = this->Mgr().CreateObject(">novis", nullptr);
    parent->SetPos(sds::CVector(0, 3, 0));
    const sds::CGfxObjPtr box = parent->CreateChild("Nested", "Cube");
    box->SetScale(sds::CVector(1, 2, 1));
    box->SetPos(sds::CVector(0, 2, 0));
    this->Mgr().GetRootObject()->UpdateTransform();
    EXPECT_FLOAT_EQ(5.0f, this->Mgr().GetDistanceBelow(sds::CVector(0, 10, 0)));
}

TYPED_TEST_P(GfxObjectModelTest, MaterialsAreCopiedAndRemoved)
{
    try {
        this->Mgr().CopyMaterial("NoSuchMaterial", "Copy");
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ("Material does not exist: NoSuchMaterial", e.what());
    }
    this->Mgr().RemoveMaterial("NoSuchMaterial");

    this->Mgr().CopyMaterial("Dravonkel/Default", "Jumper");
    EXPECT_ANY_THROW(this->Mgr().CopyMaterial("Dravonkel/Default", "Jumper"));
    this->Mgr().RemoveMaterial("Jumper");
    this->Mgr().CopyMaterial("Dravonkel/Default", "Jumper");
    this->Mgr().RemoveMaterial("Jumper");

    const sds::CGfxObjPtr cube = this->Mgr().CreateObject("Cube", nullptr);
    const std::string original = cube->GetSubEntityMaterialName(0);
    cube->SetMaterial(original, true);
    EXPECT_NE(original, cube->GetSubEntityMaterialName(0));
    EXPECT_EQ(1u, cube->GetNumSubEntities());
    try {
        cube->SetSubEntityTexture("White.dds", 1);
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ("SubEntity < GetNumSubEntities() && \"Invalid index for subentity\"", e.what());
    }
}

REGISTER_TYPED_TEST_SUITE_P(GfxObjectModelTest, FactoriesNameNodesByKindCounters,
                            CreateObjectHangsUnderTheParentOrTheRoot, CreateChildFormsByMeshText,
                            TakenNodeNameIsAClearError, TransformsFollowTheParent,
                            AddChildMovesAndRemoveChildDetaches, ReleasedObjectTakesItsNodeAlong,
                            DistancesToTheNodeOfTheNearestHit, RayHitAnswersTheWorldPositionOfNestedNodes,
                            MaterialsAreCopiedAndRemoved);
