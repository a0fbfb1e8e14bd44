// The program's icon and status animation, drawn by code and encoded as
// .ico and uncompressed .avi files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace makeres {

// A straight-alpha RGBA picture, rows from the top.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // width * height * 4
};

// The icon: a keyboard key with a mouse pointer, drawn at `size` pixels.
Picture DrawIcon(int size);

// Frame `frame` of `frameCount` of the status indicator: dots on a circle,
// one lit dot going round on an opaque white ground.
Picture DrawIndicatorFrame(int size, int frame, int frameCount);

// An .ico file with 32-bit BGRA images and their AND masks, in the order given.
std::vector<std::uint8_t> EncodeIco(const std::vector<Picture>& images);

// An AVI file with one uncompressed 24-bit video stream ('vids', 'DIB ',
// BI_RGB) of the given frames, all of one size, at `framesPerSecond`.
std::vector<std::uint8_t> EncodeAvi(const std::vector<Picture>& frames, int framesPerSecond);

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace makeres
