#include "metamodel/m3d/pattern.h"

#include "metamodel/m3d/geomop.h"
#include "metamodel/m3d/viewhelpers.h"

#include <cmath>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

IMetaTreeApi& api() {
    return *getIMetaTreeApi();
}

// The sketch that carries a feature's placement: the feature itself for a sketch, else the
// sketch it USES, looked up in the collection.
m3dSketchC sketchOfFeature(const m3dFeatGenC& feature, const m3dFeatCollectionC& collection) {
    if (feature.hasKey(m3dSketchC::tagName()))
        return m3dSketchC(feature.getTreePtr());
    const mzComStringC used = m3dFeatBodyC(feature.getTreePtr()).getUsed();
    m3dFeatGenC sketch = findFeatureByName(collection, used);
    if (!sketch.hasKey(m3dSketchC::tagName()))
        return m3dSketchC();
    return m3dSketchC(sketch.getTreePtr());
}

std::optional<std::string> stringValue(metaTreePtrT node) {
    return api().getString(node);
}

// Original names of every NAMEd node in the subtree.
void collectNames(metaTreePtrT node, std::set<std::string>& names) {
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(node); !c.isNull(); c = a.nextSibling(c)) {
        if (!a.isKeyNode(c))
            continue;
        if (a.hasTag(c, "NAME")) {
            if (std::optional<std::string> s = stringValue(a.firstChild(c)))
                names.insert(*s);
        } else {
            collectNames(c, names);
        }
    }
}

// Appends the suffix to every NAME, and to every USED / SWEEPSKLIST entry that names one of
// the copied nodes.
void renameCopy(metaTreePtrT node, const std::string& suffix, const std::set<std::string>& copied) {
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(node); !c.isNull(); c = a.nextSibling(c)) {
        if (!a.isKeyNode(c))
            continue;
        const bool isName = a.hasTag(c, "NAME");
        const bool isRef = a.hasTag(c, "USED") || a.hasTag(c, "SWEEPSKLIST");
        if (isName || isRef) {
            for (metaTreePtrT v = a.firstChild(c); !v.isNull(); v = a.nextSibling(v)) {
                std::optional<std::string> s = stringValue(v);
                if (s && (isName || copied.count(*s)))
                    a.setString(v, *s + suffix);
            }
        } else {
            renameCopy(c, suffix, copied);
        }
    }
}

// The sketches a feature names (USED, SWEEPSKLIST), in order, without repeats.
std::vector<metaTreePtrT> usedSketches(const m3dFeatGenC& feature,
                                       const m3dFeatCollectionC& collection) {
    std::vector<std::string> names;
    IMetaTreeApi& a = api();
    for (const char* key : {"USED", "SWEEPSKLIST"})
        for (metaTreePtrT v = a.firstChild(feature.findChild(key)); !v.isNull();
             v = a.nextSibling(v))
            if (std::optional<std::string> s = stringValue(v))
                names.push_back(*s);
    std::vector<metaTreePtrT> out;
    for (const std::string& n : names) {
        m3dFeatGenC s = findFeatureByName(collection, metaFromUtf8(n));
        if (!s.isValid() || s.getTreePtr() == feature.getTreePtr())
            continue;
        bool seen = false;
        for (metaTreePtrT o : out)
            seen = seen || o == s.getTreePtr();
        if (!seen)
            out.push_back(s.getTreePtr());
    }
    return out;
}

// In the pattern sketch plane: the move that takes the base position to the instance, turned
// about the centre by the angle between them, then translated by what remains.
matrixC4x4<double> planeMove(const vectorC2d<double>& base, const vectorC2d<double>& instance,
                             const vectorC2d<double>& centre) {
    const vectorC2d<double> u = base - centre;
    const vectorC2d<double> v = instance - centre;
    const double lengths = std::sqrt((u.x * u.x + u.y * u.y) * (v.x * v.x + v.y * v.y));
    double c = 1.0;
    double s = 0.0;
    if (lengths > 0.0) {
        c = (u.x * v.x + u.y * v.y) / lengths;
        s = (u.x * v.y - u.y * v.x) / lengths;
    }
    // Row vectors: p' = (p - centre) . R + centre + rest.
    matrixC4x4<double> turn = matrixC4x4<double>::identity();
    turn[0] = c;
    turn[1] = s;
    turn[4] = -s;
    turn[5] = c;
    const vectorC2d<double> turned{centre.x + u.x * c - u.y * s, centre.y + u.x * s + u.y * c};
    return matrixC4x4<double>::translation({-centre.x, -centre.y, 0.0}) * turn *
           matrixC4x4<double>::translation(
               {centre.x + instance.x - turned.x, centre.y + instance.y - turned.y, 0.0});
}

