-- Camera 1: chases the jumper from behind, a little above him.
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

local heading          -- horizontal direction the jumper moves in
local lastJumperPos
local position

-- Where the camera wants to be: behind the jumper along his heading.
local function Wanted()
    return JumperPos - heading * distance + CVector(0, height, 0)
end

function Initialize()
    -- Until he moves, "behind" means on the far side from the target.
    heading = TargetPos - JumperPos
    heading.y = 0
    if heading:length() < 0.01 then
        heading = CVector(0, 0, -1)
    end
    heading:normalize()
    lastJumperPos = JumperPos
    position = Wanted()
    Camera:SetPos(position)
    Camera:LookAt(JumperPos)
end

function Update()
    local moved = JumperPos - lastJumperPos
    moved.y = 0
    if moved:length() > 0.01 then
        moved:normalize()
        heading = moved
    end
    lastJumperPos = JumperPos

    local share = math.min(1, catchUp * Timing.m_Elapsed)
    position = position + (Wanted() - position) * share
    Camera:SetPos(position)
    Camera:LookAt(JumperPos)
end
