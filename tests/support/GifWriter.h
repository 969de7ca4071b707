// A small GIF89a writer for test pictures: an animation whose every frame fills the whole
// picture with one colour, each frame with the same stored delay. The codes are written
// uncompressed (a clear code keeps the code width fixed), which every decoder reads.
#pragma once

#include <windows.h>

#include <vector>

namespace testsupport {

// The file's bytes: width x height, one frame per colour (0x00RRGGBB, at most 256), each
// stored with a delay of delay hundredths of a second.
std::vector<BYTE> GifBytes(int width, int height, const std::vector<DWORD>& frameColours, int delay);

// Writes such a GIF into the skin folder (created when needed); fails the test when it cannot.
void WriteSkinGif(const wchar_t* name, int width, int height, const std::vector<DWORD>& frameColours, int delay);

}  // namespace testsupport
