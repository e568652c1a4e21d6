#include "toolkit/graphics/polygon_fill.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"

YYPolygonWork yyPolygonWork;

namespace {

constexpr int kBordersCross = 28;

// Decomposition states of a vertex; a positive state is the number of the
// vertex that was found inside its triangle.
constexpr int kTestAsEar = 0;
constexpr int kReflex = -1;
constexpr int kGone = -2;

// The 24-bit fraction of a real: the candidate triangle's box is grown by one
// unit of it so that a vertex on the box's edge is still looked at.
constexpr double kBoxGrowth = 1.0 / 8388608.0;

std::size_t at(int vertex) { return static_cast<std::size_t>(vertex - 1); }

// ----- The outline in real coordinates, vertices numbered from 1, cyclic. -----

struct Outline {
  std::span<const float> x;
  std::span<const float> y;
  int n = 0;

  double X(int v) const { return x[at(v)]; }
  double Y(int v) const { return y[at(v)]; }
  int after(int v) const { return v == n ? 1 : v + 1; }
  int before(int v) const { return v == 1 ? n : v - 1; }
  bool coincident(int a, int b) const { return X(a) == X(b) && Y(a) == Y(b); }
  // The turn p -> q -> r; both products of reals are exact in double, so
  // collinear vertices always give false.
  bool turn(int p, int q, int r) const {
    return (Y(q) - Y(p)) * (X(r) - X(q)) > (X(q) - X(p)) * (Y(r) - Y(q));
  }
};

bool within(double v, double end1, double end2) {
  return std::min(end1, end2) <= v && v <= std::max(end1, end2);
}

// A vertex on an axis-parallel edge of the triangle: the first edge (a-b, b-c,
// a-c) that shares one x or one y with d decides, when it puts d on the edge.
bool onAxisParallelEdge(const Outline& o, int a, int b, int c, int d) {
  const std::array<std::array<int, 2>, 3> edges = {{{a, b}, {b, c}, {a, c}}};
  for (const auto& [p, q] : edges) {
    if (o.X(p) == o.X(q) && o.X(q) == o.X(d)) return within(o.Y(d), o.Y(p), o.Y(q));
    if (o.Y(p) == o.Y(q) && o.Y(q) == o.Y(d)) return within(o.X(d), o.X(p), o.X(q));
  }
  return false;
}

bool onNegativeSide(const Outline& o, int v, int d, int p) {
  return (o.X(d) - o.X(v)) * (o.Y(p) - o.Y(v)) - (o.Y(d) - o.Y(v)) * (o.X(p) - o.X(v)) < 0.0;
}

// d lies inside the triangle when each line from a corner through d parts the
// other two corners.
bool insideTriangle(const Outline& o, int a, int b, int c, int d) {
  return onNegativeSide(o, a, d, b) != onNegativeSide(o, a, d, c) &&
         onNegativeSide(o, b, d, a) != onNegativeSide(o, b, d, c) &&
         onNegativeSide(o, c, d, a) != onNegativeSide(o, c, d, b);
}

// The first vertex outside the window a-b-c that lies in its triangle, or 0.
int blockingVertex(const Outline& o, int a, int b, int c) {
  const double minX = std::min({o.X(a), o.X(b), o.X(c)});
  const double maxX = std::max({o.X(a), o.X(b), o.X(c)});
  const double minY = std::min({o.Y(a), o.Y(b), o.Y(c)});
  const double maxY = std::max({o.Y(a), o.Y(b), o.Y(c)});
  const double xlo = minX - std::abs(minX) * kBoxGrowth;
  const double xhi = maxX + std::abs(maxX) * kBoxGrowth;
  const double ylo = minY - std::abs(minY) * kBoxGrowth;
  const double yhi = maxY + std::abs(maxY) * kBoxGrowth;
  for (int d = o.after(c); d != a; d = o.after(d)) {
    if (!(xlo < o.X(d) && o.X(d) < xhi && ylo < o.Y(d) && o.Y(d) < yhi)) continue;
    if (onAxisParallelEdge(o, a, b, c, d) || insideTriangle(o, a, b, c, d)) return d;
  }
  return 0;
}

bool isEar(const Outline& o, int a, int b, int c, bool clockwise, std::vector<int>& state) {
  int& sb = state[static_cast<std::size_t>(b)];
  if (sb < kTestAsEar) return false;
  if (sb > kTestAsEar) {
    if (state[static_cast<std::size_t>(sb)] != kGone) return false;
    sb = kTestAsEar;
  }
  if (o.turn(a, b, c) != clockwise) {
    sb = kReflex;
    return false;
  }
  if (const int d = blockingVertex(o, a, b, c); d != 0) {
    sb = d;
    return false;
  }
  return true;
}

enum class Attempt { complete, failed, noOutline };

// The first vertex next to s, walking by `step`, that is not coincident with
// s, among `limit` vertices; 0 when there is none.  `passed` counts the
// coincident ones passed over.
template <typename Step>
int firstDistinct(const Outline& o, int s, int limit, Step step, int& passed) {
  passed = 0;
  for (int v = step(s), i = 0; i < limit; ++i, v = step(v)) {
    if (!o.coincident(v, s)) return v;
    ++passed;
  }
  return 0;
}

// One round of ear clipping that starts at vertex s.
Attempt clipEars(const Outline& o, int s, std::vector<int>& state, std::span<YYTriangle> list,
                 int& count) {
  std::fill(state.begin(), state.end(), kTestAsEar);
  count = 0;
  const int n = o.n;
  int passed = 0;
  int unused = 0;
  const int next = firstDistinct(o, s, n - 2, [&](int v) { return o.after(v); }, passed);
  const int prev = next == 0 ? 0 : firstDistinct(o, s, n - 2 - passed, [&](int v) { return o.before(v); }, unused);
  if (next == 0 || prev == 0) return Attempt::noOutline;

  // The outline's turning sense, taken at the start vertex.
  const bool clockwise = o.turn(prev, s, next);
  int a = s;
  int b = next;
  int failures = n;
  for (;;) {
    // c: the next vertex still there; vertices on top of b drop out on the way.
    int c = 0;
    for (int v = o.after(b), i = 0; i < n - 1; ++i, v = o.after(v)) {
      int& sv = state[static_cast<std::size_t>(v)];
      if (sv == kGone) continue;
      if (o.coincident(v, b)) {
        sv = kGone;
        continue;
      }
      c = v;
      break;
    }
    if (c == 0 || c == a || count == static_cast<int>(list.size())) return Attempt::complete;

    if (isEar(o, a, b, c, clockwise, state)) {
      list[static_cast<std::size_t>(count++)] = {a, b, c};
      state[static_cast<std::size_t>(b)] = kGone;
      state[static_cast<std::size_t>(a)] = kTestAsEar;
      state[static_cast<std::size_t>(c)] = kTestAsEar;
      b = c;
      failures = n;
    } else {
      a = b;
      b = c;
      if (--failures <= 0) return Attempt::failed;
    }
  }
}

// ----- Colours of the work area. -----

struct Components {
  int red = 0;
  int green = 0;
  int blue = 0;
};

Components componentsOf(std::int32_t colour) {
  Components c;
  YYRGBSPLIT(colour, c.red, c.green, c.blue);
  return c;
}

std::int32_t packed(const Components& c) { return c.blue * 65536 + c.green * 256 + c.red; }

struct Shade {
  double red = 0.0;
  double green = 0.0;
  double blue = 0.0;
};

Shade shadeOf(std::int32_t colour) {
  const Components c = componentsOf(colour);
  return {c.red / 255.0, c.green / 255.0, c.blue / 255.0};
}

Shade blend(const Shade& from, const Shade& to, double t) {
  return {(1.0 - t) * from.red + t * to.red, (1.0 - t) * from.green + t * to.green,
          (1.0 - t) * from.blue + t * to.blue};
}

int level(double component) { return std::clamp(static_cast<int>(component * 255.99), 0, 255); }

std::int32_t packed(const Shade& s) { return packed(Components{level(s.red), level(s.green), level(s.blue)}); }

// ----- Clean-up of the outline. -----

bool sameDevicePoint(const YYPolygonWork& w, int a, int b) {
  return w.deviceX[at(a)] == w.deviceX[at(b)] && w.deviceY[at(a)] == w.deviceY[at(b)];
}

template <typename Array>
void dropEntry(Array& values, int vertex, int n) {
  std::copy(values.begin() + vertex, values.begin() + n, values.begin() + (vertex - 1));
}

void removeVertex(std::span<float> realX, std::span<float> realY, YYPolygonWork& w, int k) {
  const int n = w.vertexCount;
  dropEntry(realX, k, n);
  dropEntry(realY, k, n);
  dropEntry(w.deviceX, k, n);
  dropEntry(w.deviceY, k, n);
  dropEntry(w.colours, k, n);
  --w.vertexCount;
}

// Runs of neighbours on one device pixel become their last vertex, in the run's
// average colour.  False when a triangle loses a corner: nothing is drawn.
bool collapseCoincidentRuns(std::span<float> realX, std::span<float> realY, YYPolygonWork& w) {
  Components sum;
  int run = 0;
  const auto closeRun = [&](int k) {
    w.colours[at(k)] = packed(Components{sum.red / run, sum.green / run, sum.blue / run});
    run = 0;
  };
  int k = 1;
  while (k < w.vertexCount) {
    if (!sameDevicePoint(w, k, k + 1)) {
      if (run > 0) closeRun(k);
      ++k;
      continue;
    }
    if (w.vertexCount == 3) return false;
    if (run == 0) {
      sum = componentsOf(w.colours[at(k)]);
      run = 1;
    }
    const Components added = componentsOf(w.colours[at(k + 1)]);
    sum = {sum.red + added.red, sum.green + added.green, sum.blue + added.blue};
    ++run;
    removeVertex(realX, realY, w, k);
  }
  if (run > 0) closeRun(k);
  return true;
}

// A last vertex that repeats the first is dropped; the first takes the average.
bool dropClosingVertex(YYPolygonWork& w) {
  const int n = w.vertexCount;
  if (n < 2 || !sameDevicePoint(w, 1, n)) return true;
  if (n == 3) return false;
  const Components first = componentsOf(w.colours[0]);
  const Components last = componentsOf(w.colours[at(n)]);
  w.colours[0] = packed(Components{(first.red + last.red) / 2, (first.green + last.green) / 2,
                                   (first.blue + last.blue) / 2});
  --w.vertexCount;
  return true;
}

void drawTriangles(const int& shading, const int& clipXMin, const int& clipYMin, const int& clipXMax,
                   const int& clipYMax, YYPixelRoutine pixel, YYTriangleRoutine triangle) {
  YYPolygonWork& w = yyPolygonWork;
  const auto n = static_cast<std::size_t>(w.vertexCount);
  const std::span<const YYTriangle> list(w.triangles.data(), static_cast<std::size_t>(w.triangleCount));
  if (shading == kShadeTriangles && triangle != nullptr) {
    // Not drawn unless the routine says so.
    w.shadingStatus = 1;
    triangle(std::span<const std::int32_t>(w.deviceX.data(), n),
             std::span<const std::int32_t>(w.deviceY.data(), n),
             std::span<const std::int32_t>(w.colours.data(), n), list, w.shadingStatus);
    if (w.shadingStatus == 0) return;
  }
  for (const YYTriangle& t : list) YYShadeTriangle(t, clipXMin, clipYMin, clipXMax, clipYMax, pixel);
}

}  // namespace

