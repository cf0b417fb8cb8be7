-- Camera 4 of the force-field edition: the editor's side view. It looks
-- straight along -z at the scene's plane z = 0 from where the editor put the
-- camera; the wheel moves it nearer or further, and whatever else moves the
-- camera across (x and y) is kept.
--
-- Globals set by the program before each call: Camera, Timing, JumperPos,
-- TrajectoryStart, TrajectoryFinish, MousePosition (x and y from 0 to 1
-- across the window, z the wheel), TargetPos.

local nearest = 20         -- metres from the plane
local farthest = 3000
local wheelStep = 0.1      -- metres per unit of wheel movement

local distance = nearest
local lastWheel = 0

local function Clamp(value)
    return math.max(nearest, math.min(farthest, value))
end

local function Face(x, y)
    Camera:SetPos(CVector(x, y, distance))
    Camera:LookAt(CVector(x, y, 0))
end

function Initialize()
    -- Switching modes puts the camera at the origin: start where the editor placed it.
    local start = Camera:GetPrevModeLastPos()
    distance = Clamp(start.z)
    lastWheel = MousePosition.z
    Face(start.x, start.y)
end

function Update()
    distance = Clamp(distance - (MousePosition.z - lastWheel) * wheelStep)
    lastWheel = MousePosition.z
    local pos = Camera:GetPos()
    Face(pos.x, pos.y)
end
