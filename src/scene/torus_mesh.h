// The one vertex list all four tori are drawn from: a torus of ring radius
// 1.0 and tube radius 0.5 around the z axis, as a plain triangle list.
#pragma once

#include <windows.h>
#include <d3dtypes.h>

// kVertexCount vertices, empty until BuildTorusMesh succeeds; the teardown
// frees it with delete[] and empties it.
extern D3DVERTEX* torusVertices;

// The vertex at ring step i and tube step j (each 0..kSegments; step
// kSegments is the full turn, computed rather than wrapped to step 0).
D3DVERTEX MakeTorusVertex(int i, int j);

// Allocates and fills torusVertices: quad (i, j) occupies the six vertices
// from (i * kSegments + j) * 6, as two triangles wound clockwise seen from
// outside. Returns false, leaving torusVertices empty, when the allocation
// fails. The mesh never changes, so a mesh already built is kept.
bool BuildTorusMesh();
