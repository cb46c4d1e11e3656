#pragma once
// Short generated audio files for the tests (no outside tool needed).
#include <string>

namespace lorvan::testing {

// Writes a 16-bit stereo PCM WAV file with a sine tone.
void WriteSineWav(const std::string& path, double seconds, double hz, int rate = 44100, double amplitude = 0.5);

// The full path of a program on the search path, or empty.
std::string FindProgram(const std::string& name);

}  // namespace lorvan::testing
