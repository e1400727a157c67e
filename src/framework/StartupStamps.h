// Time stamps of the start-up, for finding where the time to the first
// window goes. Only a benchmark build (CMake option KORVALIN_STARTUP_STAMPS)
// records them; in every other build the calls are empty and vanish.
#pragma once

namespace plat {

#ifdef KORVALIN_STARTUP_STAMPS
// Notes the performance counter under `what` (a literal).
void StartupStamp(const char* what);
// Writes the stamps beside the executable (its path with ".stamps"), one
// line "STAMP what ticks ticks-per-second" each.
void WriteStartupStamps();
#else
inline void StartupStamp(const char*) {}
inline void WriteStartupStamps() {}
#endif

}  // namespace plat
