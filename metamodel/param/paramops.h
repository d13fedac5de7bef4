#pragma once
// The steps behind the scale and transform of parametric entities.
//
// Shared locations and feature vectors are never changed by these steps: an instance that
// moves gets a location and a vector that are either found equal in the document (within
// 1e-8) or appended to the document lists, and its reference is repointed. An entity that
// lists feature or annotation instances (a model instance, a feature instance) works on
// copies of them (copy on write) and reuses an equal instance of the same feature or
// annotation when there is one. References that do not resolve are left as they are.

#include "metamodel/param/paramentities.h"

// Location of an instance: its frame with the origin scaled / its frame times matrix.
void scaleInstanceLocation(m3dParamPlacedInstanceC& inst, double factor);
void transformInstanceLocation(m3dParamPlacedInstanceC& inst, const double* matrix);
// Repoints the instance at a location of its location's TYPE with frame g: an equal one
// of the document, else a copy of its location written from g and appended.
void setInstanceLocation(m3dParamPlacedInstanceC& inst, const paramFrameT& g);

// Feature vector of an instance: scaled (scale-invariant elements kept) / transformed
// (rotation and translation of the 2D and 3D elements by their flags), found equal in the
// document or appended.
void scaleInstanceVector(m3dParamPlacedInstanceC& inst, double factor);
void transformInstanceVector(m3dParamPlacedInstanceC& inst, const double* matrix);

// Copy on write of the feature (annotation) instances listed by an entity.
void scaleFeatureInstanceRefs(m3dParamEntityC& owner, double factor);
void transformFeatureInstanceRefs(m3dParamEntityC& owner, const double* matrix);
void scaleAnnotationInstanceRefs(m3dParamEntityC& owner, double factor);
void transformAnnotationInstanceRefs(m3dParamEntityC& owner, const double* matrix);
