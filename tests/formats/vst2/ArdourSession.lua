-- Run by ardour7-lua from ardour_test.sh: loads the VST2 module and the VST3
-- bundle into one track of a new session, checks their parameters, lets the
-- session roll, and checks that a changed setting survives saving the session
-- and loading it again. Any failed check ends the script with an error.

local names = { "onBypass", "chorusType", "rate", "rateSync", "depth", "mix", "level", "stereo", "sync" }
local kinds = { { "VST2", ARDOUR.PluginType.LXVST }, { "VST3", ARDOUR.PluginType.VST3 } }
local dir, name = arg[1], "chorus-session"

assert (AudioEngine:set_backend ("None (Dummy)", "", ""), "no dummy backend")
local s = create_session (dir, name, 48000)
assert (s, "no session")

local track = s:new_audio_track (2, 2, nil, 1, "chorus", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front ()

for i, kind in ipairs (kinds) do
  local p = ARDOUR.LuaAPI.new_plugin (s, "Modulix QR7150", kind[2], "")
  assert (not p:isnil (), kind[1] .. " did not load")
  assert (track:add_processor_by_index (p, i - 1, nil, true), kind[1] .. " was not added")

  local plugin = p:to_insert ():plugin (0)
  assert (plugin:name () == "Modulix QR7150" and plugin:maker () == "Velora", kind[1] .. " names itself wrongly")

  for index, expected in ipairs (names) do
    assert (plugin:parameter_label (index - 1) == expected, kind[1] .. " parameter " .. expected)
  end

  assert (ARDOUR.LuaAPI.set_processor_param (p, 2, 0.625), kind[1] .. " rate not set")
  print (kind[1] .. " loaded, parameters: " .. plugin:parameter_count ())
end

s:request_roll (ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep (2000000)
s:request_stop (false, false, ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep (200000)

for i, kind in ipairs (kinds) do
  local ok, stats = track:nth_plugin (i - 1):to_insert ():get_stats (0, 0, 0, 0)
  assert (ok and stats[3] > 0, kind[1] .. " did not process")
  print (kind[1] .. " processed")
end

assert (s:save_state ("", false, false, false, false, false) == 0, "not saved")
close_session ()

s = load_session (dir, name)
assert (s, "session did not load again")
track = s:route_by_name ("chorus")

for i, kind in ipairs (kinds) do
  local value = ARDOUR.LuaAPI.get_processor_param (track:nth_plugin (i - 1), 2, true)
  assert (math.abs (value - 0.625) < 1e-6, kind[1] .. " lost its rate: " .. tostring (value))
  print (kind[1] .. " restored")
end

close_session ()
print ("ARDOUR CHECK PASSED")
