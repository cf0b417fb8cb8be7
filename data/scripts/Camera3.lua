-- Camera 3: frames the trajectory on show, from its start to its finish, seen
-- from the side and from above. Without a trajectory both ends are the
-- jumper, and the camera frames him.
--
-- Globals set by the program before each call: Camera, Timing, JumperPos,
-- TrajectoryStart, TrajectoryFinish, MousePosition, TargetPos.

local margin = 25      -- metres added to the distance, so the ends stay inside
local pullBack = 0.9   -- distance per metre of trajectory
local rise = 0.35      -- height per metre of distance
local settle = 2       -- how quickly the camera moves to a new framing, per second
local drift = 10       -- metres across below which a trajectory has no side of its own

local position

local function Framing()
    local middle = (TrajectoryStart + TrajectoryFinish) * 0.5
    local along = TrajectoryFinish - TrajectoryStart
    along.y = 0
    -- A fall with little drift is seen from one fixed side, not from whichever
    -- way its last metres happened to go.
    if along:length() < drift then
        along = CVector(1, 0, 0)
    end
    along:normalize()
    -- Square to the trajectory, in the horizontal plane.
    local side = CVector(-along.z, 0, along.x)
    local distance = (TrajectoryFinish - TrajectoryStart):length() * pullBack + margin
    return middle + side * distance + CVector(0, distance * rise, 0), middle
end

function Initialize()
    local middle
    position, middle = Framing()
    Camera:SetPos(position)
    Camera:LookAt(middle)
end

function Update()
    local wanted, middle = Framing()
    local share = math.min(1, settle * Timing.m_Elapsed)
    position = position + (wanted - position) * share
    Camera:SetPos(position)
    Camera:LookAt(middle)
end
