-- Camera 1: chases the jumper from behind, a little above him. Chosen again
-- as he touches down near the ground (the landing does so), or once he stands
-- still there, it frames him from his side and a little above, so that he is
-- seen against the ground beside his canopy, not behind it.
--
-- The program calls Initialize once when this camera is chosen and Update
-- every frame. It sets these globals before each call:
--   Camera            the camera (GetPos, SetPos, LookAt, ...)
--   Timing            m_Elapsed: seconds since the last frame
--   JumperPos         where the jumper is (the finish of a trajectory on show)
--   TrajectoryStart, TrajectoryFinish, MousePosition, TargetPos

local distance = 12    -- metres behind the jumper
local height = 3       -- metres above him
local catchUp = 3      -- how quickly the camera closes the gap, per second
local turning = 1.5    -- metres a second across below which "behind" stays as it was
local turnRate = math.rad(120) -- the fastest "behind" follows a turn, per second
local nearby = 60      -- metres: a camera this near him keeps its side when chosen again
local aside = 10       -- metres beside him once he has landed
local asideHeight = 3
local stillSpeed = 2   -- metres a second below which he stands still
local stillTime = 0.5  -- seconds he must stand still
local lowEnough = 15   -- metres above the target's height: on the ground, not in the aircraft

local heading          -- horizontal direction the jumper moves in
local lastJumperPos
local position
local still = 0        -- seconds he has stood still near the ground
local landed = false   -- seen from beside until the camera is chosen anew

local function Flat(v)
    return CVector(v.x, 0, v.z)
end

-- The level direction `from` turned towards `to` about the vertical, by at
-- most `most` radians.
local function Towards(from, to, most)
    local angle = math.atan2(from.z * to.x - from.x * to.z, from.x * to.x + from.z * to.z)
    angle = math.max(-most, math.min(most, angle))
    local c, s = math.cos(angle), math.sin(angle)
    return CVector(from.x * c + from.z * s, 0, -from.x * s + from.z * c)
end

-- Where the camera wants to be: behind the jumper along his heading, or
-- beside him once he has landed.
local function Wanted()
    if landed then
        local side = CVector(-heading.z, 0, heading.x)
        return JumperPos + side * aside + CVector(0, asideHeight, 0)
    end
    return JumperPos - heading * distance + CVector(0, height, 0)
end

function Initialize()
    -- Chosen again near him (the landing does so at the touch-down), the
    -- camera stays on the side it was; otherwise, until he moves, "behind"
    -- means on the far side from the target.
    local near = (JumperPos - Camera:GetPrevModeLastPos()):length() <= nearby
    heading = Flat(JumperPos - Camera:GetPrevModeLastPos())
    if not near or heading:length() < 0.01 then
        heading = Flat(TargetPos - JumperPos)
    end
    if heading:length() < 0.01 then
        heading = CVector(0, 0, -1)
    end
    heading:normalize()
    lastJumperPos = JumperPos
    still = 0
    -- Chosen again by the touch-down: beside him at once.
    landed = near and JumperPos.y < TargetPos.y + lowEnough
    position = Wanted()
    Camera:SetPos(position)
    Camera:LookAt(JumperPos)
end

function Update()
    local elapsed = Timing.m_Elapsed
    local moved = Flat(JumperPos - lastJumperPos)
    -- Small steps (a stumble) leave "behind" where it is, and it follows a
    -- turn no faster than a canopy turns: swung round at once (a bounce back
    -- on touching down), the camera would cut through him.
    if moved:length() > math.max(0.01, turning * elapsed) then
        moved:normalize()
        heading = Towards(heading, moved, turnRate * elapsed)
        heading:normalize()
    end
    if elapsed > 0 then
        local speed = (JumperPos - lastJumperPos):length() / elapsed
        if speed < stillSpeed and JumperPos.y < TargetPos.y + lowEnough then
            still = still + elapsed
        else
            still = 0
        end
        landed = landed or still >= stillTime
    end
    lastJumperPos = JumperPos

    local share = math.min(1, catchUp * elapsed)
    position = position + (Wanted() - position) * share
    Camera:SetPos(position)
    Camera:LookAt(JumperPos)
end
