// The program's fixed numbers: screen mode, mesh size, object count, and the
// single-precision full turn every angle in the program is measured against.
#pragma once

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kScreenBits = 32;

constexpr int kSegments = 32;                               // steps around the ring and around the tube
constexpr int kVertexCount = kSegments * kSegments * 6;     // two triangles per quad, no sharing
constexpr int kObjectCount = 4;

// 2 pi rounded to single precision (bits 0x40C90FDB), slightly above the true 2 pi.
constexpr float kTwoPi = 6.2831855f;
static_assert(kTwoPi == 0x1.921fb6p+2f, "2 pi must be the single-precision 0x40C90FDB");
static_assert(kVertexCount == 6144, "the mesh is 6144 vertices");
