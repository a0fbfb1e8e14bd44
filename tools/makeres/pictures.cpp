#include "tools/makeres/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace makeres {
namespace {

struct Color {
  int r, g, b;
};

struct Point {
  double x, y;
};

// Shapes are described in a 32 x 32 design space and scaled to the picture.
using Inside = std::function<bool(double x, double y)>;

class Canvas {
 public:
  explicit Canvas(int size) : size_(size), scale_(size / 32.0) {
    pic_.width = pic_.height = size;
    pic_.rgba.assign(static_cast<std::size_t>(size) * size * 4, 0);
  }

  void Fill(Color c) {
    for (std::size_t i = 0; i < pic_.rgba.size(); i += 4) {
      pic_.rgba[i] = static_cast<std::uint8_t>(c.r);
      pic_.rgba[i + 1] = static_cast<std::uint8_t>(c.g);
      pic_.rgba[i + 2] = static_cast<std::uint8_t>(c.b);
      pic_.rgba[i + 3] = 255;
    }
  }

  // Paints `c` over every pixel in proportion to the share of its 4 x 4
  // sample points that lie inside the shape (anti-aliased edges).
  void Paint(const Inside& inside, Color c) {
    constexpr int kSamples = 4;
    for (int py = 0; py < size_; ++py) {
      for (int px = 0; px < size_; ++px) {
        int hits = 0;
        for (int sy = 0; sy < kSamples; ++sy) {
          for (int sx = 0; sx < kSamples; ++sx) {
            double x = (px + (sx + 0.5) / kSamples) / scale_;
            double y = (py + (sy + 0.5) / kSamples) / scale_;
            if (inside(x, y)) ++hits;
          }
        }
        if (hits > 0) Blend(px, py, c, hits / double(kSamples * kSamples));
      }
    }
  }

  Picture Take() { return std::move(pic_); }

 private:
  void Blend(int x, int y, Color c, double alpha) {
    std::uint8_t* p = &pic_.rgba[(static_cast<std::size_t>(y) * size_ + x) * 4];
    double dstA = p[3] / 255.0;
    double outA = alpha + dstA * (1 - alpha);
    auto mix = [&](std::uint8_t dst, int src) {
      double v = (src * alpha + dst * dstA * (1 - alpha)) / outA;
      return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
    };
    p[0] = mix(p[0], c.r);
    p[1] = mix(p[1], c.g);
    p[2] = mix(p[2], c.b);
    p[3] = static_cast<std::uint8_t>(std::lround(outA * 255));
  }

  int size_;
  double scale_;
  Picture pic_;
};

Inside RoundRect(double l, double t, double r, double b, double radius) {
  return [=](double x, double y) {
    if (x < l || x > r || y < t || y > b) return false;
    double cx = std::clamp(x, l + radius, r - radius);
    double cy = std::clamp(y, t + radius, b - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
  };
}

Inside Circle(double cx, double cy, double radius) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

double SegmentDistance(Point a, Point b, double x, double y) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
  double ex = a.x + t * dx - x, ey = a.y + t * dy - y;
  return std::sqrt(ex * ex + ey * ey);
}

// A polyline drawn with round ends; closed when `closed`.
Inside Stroke(std::vector<Point> pts, double halfWidth, bool closed) {
  return [=](double x, double y) {
    std::size_t n = pts.size();
    std::size_t segments = closed ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i) {
      if (SegmentDistance(pts[i], pts[(i + 1) % n], x, y) <= halfWidth) return true;
    }
    return false;
  };
}

Inside Polygon(std::vector<Point> pts) {
  return [=](double x, double y) {
    bool in = false;
    for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      if ((pts[i].y > y) != (pts[j].y > y) &&
          x < (pts[j].x - pts[i].x) * (y - pts[i].y) / (pts[j].y - pts[i].y) + pts[i].x) {
        in = !in;
      }
    }
    return in;
  };
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutFourCC(std::vector<std::uint8_t>& out, const char* cc) {
  out.insert(out.end(), cc, cc + 4);
}

void Patch32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

// BITMAPINFOHEADER.
void PutBitmapHeader(std::vector<std::uint8_t>& out, int width, int height, int bits, std::uint32_t imageSize) {
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<unsigned>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
}