void YYPolygonDecompose(std::span<const float> x, std::span<const float> y, const int& vertexCount,
                        std::span<YYTriangle> triangles, int& triangleCount) {
  triangleCount = 0;
  const int n = std::clamp(vertexCount, 0, static_cast<int>(std::min(x.size(), y.size())));
  if (n < 3) return;
  const Outline o{x, y, n};
  int top = 1;
  for (int v = 2; v <= n; ++v) {
    if (o.Y(v) > o.Y(top)) top = v;
  }

  std::vector<int> state(static_cast<std::size_t>(n) + 1, kTestAsEar);
  int s = top;
  for (int attempt = 0; attempt < n; ++attempt, s = o.after(s)) {
    switch (clipEars(o, s, state, triangles, triangleCount)) {
      case Attempt::complete:
        return;
      case Attempt::noOutline:
        triangleCount = 0;
        return;
      case Attempt::failed:
        break;
    }
  }
  // No start vertex clips the whole outline: its borders cross.  What the
  // attempt from the top vertex found is still drawn.
  clipEars(o, top, state, triangles, triangleCount);
  YYErrorReport(kBordersCross, "YYPolygonDecompose");
}

void YYShadeTriangle(const YYTriangle& triple, const int& clipXMin, const int& clipYMin,
                     const int& clipXMax, const int& clipYMax, YYPixelRoutine pixel) {
  if (pixel == nullptr) return;
  const YYPolygonWork& w = yyPolygonWork;
  std::array<long long, 3> xs{};
  std::array<long long, 3> ys{};
  std::array<Shade, 3> shades{};
  for (std::size_t i = 0; i < 3; ++i) {
    const int v = triple[i];
    if (v < 1 || v > kPolygonVertices) return;
    xs[i] = w.deviceX[at(v)];
    ys[i] = w.deviceY[at(v)];
    shades[i] = shadeOf(w.colours[at(v)]);
  }
  const long long ymin = std::min({ys[0], ys[1], ys[2]});
  const long long ymax = std::max({ys[0], ys[1], ys[2]});
  if (ymin > clipYMax || ymax < clipYMin) return;

  // Edges from vertex j to vertex i: P3 to P1, P1 to P2, P2 to P3.  Of two
  // edges that meet at one x, the first visited gives the colour.
  constexpr std::array<std::array<std::size_t, 2>, 3> edges = {{{2, 0}, {0, 1}, {1, 2}}};
  const long long last = std::min<long long>(ymax, clipYMax);
  for (long long row = std::max<long long>(ymin, clipYMin); row <= last; ++row) {
    long long left = clipXMax + 1LL;
    long long right = clipXMin - 1LL;
    Shade leftShade;
    Shade rightShade;
    for (const auto& [j, i] : edges) {
      if (ys[i] == ys[j] || row < std::min(ys[i], ys[j]) || row > std::max(ys[i], ys[j])) continue;
      const double t = static_cast<double>(row - ys[j]) / static_cast<double>(ys[i] - ys[j]);
      const auto x = static_cast<long long>(xs[j] * (1.0 - t) + xs[i] * t + 0.5);
      const Shade shade = blend(shades[j], shades[i], t);
      if (x < left) {
        left = x;
        leftShade = shade;
      }
      if (x > right) {
        right = x;
        rightShade = shade;
      }
    }
    if (left > clipXMax || right < clipXMin) continue;

    Shade step;
    if (left < right) {
      const auto width = static_cast<double>(right - left);
      step = {(rightShade.red - leftShade.red) / width, (rightShade.green - leftShade.green) / width,
              (rightShade.blue - leftShade.blue) / width};
    }
    const long long from = std::max<long long>(left, clipXMin);
    const long long to = std::min<long long>(right, clipXMax);
    const auto skipped = static_cast<double>(from - left);
    Shade shade{leftShade.red + step.red * skipped, leftShade.green + step.green * skipped,
                leftShade.blue + step.blue * skipped};
    const auto y = static_cast<std::int32_t>(row);
    for (long long column = from; column <= to; ++column) {
      const auto x = static_cast<std::int32_t>(column);
      pixel(x, y, packed(shade));
      shade.red += step.red;
      shade.green += step.green;
      shade.blue += step.blue;
    }
  }
}

void YYPolygonFill(const int& shading, const int& clipXMin, const int& clipYMin, const int& clipXMax,
                   const int& clipYMax, YYPixelRoutine pixel, YYTriangleRoutine triangle) {
  const std::span<float> realX(yyGrPointBuffer.x);
  const std::span<float> realY(yyGrPointBuffer.y);
  YYPolygonWork& w = yyPolygonWork;
  // The work area holds 1000 vertices; a larger count is cut to that.
  const int room = static_cast<int>(std::min({realX.size(), realY.size(), std::size_t{kPolygonVertices}}));
  w.vertexCount = std::clamp(w.vertexCount, 0, room);
  w.triangleCount = 0;
  if (!collapseCoincidentRuns(realX, realY, w) || !dropClosingVertex(w)) return;

  if (w.vertexCount == 3) {
    w.triangles[0] = {1, 2, 3};
    w.triangleCount = 1;
  } else {
    YYPolygonDecompose(realX, realY, w.vertexCount, w.triangles, w.triangleCount);
    if (w.triangleCount == 0) return;
  }
  drawTriangles(shading, clipXMin, clipYMin, clipXMax, clipYMax, pixel, triangle);
}