bool finitePoint(const vectorC3d<double>& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The names findFeatureByName finds of a node: its own NAME and those of its HISTORY.
void addFindableNames(metaTreePtrT node, std::unordered_set<std::string>& names) {
    IMetaTreeApi& a = api();
    if (std::optional<std::string> own = stringValue(a.firstChild(a.findChild(node, "NAME"))))
        names.insert(*own);
    const metaTreePtrT history = a.findChild(node, "HISTORY");
    for (metaTreePtrT c = a.firstChild(history); !c.isNull(); c = a.nextSibling(c))
        if (a.isKeyNode(c))
            addFindableNames(c, names);
}

// A sketch placed on a face finds that face among the part's faces as they are when it is
// built.
bool placedOnFace(metaTreePtrT node) {
    IMetaTreeApi& a = api();
    return a.hasTag(node, m3dSketchC::tagName().toUtf8()) &&
           !a.findChild(a.findChild(node, "SKETCHON"), "FACE").isNull();
}

std::size_t indexInParent(metaTreePtrT node) {
    IMetaTreeApi& a = api();
    std::size_t i = 0;
    for (metaTreePtrT c = a.firstChild(a.parent(node)); !c.isNull() && c != node;
         c = a.nextSibling(c))
        ++i;
    return i;
}

} // namespace

int m3dFeatPatternSketchC::scale(double factor) {
    if (!isUsableScale(factor))
        return 0;
    if (m3dSketchC::scale(factor) == 0)
        return 0;
    scaleShapes2d(findChild("FPSKETCHPOINTS"), factor);
    scaleNumberChildren(findChild(m3dFeatPatternRotCenterPointC::tagName()), factor);
    return 1;
}

int m3dFeatPatternBaseFeatC::scale(double factor) {
    if (!isUsableScale(factor))
        return 0;
    if (!isValid())
        return 0;
    scaleNumberChildren(findChild("POINT3D"), factor);
    return 1;
}

int m3dFeatPatternBaseFeatC::transform(const matrixC4x4<double>& m) {
    if (!isUsableTransform(m))
        return 0;
    if (!isValid())
        return 0;
    transformPointChild(*this, "POINT3D", m);
    return 1;
}

bool m3dFeatPatternC::isSketchCoplanar() const {
    m3dFeatPatternSketchC patternSketch = getPatternSketch();
    matrixC4x4<double> mp;
    if (!getMatrix(patternSketch, mp))
        return false;
    const m3dFeatCollectionC collection = getOwnerCollection();
    m3dFeatGenC base = findFeatureByName(collection, getName(getBaseFeat()));
    m3dSketchC baseSketch = sketchOfFeature(base, collection);
    matrixC4x4<double> mb;
    if (!baseSketch.isValid() || !getMatrix(baseSketch, mb))
        return false;
    const vectorC3d<double> zp = mp.row(2);
    const vectorC3d<double> zb = mb.row(2);
    const vectorC3d<double> c = zp.cross(zb);
    if (zp.dot(zp) == 0.0 || zb.dot(zb) == 0.0 || std::sqrt(c.dot(c)) >= 1e-8)
        return false;
    return std::fabs(zp.dot(mb.row(3) - mp.row(3))) < 1e-8;
}

int m3dFeatPatternC::rollback() {
    const m3dFeatPatternRotCenterPointC centre = getPatternSketch().getRotCenterPoint();
    int ok = 0;
    const vectorC2d<double> c = centre.getPoint(&ok);
    if (centre.isValid() && ok)
        return rollbackAbout(c);
    return expandFeaturePattern(*this) >= 0 ? 1 : 0;
}

int m3dFeatPatternC::rollbackAbout(const vectorC2d<double>& centre) {
    return expandFeaturePattern(*this, &centre) >= 0 ? 1 : 0;
}

int m3dFeatPatternC::scale(double factor) {
    if (!isUsableScale(factor))
        return 0;
    if (!isValid())
        return 0;
    getPatternSketch().scale(factor);
    getBaseFeat().scale(factor);
    return 1;
}

int m3dFeatPatternC::transform(const matrixC4x4<double>& m) {
    if (!isUsableTransform(m))
        return 0;
    if (!isValid())
        return 0;
    getPatternSketch().transform(m);
    getBaseFeat().transform(m);
    return 1;
}

