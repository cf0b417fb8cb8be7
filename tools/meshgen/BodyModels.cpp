// The jumper's body and helmet, and the body's animations.
//
// The body is a jointed mannequin in a jumpsuit: each part is carried rigidly
// by one bone of the rag doll, with balls at the joints so that bent limbs
// stay closed. Axes: belly +x, head +y, right +z.
//
// How the states play the animations decides how each is made. Animations
// blend by adding their turns to the bind pose:
// - whole poses, from the bind pose: IdleFreeFall (the arch), Spotting,
//   ClimbingOut, HangingOnStrut, GrabRisers, Walking, PLF;
// - changes to the arch, nothing at time 0, played forward while a key is held
//   on top of IdleFreeFall: the free-fall controls, ReachingMain, PullingMain;
// - under canopy, IdleCanopyRide moves all but the arms, and each hand's
//   animations move its arm alone: the six turns (0: the hand at rest on the
//   control, 1: the full pull; both toggles at 1 is the flare), reaching the
//   stowed toggle and unstowing it.

#include "meshgen/Models.h"

#include <cmath>

#include "meshgen/ModelBuilder.h"

namespace meshgen {

namespace {

using sds::CQuaternion;
using sds::CVector;

const char* const kSuit = "Dravonkel/Jumpsuit";
const char* const kTrim = "Dravonkel/JumpsuitTrim";
const char* const kSkin = "Dravonkel/Skin";
const char* const kShoe = "Dravonkel/Shoe";

// The joints of the bind pose, as the rag doll has them.
const CVector kShoulder(0, 0.52f, 0.27f);
const CVector kElbow(0, 0.22f, 0.27f);
const CVector kWrist(0, -0.04f, 0.27f);
const CVector kHand(0, -0.12f, 0.27f);
const CVector kHip(0, -0.08f, 0.1f);
const CVector kKnee(0, -0.5f, 0.1f);
const CVector kAnkle(0, -0.9f, 0.1f);

// The left side's mirror of a right-side point or direction.
CVector Left(const CVector& v)
{
    return {v.x, v.y, -v.z};
}

void Limbs(CGeometryBuilder& b, const std::string& side, float s)
{
    auto at = [s](const CVector& v) { return CVector(v.x, v.y, v.z * s); };
    // Arm.
    b.Use(kSuit, side + "UpperArm");
    b.Tube(at(kShoulder), at(kElbow), 0.058f, 0.047f);
    b.Use(kTrim, side + "UpperArm");
    b.Box(at(CVector(0, 0.37f, 0.322f)), {0.012f, 0.12f, 0.006f}); // a stripe down the outside
    b.Use(kSuit, side + "LowerArm");
    b.Sphere(at(kElbow), 0.048f);
    b.Tube(at(kElbow), at(kWrist + CVector(0, 0.02f, 0)), 0.046f, 0.037f);
    b.Use(kTrim, side + "LowerArm");
    b.Tube(at(kWrist + CVector(0, 0.05f, 0)), at(kWrist + CVector(0, 0.015f, 0)), 0.041f, 0.04f);
    b.Use(kSkin, side + "Hand");
    b.Ellipsoid(at(kHand), {0.045f, 0.075f, 0.022f});
    b.Ellipsoid(at(CVector(0.04f, -0.085f, 0.27f)), {0.012f, 0.035f, 0.014f}, Turned(-25, {0, 0, s})); // thumb
    // Leg.
    b.Use(kSuit, side + "UpperLeg");
    b.Sphere(at(kHip), 0.086f);
    b.Tube(at(kHip), at(kKnee), 0.086f, 0.062f);
    b.Use(kTrim, side + "UpperLeg");
    b.Box(at(CVector(0, -0.29f, 0.178f)), {0.014f, 0.19f, 0.006f});
    b.Use(kSuit, side + "LowerLeg");
    b.Sphere(at(kKnee), 0.063f);
    b.Tube(at(kKnee), at(kAnkle), 0.062f, 0.046f);
    b.Use(kTrim, side + "LowerLeg");
    b.Tube(at(kAnkle + CVector(0, 0.06f, 0)), at(kAnkle + CVector(0, 0.02f, 0)), 0.05f, 0.049f);
    b.Use(kShoe, side + "Foot");
    b.Ellipsoid(at(CVector(0.055f, -0.94f, 0.1f)), {0.125f, 0.042f, 0.05f});
    b.Sphere(at(kAnkle + CVector(0, -0.01f, 0)), 0.047f);
}

void BodyGeometry(CMeshModel& model)
{
    CGeometryBuilder b(model);
    b.Use(kSuit, "Pelvis");
    b.Ellipsoid({0, -0.02f, 0}, {0.12f, 0.13f, 0.185f});
    b.Use(kSuit, "Torso");
    b.Ellipsoid({0, 0.17f, 0}, {0.11f, 0.14f, 0.165f});
    b.Ellipsoid({0, 0.37f, 0}, {0.125f, 0.2f, 0.2f});
    b.Sphere({0, 0.5f, 0.235f}, 0.066f);
    b.Sphere({0, 0.5f, -0.235f}, 0.066f);
    b.Use(kTrim, "Torso");
    b.Tube({0, 0.2f, 0}, {0, 0.245f, 0}, 0.118f, 0.128f, 20); // the suit's waist band
    b.Use(kSkin, "Head");
    b.Tube({0, 0.52f, 0}, {0, 0.64f, 0}, 0.05f, 0.047f);
    b.Ellipsoid({0.01f, 0.71f, 0}, {0.1f, 0.12f, 0.09f}, CQuaternion::IDENTITY, 12, 18);
    b.Box({0.112f, 0.7f, 0}, {0.014f, 0.022f, 0.011f}); // nose
    Limbs(b, "Right", 1.0f);
    Limbs(b, "Left", -1.0f);
}

// Both arms or legs: the right part along `right`, the left along its mirror.
void Both(CPose& pose, const std::string& part, const CVector& right)
{
    pose.Aim("Right" + part, right);
    pose.Aim("Left" + part, Left(right));
}

// One arm's three parts; the hand continues the forearm.
void Arm(CPose& pose, const std::string& side, const CVector& upper, const CVector& lower)
{
    pose.Aim(side + "UpperArm", upper);
    pose.Aim(side + "LowerArm", lower);
    pose.Aim(side + "Hand", lower);
}

void Arms(CPose& pose, const CVector& upper, const CVector& lower)
{
    Arm(pose, "Right", upper, lower);
    Arm(pose, "Left", Left(upper), Left(lower));
}

// Feet at right angles to the shins, toes forward.
void Legs(CPose& pose, const CVector& upper, const CVector& lower)
{
    Both(pose, "UpperLeg", upper);
    Both(pose, "LowerLeg", lower);
    Both(pose, "Foot", lower);
}

// Toes pointed along the shins, as in free fall: the foot turns a quarter
// more than the shin about the body's right axis.
void PointedLegs(CPose& pose, const CVector& upper, const CVector& lower)
{
    Legs(pose, upper, lower);
    Both(pose, "Foot", {lower.y, -lower.x, lower.z});
}

// The box position, belly to the wind: back arched, head up, arms out and
// bent towards the head, knees bent and apart.
CPose Arch(float spread = 0.0f)
{
    CPose pose;
    pose.Aim("Torso", {-0.22f, 1, 0});
    pose.Aim("Head", {-1.0f, 1, 0});
    Arms(pose, {-0.1f, 0.35f + spread, 1}, {-0.3f, 1, 0.15f});
    PointedLegs(pose, {-0.35f, -1, 0.35f + spread}, {-1, -0.45f, 0.25f});
    return pose;
}

// Under canopy, sitting in the harness; the arms are the hands' business.
CPose SittingInHarness(float swing)
{
    CPose pose;
    pose.Aim("Torso", {0.05f, 1, 0});
    pose.Aim("Head", {-0.25f, 1, 0.05f * swing});
    Legs(pose, {0.35f + 0.05f * swing, -1, 0.12f}, {0.05f + 0.05f * swing, -1, 0.04f});
    return pose;
}

// Arms up to the risers above the shoulders, as for the rear risers at rest.
void ArmsOnRisers(CPose& pose)
{
    Arms(pose, {-0.05f, 0.75f, 0.65f}, {-0.1f, 0.8f, -0.6f});
}

CPose Spotting(float look)
{
    CPose pose;
    pose.Aim("Torso", {0.3f, 1, 0});
    pose.Aim("Head", {0.7f, 0.6f, 0.15f * look});
    Arm(pose, "Right", {0.6f, 0.6f, 0.4f}, {0.6f, 1, 0});
    Arm(pose, "Left", {0.3f, -1, -0.2f}, {0.5f, -1, -0.1f});
    Legs(pose, {0.25f, -1, 0.05f}, {-0.1f, -1, 0.03f});
    return pose;
}

CPose HangingOnStrut(float swing)
{
    CPose pose;
    pose.Aim("Torso", {-0.1f, 1, 0});
    pose.Aim("Head", {0.2f, 1, 0});
    Arms(pose, {0.4f, 1, 0.25f}, {0.3f, 1, 0.05f});
    Legs(pose, {-0.4f - 0.1f * swing, -1, 0.12f}, {-0.5f - 0.1f * swing, -1, 0.08f});
    return pose;
}

// A step: the right leg forward by `phase` (-1 to 1), the arms swinging against the legs.
CPose Step(float phase)
{
    CPose pose;
    pose.Aim("Torso", {0.05f, 1, 0});
    pose.Aim("RightUpperLeg", {0.45f * phase, -1, 0.04f});
    pose.Aim("LeftUpperLeg", {-0.45f * phase, -1, -0.04f});
    pose.Aim("RightLowerLeg", {phase > 0 ? 0.3f * phase : 0.5f * phase, -1, 0.03f});
    pose.Aim("LeftLowerLeg", {phase < 0 ? -0.3f * phase : -0.5f * phase, -1, -0.03f});
    pose.Aim("RightFoot", {0.1f * phase, -1, 0});
    pose.Aim("LeftFoot", {-0.1f * phase, -1, 0});
    Arm(pose, "Right", {-0.35f * phase, -1, 0.12f}, {-0.25f * phase + 0.15f, -1, 0.08f});
    Arm(pose, "Left", {0.35f * phase, -1, -0.12f}, {0.25f * phase + 0.15f, -1, -0.08f});
    return pose;
}

// Parachute landing fall: feet and knees together, down on the side and rolling.
CPose Landing(float degrees, float drop, float crouch)
{
    CPose pose;
    const CQuaternion roll = Turned(degrees, {1, 0, 0});
    pose.Turn("Pelvis", roll);
    pose.Move("Pelvis", {0, -drop, 0.45f * drop});
    pose.Aim("Torso", roll * CVector(0.25f * crouch, 1, 0));
    pose.Aim("Head", roll * CVector(0.5f * crouch, 1, 0));
    pose.Aim("RightUpperLeg", roll * CVector(0.6f * crouch, -1, -0.04f));
    pose.Aim("LeftUpperLeg", roll * CVector(0.6f * crouch, -1, 0.04f));
    pose.Aim("RightLowerLeg", roll * CVector(-0.5f * crouch, -1, -0.02f));
    pose.Aim("LeftLowerLeg", roll * CVector(-0.5f * crouch, -1, 0.02f));
    pose.Aim("RightFoot", roll * CVector(-0.3f * crouch, -1, 0));
    pose.Aim("LeftFoot", roll * CVector(-0.3f * crouch, -1, 0));
    Arm(pose, "Right", roll * CVector(0.6f, 0.2f, 0.4f), roll * CVector(0.3f, 1, -0.4f));
    Arm(pose, "Left", roll * CVector(0.6f, 0.2f, -0.4f), roll * CVector(0.3f, 1, 0.4f));
    return pose;
}

typedef std::vector<std::pair<float, CPose>> CKeys;

// A change to the arch over one second: nothing at 0, `target` at 1.
CKeys FromArch(const CPose& target)
{
    return {{0.0f, Arch()}, {1.0f, target}};
}

// The arch with one side's arm (and the other's by `Left`) set anew.
CPose ArchWith(void (*change)(CPose&))
{
    CPose pose = Arch();
    change(pose);
    return pose;
}

// One arm's animation from `from` to `to` over one second; only that arm's bones move.
CAnimation ArmAnimation(const CMeshModel& model, const std::string& name, const std::string& side,
                        const CVector& fromUpper, const CVector& fromLower, const CVector& toUpper,
                        const CVector& toLower)
{
    const bool left = side == "Left";
    CPose from, to;
    Arm(from, side, left ? Left(fromUpper) : fromUpper, left ? Left(fromLower) : fromLower);
    Arm(to, side, left ? Left(toUpper) : toUpper, left ? Left(toLower) : toLower);
    return MakeAnimation(model, name, {{0.0f, from}, {1.0f, to}});
}

// Where the right hand holds each control at rest and at the full pull
// (upper arm, forearm), in the body's axes; the left mirrors them.
struct CControlPoses
{
    CVector m_RestUpper, m_RestLower, m_PullUpper, m_PullLower;
};
const CControlPoses kToggle = {{0.0f, 0.55f, 0.85f}, {-0.15f, 0.3f, -0.9f}, {0.3f, -1, 0.15f}, {0.7f, -0.6f, -0.1f}};
const CControlPoses kRearRiser = {{-0.05f, 0.75f, 0.65f}, {-0.1f, 0.8f, -0.6f}, {0.0f, 0.1f, 1}, {-0.1f, 0.45f, -0.9f}};
const CControlPoses kFrontRiser = {{0.15f, 0.75f, 0.65f}, {0.1f, 0.8f, -0.6f}, {0.3f, 0.0f, 1}, {0.45f, 0.3f, -0.9f}};

void BodyAnimations(CMeshModel& model)
{
    std::vector<CAnimation>& out = model.m_Animations;
    // In the aircraft.
    out.push_back(MakeAnimation(model, "Spotting", {{0.0f, Spotting(-1)}, {1.0f, Spotting(1)}, {2.0f, Spotting(-1)}}));
    out.push_back(MakeAnimation(model, "ClimbingOut",
                                {{0.0f, Spotting(0)}, {1.0f, HangingOnStrut(1)}, {2.0f, HangingOnStrut(0)}}));
    out.push_back(MakeAnimation(model, "HangingOnStrut",
                                {{0.0f, HangingOnStrut(0)}, {1.0f, HangingOnStrut(1)}, {2.0f, HangingOnStrut(0)}}));

    // Free fall.
    out.push_back(MakeAnimation(model, "IdleFreeFall", {{0.0f, Arch()}, {1.0f, Arch(0.06f)}, {2.0f, Arch()}}));
    const CPose arch = Arch();
    auto change = [&](const std::string& name, const CPose& target) {
        out.push_back(MakeAnimation(model, name, FromArch(target), &arch));
    };
    change("LeftArmTurnFF", ArchWith([](CPose& p) { Arm(p, "Left", Left({0.3f, 0.2f, 1}), Left({0.3f, 1, -0.3f})); }));
    change("RightArmTurnFF", ArchWith([](CPose& p) { Arm(p, "Right", {0.3f, 0.2f, 1}, {0.3f, 1, -0.3f}); }));
    change("ForwardFF", ArchWith([](CPose& p) {
               Arms(p, {-0.1f, -0.6f, 1}, {-0.1f, -1, 0.5f});
               PointedLegs(p, {-0.15f, -1, 0.3f}, {-0.4f, -1, 0.25f});
           }));
    change("BackwardFF", ArchWith([](CPose& p) {
               Arms(p, {0.2f, 1, 0.5f}, {0.2f, 1, 0.1f});
               PointedLegs(p, {0.25f, -1, 0.3f}, {-1, -0.2f, 0.25f});
           }));
    change("SlideLeftFF", ArchWith([](CPose& p) {
               Arm(p, "Left", Left({-0.1f, 0.2f, 1}), Left({-0.1f, 0.2f, 1}));
               Arm(p, "Right", {0.0f, 0.7f, 0.3f}, {0.0f, 0.3f, -1});
           }));
    change("SlideRightFF", ArchWith([](CPose& p) {
               Arm(p, "Right", {-0.1f, 0.2f, 1}, {-0.1f, 0.2f, 1});
               Arm(p, "Left", Left({0.0f, 0.7f, 0.3f}), Left({0.0f, 0.3f, -1}));
           }));
    change("Tracking", ArchWith([](CPose& p) {
               p.Aim("Torso", {0, 1, 0});
               p.Aim("Head", {-0.5f, 1, 0});
               Arms(p, {-0.2f, -1, 0.35f}, {-0.2f, -1, 0.3f});
               PointedLegs(p, {-0.1f, -1, 0.08f}, {-0.1f, -1, 0.05f});
           }));
    // The right hand to the pilot chute at the bottom of the container, the left over the head.
    change("ReachingMain", ArchWith([](CPose& p) {
               Arm(p, "Right", {-0.35f, -0.8f, 0.3f}, {-0.35f, -0.75f, -0.55f});
               Arm(p, "Left", Left({-0.1f, 0.8f, 0.6f}), Left({-0.2f, 1, 0.1f}));
           }));
    // And out to the side, throwing the pilot chute.
    change("PullingMain", ArchWith([](CPose& p) {
               Arm(p, "Right", {-0.2f, 0.1f, 1}, {-0.2f, 0.1f, 1});
               Arm(p, "Left", Left({-0.1f, 0.8f, 0.6f}), Left({-0.2f, 1, 0.1f}));
           }));
    // Opening: upright, the hands up at the risers.
    CPose grab = SittingInHarness(0);
    ArmsOnRisers(grab);
    CPose grabHigher = grab;
    Arms(grabHigher, {-0.05f, 0.85f, 0.55f}, {-0.1f, 0.9f, -0.5f});
    out.push_back(MakeAnimation(model, "GrabRisers", {{0.0f, grab}, {1.0f, grabHigher}}));

    // Under canopy.
    out.push_back(MakeAnimation(model, "IdleCanopyRide",
                                {{0.0f, SittingInHarness(0)}, {1.0f, SittingInHarness(1)}, {2.0f, SittingInHarness(0)}}));
    const struct
    {
        const char* m_Name;
        const CControlPoses& m_Poses;
    } controls[] = {{"ToggleTurn", kToggle}, {"RearRiserTurn", kRearRiser}, {"FrontRiserTurn", kFrontRiser}};
    for (const auto& control : controls) {
        for (const std::string side : {"Left", "Right"}) {
            const CControlPoses& p = control.m_Poses;
            out.push_back(ArmAnimation(model, side + control.m_Name, side, p.m_RestUpper, p.m_RestLower,
                                       p.m_PullUpper, p.m_PullLower));
        }
    }
    // The stowed toggle sits high on the rear riser; unstowing pulls it down
    // to where the toggle rests.
    const CVector stowedUpper(-0.05f, 0.8f, 0.6f), stowedLower(-0.1f, 0.85f, -0.55f);
    for (const std::string side : {"Left", "Right"}) {
        out.push_back(ArmAnimation(model, side + "ReachStowed", side, stowedUpper, stowedLower,
                                   {-0.05f, 0.78f, 0.62f}, {-0.1f, 0.83f, -0.57f}));
        out.push_back(ArmAnimation(model, side + "Unstow", side, stowedUpper, stowedLower, kToggle.m_RestUpper,
                                   kToggle.m_RestLower));
    }

    // On the ground.
    out.push_back(MakeAnimation(model, "Walking",
                                {{0.0f, Step(0)}, {0.3f, Step(1)}, {0.6f, Step(0)}, {0.9f, Step(-1)}, {1.2f, Step(0)}}));
    out.push_back(MakeAnimation(model, "PLF",
                                {{0.0f, Landing(0, 0, 0.3f)},
                                 {0.4f, Landing(10, 0.25f, 1)},
                                 {0.9f, Landing(60, 0.6f, 1)},
                                 {1.5f, Landing(85, 0.78f, 0.8f)}}));
}

} // namespace

CMeshModel BodyModel(const std::string& physicsSources)
{
    CMeshModel model;
    model.m_Name = "Body";
    model.m_Bones = ReadSkeleton(physicsSources + "/Jumper.xml");
    BodyGeometry(model);
    BodyAnimations(model);
    return model;
}

namespace {

// The helmet leaves the face and the neck open.
bool HelmetShell(const CVector& local)
{
    const bool face = local.x > 0.035f && local.y < 0.045f;
    const bool neck = local.y < -0.085f;
    return !face && !neck;
}

} // namespace

CMeshModel HeadModel()
{
    CMeshModel model;
    model.m_Name = "Head";
    CGeometryBuilder b(model);
    b.Use("Dravonkel/Helmet");
    b.Ellipsoid({-0.005f, 0.012f, 0}, {0.12f, 0.132f, 0.108f}, CQuaternion::IDENTITY, 14, 20, &HelmetShell);
    b.Use("Dravonkel/Goggles");
    b.Box({0.1f, 0.032f, 0}, {0.012f, 0.022f, 0.066f});
    b.Box({0.0f, 0.036f, 0.1f}, {0.09f, 0.009f, 0.008f}); // the goggles' strap
    b.Box({0.0f, 0.036f, -0.1f}, {0.09f, 0.009f, 0.008f});
    return model;
}

} // namespace meshgen
