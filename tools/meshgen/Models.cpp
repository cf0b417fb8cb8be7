#include "meshgen/Models.h"

#include "meshgen/ModelBuilder.h"

namespace meshgen {

std::vector<CMeshModel> ProjectModels(const std::string& physicsSources)
{
    return {BodyModel(physicsSources),       HeadModel(),
            ContainerModel(),                RiserModel(),
            ToggleModel(),                   BridleLineModel(),
            SuspensionLineModel(),
            SliderModel(physicsSources),     DBagModel(),
            CanopyModel(physicsSources),     PilotChuteModel(physicsSources),
            AnalogAltimeterModel(),          DigitalAltimeterModel(),
            AirplaneModel()};
}

std::vector<CMeshModel> TestModels()
{
    CMeshModel model;
    model.m_Name = "SkeletonTest";
    model.m_Bones = {{"Root", -1, {0, 0, 0}, {}}, {"Arm", 0, {0, 1, 0}, {}}, {"Hand", 1, {0, 1, 0}, {}}};
    CGeometryBuilder b(model);
    b.Use("Dravonkel/Default", "Root");
    b.Box({0, 0, 0}, {0.5f, 0.5f, 0.5f});
    CKeyedAnimation move(model, "Move");
    move.Key("Arm", 0.0f, {}).Key("Arm", 2.0f, {2, 0, 0});
    CKeyedAnimation lift(model, "Lift");
    lift.Key("Arm", 0.0f, {}).Key("Arm", 4.0f, {0, 0, 4});
    CKeyedAnimation turn(model, "Turn");
    turn.Key("Hand", 0.0f, {}).Key("Hand", 1.0f, {}, Turned(90, {0, 1, 0}));
    CAnimation still;
    still.m_Name = "Still";
    model.m_Animations = {move.Done(), lift.Done(), turn.Done(), still};
    return {model};
}

} // namespace meshgen
