// Searches that find the SolidWorks face or edge of the part being built at a position of the
// meta model, which keeps such places only as points and directions. Tolerances are absolute
// (not scaled by the model's size).
#pragma once

#include "metamodel/m3d/geom3d.h"
#include "platform/sldworks/api/sldworks_api.h"

// The planar face of the part's solid bodies whose normal agrees with `normal` (dot product
// above 0.99999999), whose plane holds `point` (distance below 1e-6) and that holds the point
// projected onto that plane. 1 with `face` set when found; 0 with `face` empty otherwise.
// A body of more than 50 faces ends the search at once with 0. A document that is not a part
// raises E_POINTER; failed calls and too short plane data raise their COM errors.
int getPlanarFaceFromPointAndNormal(IModelDoc2Ptr& doc, const vectorC3d<double>& point,
                                    const vectorC3d<double>& normal, IFace2Ptr& face);

// Surface kinds of getFaceFromPoint (0: any surface).
inline constexpr int faceKindPlane = 1;
inline constexpr int faceKindCylinder = 2;
inline constexpr int faceKindCone = 4;
inline constexpr int faceKindOffset = 8;

// The face through `point` (every coordinate of its closest point within 1e-8) whose surface
// passes the kind filter and whose normal does not point along `direction` (dot product below
// 0.9999): first the face a ray selection (radius 1e-6) hits, then every face of the bodies of
// `bodyKind` in order (in an assembly its components' bodies in assembly space). `face` is
// emptied on entry; 1 with `face` set when found, else 0.
int getFaceFromPoint(const double point[3], const double direction[3], IModelDoc2Ptr doc, int kinds,
                     int bodyKind, IFace2Ptr& face);

// How far the point lies from the edge: the distance to the edge's closest point. A
// SolidWorks failure leaves as _com_error.
double edgeDistanceToPoint(IEdge* edge, const double point[3]);

// The first body edge whose closest point lies within 1e-7 of `point`; empty when none or the
// document is not a part. A failure while one edge is examined skips that edge.
IEdgePtr getBodyEntityFromPoint(IModelDoc2Ptr doc, const double point[3]);
