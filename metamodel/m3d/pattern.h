#pragma once
// Feature patterns:
//   (FEATPATTERN (NAME "P1")
//     (FPBASEFEAT (NAME "Hole") (POINT3D 10 0 0))      the feature repeated, its position
//     (FPSKETCH (MAT 16 numbers) (SKETCHON (PLANE "XY"))
//       (FPSKETCHPOINTS (POINT 20 0) (POINT 30 0))     instance positions in the sketch plane
//       (FPSKETCHROTCP 0 0)))                          optional rotation centre (2D)

#include "metamodel/m2d/point2d.h"
#include "metamodel/m3d/sketch.h"

class m3dFeatPatternRotCenterPointC : public mObjPoint2dC {
public:
    static mzComStringC tagName() { return "FPSKETCHROTCP"; }
    using mObjPoint2dC::mObjPoint2dC;
};

// The pattern sketch, read as a sketch: its MAT places the instance points.
class m3dFeatPatternSketchC : public m3dSketchC {
public:
    static mzComStringC tagName() { return "FPSKETCH"; }
    using m3dSketchC::m3dSketchC;

    // The "FPSKETCHROTCP" child (unbound when absent).
    m3dFeatPatternRotCenterPointC getRotCenterPoint() const {
        return m3dFeatPatternRotCenterPointC(findChild(m3dFeatPatternRotCenterPointC::tagName()));
    }
    // The "FPSKETCHPOINTS" child: a list of POINT children (unbound when absent).
    metaObjListPoint2dContainerC getSketchPoints() const {
        return metaObjListPoint2dContainerC(findChild("FPSKETCHPOINTS"));
    }

    // As a sketch, and the instance points and the rotation centre scale with it.
    int scale(double factor) override;
};

// The feature to repeat: its NAME and reference position POINT3D.
class m3dFeatPatternBaseFeatC : public m3dFeatGenC {
public:
    static mzComStringC tagName() { return "FPBASEFEAT"; }
    using m3dFeatGenC::m3dFeatGenC;

    int scale(double factor) override;
    int transform(const matrixC4x4<double>& m) override;
};

class m3dFeatPatternC : public m3dFeatGenC {
public:
    static mzComStringC tagName() { return "FEATPATTERN"; }
    using m3dFeatGenC::m3dFeatGenC;

    m3dFeatPatternBaseFeatC getBaseFeat() const {
        return m3dFeatPatternBaseFeatC(findChild(m3dFeatPatternBaseFeatC::tagName()));
    }
    m3dFeatPatternSketchC getPatternSketch() const {
        return m3dFeatPatternSketchC(findChild(m3dFeatPatternSketchC::tagName()));
    }

    // True when the pattern sketch is parallel to the sketch of the base feature (their Z
    // axes parallel, within 1e-8, either sense) and the base sketch's origin lies in the
    // pattern sketch's plane (|z . (o_base - o_pattern)| < 1e-8). The base feature is found
    // by name in the pattern's collection; its sketch is the one it USES (or the feature
    // itself when it is a sketch). False when either sketch cannot be found.
    bool isSketchCoplanar() const;

    // Expands the pattern in the meta tree into named copies of its base feature (see
    // expandFeaturePattern). A pattern about a rotation centre (FPSKETCHROTCP) turns its
    // copies about that centre; others move them. 1 when expanded, 0 when it cannot be.
    virtual int rollback();
    // The same, with the copies turned about `centre` (pattern sketch plane coordinates):
    // the expansion of a circular pattern.
    int rollbackAbout(const vectorC2d<double>& centre);

    int scale(double factor) override;
    int transform(const matrixC4x4<double>& m) override;
};

// Inserts, right after the pattern node in its collection, one copy of the base feature for
// every instance point other than the base position, moved by the translation from the base
// position to the instance (the instance point minus the base position, both in the pattern
// sketch plane, mapped by the axes of the pattern sketch's MAT). With a rotation centre the
// copy is first turned about the centre (about the pattern sketch's Z axis) by the angle
// from the base position to the instance, as a circular pattern places it; what the radii
// differ by is then translated. The sketches that the base feature uses (USED, SWEEPSKLIST)
// are copied with it, before it; those placed on a face (SKETCHON FACE) are inserted before
// every copy of a feature, so that each finds its face on the part as the pattern found it.
// A point listed more than once (within 1e-6, as the base position) makes one copy. Every
// name in a copy gets the suffix "_<n>", n the first
// number from 1 on for which no feature of the collection is called "<base name>_<n>";
// references between the copies follow the renaming. The pattern node itself stays. Answers
// the number of copies made, or -1 when the pattern cannot be expanded, and then nothing is
// inserted: no collection, no base feature of that name, a base (or sketch it uses) that is
// itself a pattern (its copies would be expanded again), a MAT, base position or centre that
// is malformed or not finite, or a listed point that is not two finite numbers.
int expandFeaturePattern(const m3dFeatPatternC& pattern,
                         const vectorC2d<double>* rotationCentre = nullptr);
