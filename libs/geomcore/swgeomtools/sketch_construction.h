// Drawing a meta sketch into the SolidWorks sketch that is open for editing.
#pragma once

#include "metamodel/m3d/geom3d.h"
#include "metamodel/m3d/sketch.h"
#include "platform/sldworks/api/sldworks_api.h"

// The sketch's transform data as a matrix (matrixFromVariant); a null sketch raises E_POINTER.
matrixC4x4<double> sketchTransformMatrix(ISketch* sketch);

// Draws the loops (lines, arcs, circles; other shapes are skipped) and the optional centre
// line of `sketch` into the document's active sketch and returns that sketch. A 2D point p
// goes to (p, 0, 1) x placement x sketchTransformMatrix; radii are passed unchanged.
//
// Each loop is closed by shared end points: its first line or arc keeps its own points, every
// later one starts where the previous one ended, and the last one ends where the first one
// started (a loop of one line or arc keeps both its points). Circles and skipped shapes take
// no part in this chaining. The ends so joined must meet within 0.001 (millimetres when a
// part is built), or 1e-6 of the loop's size (the larger side of the box of its ends) when
// that is larger: rounding noise; but never over more than a hundredth of the loop's size. A
// loop with a larger gap is refused before anything is drawn ("Loop N of sketch "NAME" is
// open: a gap of G at (X, Y)", shown as a creation warning; X, Y the end of the shape before
// the gap), as is a shape with a number that is not finite ("Loop N of sketch "NAME": LINE
// (X1, Y1) to (X2, Y2) holds a number that is not finite"), and loops whose contours (each
// circle one, the lines and arcs of a loop one) come within 1e-6 of one another: SolidWorks
// makes no profile of them ("Loops N and M of sketch "NAME" cross or touch at (X, Y)", or
// "Loop N ... holds contours that cross or touch at ..."); a loop inside another that keeps
// apart from it is a hole.
//
// Failures are thrown as errorC: no active sketch ("No active solidWorks sketch found"), a
// refused arc, circle or centre line (each shown as a creation warning first), a refused line
// ("Could not create sketchline from (X1, Y1) to (X2, Y2) in loop N of sketch "NAME"", not
// shown); a refused line, arc or circle is named with its numbers in sketch coordinates, and
// why as far as they show (": its ends coincide", ": its three points lie on one line",
// ": its radius is not positive", ": it lies beyond SolidWorks' model space (500 m from the
// origin)"). What was drawn before stays in the sketch.
ISketchPtr createSketch(const IModelDoc2Ptr& doc, const m3dSketchC& sketch,
                        matrixC4x4<double> placement);