int expandFeaturePattern(const m3dFeatPatternC& pattern, const vectorC2d<double>* rotationCentre) {
    IMetaTreeApi& a = api();
    const m3dFeatCollectionC collection = pattern.getOwnerCollection();
    if (!collection.isValid())
        return -1;
    const m3dFeatPatternBaseFeatC baseFeat = pattern.getBaseFeat();
    const mzComStringC baseName = getName(baseFeat);
    m3dFeatGenC base = findFeatureByName(collection, baseName);
    const m3dFeatPatternSketchC sketch = pattern.getPatternSketch();
    matrixC4x4<double> mp;
    vectorC3d<double> basePoint;
    if (!base.isValid() || !getMatrix(sketch, mp) || !getPoint3d(baseFeat, basePoint) ||
        !isUsableTransform(mp) || !finitePoint(basePoint))
        return -1;
    if (rotationCentre != nullptr &&
        !(std::isfinite(rotationCentre->x) && std::isfinite(rotationCentre->y)))
        return -1;

    // The base position in the pattern sketch plane.
    const vectorC3d<double> b = transformPoint(basePoint, invertRigidTransform(mp));
    const vectorC2d<double> base2d{b.x, b.y};
    // Every point must be a position: one that is not would put its copy nowhere in
    // particular, so the pattern is refused as the builder refuses it.
    std::vector<vectorC2d<double>> instances;
    if (collectPoint2dList(sketch.getSketchPoints(), instances) >= 0)
        return -1;
    std::erase_if(instances, [&](const vectorC2d<double>& q) {
        return std::fabs(q.x - base2d.x) <= 1e-6 && std::fabs(q.y - base2d.y) <= 1e-6;
    });
    // A point listed twice is one instance: a second copy would stand on the first.
    mergeRepeatedPoints2d(instances, 1e-6);

    std::vector<metaTreePtrT> originals = usedSketches(base, collection);
    originals.push_back(base.getTreePtr());
    std::set<std::string> copiedNames;
    for (metaTreePtrT o : originals) {
        if (a.hasTag(o, m3dFeatPatternC::tagName().toUtf8()))
            return -1;
        collectNames(o, copiedNames);
    }

    // A plain move needs no trip into the plane; a turn goes from the model into the pattern
    // sketch plane, is made there, and comes back. Finite inputs can still overflow: a move
    // the copies would refuse leaves them at the base, so nothing is copied then.
    std::vector<matrixC4x4<double>> moves;
    moves.reserve(instances.size());
    for (const vectorC2d<double>& q : instances) {
        const vectorC3d<double> t = mp.row(0) * (q.x - base2d.x) + mp.row(1) * (q.y - base2d.y);
        moves.push_back(rotationCentre == nullptr ? matrixC4x4<double>::translation(t)
                                                  : invertRigidTransform(mp) *
                                                        planeMove(base2d, q, *rotationCentre) * mp);
        if (!isUsableTransform(moves.back()))
            return -1;
    }

    // Each copy's suffix: the names in use are gathered once, and each copy's names join them.
    std::unordered_set<std::string> inUse;
    for (metaTreePtrT c = a.firstChild(collection.getTreePtr()); !c.isNull(); c = a.nextSibling(c))
        if (a.isKeyNode(c))
            addFindableNames(c, inUse);
    std::unordered_set<std::string> findable;
    for (metaTreePtrT o : originals)
        addFindableNames(o, findable);
    const std::string baseText = baseName.toUtf8();
    std::vector<std::string> suffixes;
    suffixes.reserve(moves.size());
    int suffixNumber = 1;
    for (std::size_t i = 0; i < moves.size(); ++i, ++suffixNumber) {
        while (inUse.count(baseText + "_" + std::to_string(suffixNumber)) != 0)
            ++suffixNumber;
        suffixes.push_back("_" + std::to_string(suffixNumber));
        for (const std::string& n : findable)
            inUse.insert(n + suffixes.back());
    }

    // The copies' sketches on faces come first, before any copy of a feature: each then finds
    // its face as the pattern found the part, as the instances of a pattern are placed (and
    // not on a part that the copies before it have already cut into, which it would have to
    // be brought up to date for, one copy after another). The other sketches, whose places do
    // not depend on the part, stay with their features.
    std::vector<metaTreePtrT> onFaces;
    std::vector<metaTreePtrT> withFeature;
    for (metaTreePtrT o : originals)
        (placedOnFace(o) ? onFaces : withFeature).push_back(o);
    std::size_t insertAt = indexInParent(pattern.getTreePtr()) + 1;
    auto insertCopies = [&](const std::vector<metaTreePtrT>& nodes, std::size_t i) {
        for (metaTreePtrT o : nodes) {
            metaTreePtrT copy = a.clone(o);
            renameCopy(copy, suffixes[i], copiedNames);
            transformNode(copy, moves[i]);
            if (!a.insertChild(collection.getTreePtr(), insertAt, copy)) {
                a.release(copy);
                return false;
            }
            ++insertAt;
        }
        return true;
    };
    for (std::size_t i = 0; i < moves.size(); ++i)
        if (!insertCopies(onFaces, i))
            return 0;
    int made = 0;
    for (std::size_t i = 0; i < moves.size(); ++i, ++made)
        if (!insertCopies(withFeature, i))
            return made;
    return made;
}