// Opens a RIFF chunk or list and returns the offset of its size field.
std::size_t BeginChunk(std::vector<std::uint8_t>& out, const char* id, const char* listType = nullptr) {
  PutFourCC(out, id);
  std::size_t sizeAt = out.size();
  Put32(out, 0);
  if (listType) PutFourCC(out, listType);
  return sizeAt;
}

void EndChunk(std::vector<std::uint8_t>& out, std::size_t sizeAt) {
  Patch32(out, sizeAt, static_cast<std::uint32_t>(out.size() - sizeAt - 4));
  if (out.size() % 2) out.push_back(0);
}

}  // namespace

Picture DrawIcon(int size) {
  Canvas c(size);
  // The key: dark rim, grey body, light top face with a letter.
  c.Paint(RoundRect(1.5, 3.5, 25.5, 27.5, 5), {52, 58, 72});
  c.Paint(RoundRect(2.7, 4.7, 24.3, 26.3, 4), {176, 184, 200});
  c.Paint(RoundRect(4.5, 5.5, 22.5, 21.5, 3.2), {238, 242, 250});
  const double w = size >= 32 ? 1.3 : 1.6;
  c.Paint(Stroke({{6.5, 18.5}, {11, 8.5}, {15.5, 18.5}}, w, false), {36, 84, 170});
  c.Paint(Stroke({{8.6, 14.5}, {13.4, 14.5}}, w, false), {36, 84, 170});
  // The mouse pointer over the key's lower right corner.
  std::vector<Point> arrow = {{0, 0}, {0, 16}, {4, 12}, {7, 18.5}, {9.6, 17.3}, {6.6, 11}, {11.5, 11}};
  for (Point& p : arrow) p = {15.5 + p.x * 1.05, 11.5 + p.y * 1.05};
  c.Paint(Stroke(arrow, size >= 32 ? 1.25 : 1.6, true), {0, 0, 0});
  c.Paint(Polygon(arrow), {255, 255, 255});
  c.Paint(Stroke(arrow, 0.6, true), {0, 0, 0});
  return c.Take();
}

Picture DrawIndicatorFrame(int size, int frame, int frameCount) {
  Canvas c(size);
  c.Fill({255, 255, 255});
  const double kPi = 3.14159265358979323846;
  const Color lit = {24, 112, 216};
  const Color dim = {198, 206, 220};
  for (int i = 0; i < frameCount; ++i) {
    // Dot i starts at the top and the lit dot goes clockwise; the two dots
    // behind it fade out, which makes the turning easy to see at 12 frames/s.
    double angle = -kPi / 2 + 2 * kPi * i / frameCount;
    int behind = (frame - i + frameCount) % frameCount;
    double t = behind == 0 ? 1.0 : behind == 1 ? 0.55 : behind == 2 ? 0.25 : 0.0;
    Color col = {static_cast<int>(dim.r + (lit.r - dim.r) * t), static_cast<int>(dim.g + (lit.g - dim.g) * t),
                 static_cast<int>(dim.b + (lit.b - dim.b) * t)};
    double r = behind == 0 ? 4.6 : 3.8;
    c.Paint(Circle(16 + 10.5 * std::cos(angle), 16 + 10.5 * std::sin(angle), r), col);
  }
  return c.Take();
}

std::vector<std::uint8_t> EncodeIco(const std::vector<Picture>& images) {
  std::vector<std::uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon
  Put16(out, static_cast<unsigned>(images.size()));
  std::vector<std::vector<std::uint8_t>> bodies;
  for (const Picture& p : images) {
    std::vector<std::uint8_t> body;
    const std::size_t maskStride = ((p.width + 31) / 32) * 4;
    const std::uint32_t xorSize = static_cast<std::uint32_t>(p.width * p.height * 4);
    const std::uint32_t andSize = static_cast<std::uint32_t>(maskStride * p.height);
    PutBitmapHeader(body, p.width, p.height * 2, 32, xorSize + andSize);
    for (int y = p.height - 1; y >= 0; --y) {
      for (int x = 0; x < p.width; ++x) {
        const std::uint8_t* s = &p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4];
        body.push_back(s[2]);
        body.push_back(s[1]);
        body.push_back(s[0]);
        body.push_back(s[3]);
      }
    }
    // AND mask: set bits are transparent where the alpha channel is not used.
    for (int y = p.height - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(maskStride, 0);
      for (int x = 0; x < p.width; ++x) {
        if (p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4 + 3] < 128) {
          row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
      }
      body.insert(body.end(), row.begin(), row.end());
    }
    bodies.push_back(std::move(body));
  }
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<std::uint8_t>(images[i].width >= 256 ? 0 : images[i].width));
    out.push_back(static_cast<std::uint8_t>(images[i].height >= 256 ? 0 : images[i].height));
    out.push_back(0);  // colours in palette
    out.push_back(0);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(bodies[i].size());
  }
  for (const auto& b : bodies) out.insert(out.end(), b.begin(), b.end());
  return out;
}

