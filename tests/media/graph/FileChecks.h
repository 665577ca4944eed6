// What a player would find in a written file: a full decode by ffmpeg and by GStreamer, and a
// frame after a seek.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace graphtest {

// Runs the program (found on PATH) and gives its standard output; its standard error and exit
// status go to `diagnostics` when the status is not 0. False when it could not be started.
bool RunProgram(const std::vector<std::string>& argv, std::vector<uint8_t>& output, std::string& diagnostics);

// Everything `ffmpeg -v error -i F -f null -` prints: empty for a file without a fault.
std::string FfmpegDecodeErrors(const std::string& path);

// The errors and warnings GStreamer posts while decoding every stream of the file to the end:
// empty for a file without a fault.
std::string GstDecodeProblems(const std::string& path);

// The frame at that time, reached by a seek, as top-down RGB rows of width x height; empty
// when ffmpeg gives none.
std::vector<uint8_t> FrameAt(const std::string& path, double seconds, int width, int height);

}  // namespace graphtest
