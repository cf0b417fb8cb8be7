-- Camera 2: the landing view. The camera stands at the target at eye height
-- and watches the jumper come in.
--
-- Globals set by the program before each call: Camera, Timing, JumperPos,
-- TrajectoryStart, TrajectoryFinish, MousePosition, TargetPos.

local eyeHeight = 1.7  -- metres above the target
local step = 2         -- metres aside, so the target itself stays in view

local function Stand()
    Camera:SetPos(TargetPos + CVector(step, eyeHeight, step))
    Camera:LookAt(JumperPos)
end

function Initialize()
    Stand()
end

function Update()
    Stand()
end
