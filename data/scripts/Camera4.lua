-- Camera 4: orbits the jumper by mouse. Moving the mouse left and right goes
-- round him, up and down changes the height, the wheel the distance.
--
-- Globals set by the program before each call: Camera, Timing, JumperPos,
-- TrajectoryStart, TrajectoryFinish, MousePosition (x and y from 0 to 1
-- across the window, z the wheel), TargetPos.

local radius = 15          -- metres from the jumper with the wheel at rest
local nearest = 3
local farthest = 80
local wheelStep = 0.01     -- metres per unit of wheel movement
local lowest = math.rad(-10)
local highest = math.rad(80)

local function Orbit()
    local angle = (MousePosition.x - 0.5) * 2 * math.pi
    local elevation = lowest + (1 - MousePosition.y) * (highest - lowest)
    local distance = math.max(nearest, math.min(farthest, radius - MousePosition.z * wheelStep))
    local flat = distance * math.cos(elevation)
    local offset = CVector(flat * math.sin(angle), distance * math.sin(elevation), flat * math.cos(angle))
    Camera:SetPos(JumperPos + offset)
    Camera:LookAt(JumperPos)
end

function Initialize()
    Orbit()
end

function Update()
    Orbit()
end