std::vector<std::uint8_t> EncodeAvi(const std::vector<Picture>& frames, int framesPerSecond) {
  const int width = frames.front().width;
  const int height = frames.front().height;
  const std::uint32_t stride = static_cast<std::uint32_t>((width * 3 + 3) & ~3);
  const std::uint32_t frameSize = stride * static_cast<std::uint32_t>(height);
  const std::uint32_t count = static_cast<std::uint32_t>(frames.size());
  const std::uint32_t usPerFrame = static_cast<std::uint32_t>(1000000 / framesPerSecond);

  std::vector<std::uint8_t> out;
  std::size_t riff = BeginChunk(out, "RIFF", "AVI ");
  std::size_t hdrl = BeginChunk(out, "LIST", "hdrl");

  std::size_t avih = BeginChunk(out, "avih");  // MainAVIHeader
  Put32(out, usPerFrame);
  Put32(out, frameSize * static_cast<std::uint32_t>(framesPerSecond));  // max bytes per second
  Put32(out, 0);     // padding granularity
  Put32(out, 0x10);  // AVIF_HASINDEX
  Put32(out, count);
  Put32(out, 0);  // initial frames
  Put32(out, 1);  // streams
  Put32(out, frameSize);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  EndChunk(out, avih);

  std::size_t strl = BeginChunk(out, "LIST", "strl");
  std::size_t strh = BeginChunk(out, "strh");  // AVIStreamHeader
  PutFourCC(out, "vids");
  PutFourCC(out, "DIB ");
  Put32(out, 0);  // flags
  Put16(out, 0);  // priority
  Put16(out, 0);  // language
  Put32(out, 0);  // initial frames
  Put32(out, 1);  // scale
  Put32(out, static_cast<std::uint32_t>(framesPerSecond));  // rate: rate / scale = frames per second
  Put32(out, 0);  // start
  Put32(out, count);
  Put32(out, frameSize);
  Put32(out, 0xFFFFFFFFu);  // quality: default
  Put32(out, 0);            // sample size: varies (one frame per chunk)
  Put16(out, 0);            // rcFrame
  Put16(out, 0);
  Put16(out, static_cast<unsigned>(width));
  Put16(out, static_cast<unsigned>(height));
  EndChunk(out, strh);
  std::size_t strf = BeginChunk(out, "strf");
  PutBitmapHeader(out, width, height, 24, frameSize);
  EndChunk(out, strf);
  EndChunk(out, strl);
  EndChunk(out, hdrl);

  std::size_t movi = BeginChunk(out, "LIST", "movi");
  const std::size_t moviData = movi + 4;  // index offsets count from the 'movi' list type
  std::vector<std::uint32_t> offsets;
  for (const Picture& p : frames) {
    offsets.push_back(static_cast<std::uint32_t>(out.size() - moviData));
    std::size_t chunk = BeginChunk(out, "00db");
    for (int y = height - 1; y >= 0; --y) {
      std::size_t rowStart = out.size();
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* s = &p.rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        out.push_back(s[2]);
        out.push_back(s[1]);
        out.push_back(s[0]);
      }
      while (out.size() - rowStart < stride) out.push_back(0);
    }
    EndChunk(out, chunk);
  }
  EndChunk(out, movi);

  std::size_t idx1 = BeginChunk(out, "idx1");
  for (std::uint32_t off : offsets) {
    PutFourCC(out, "00db");
    Put32(out, 0x10);  // AVIIF_KEYFRAME
    Put32(out, off);
    Put32(out, frameSize);
  }
  EndChunk(out, idx1);
  EndChunk(out, riff);
  return out;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace makeres
