#include "platform/sldworks/model/profile.h"

#include "platform/sldworks/model/occt_shape.h"
#include "platform/sldworks/model/point_index.h"
#include "platform/sldworks/model/profile_check.h"

#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepClass_FaceClassifier.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepGProp.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GProp_GProps.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <ShapeExtend_WireData.hxx>
#include <ShapeFix_Edge.hxx>
#include <ShapeFix_Face.hxx>
#include <ShapeFix_Wire.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Ax2.hxx>
#include <gp_Ax3.hxx>
#include <gp_Circ.hxx>
#include <gp_Pln.hxx>

#include <cmath>
#include <map>
#include <sstream>

namespace swsim::detail {

namespace {

// Ends closer than this close a loop even when they are distinct sketch points.
constexpr double kLoopTolerance = 1e-7;

std::string pointText(Vec3 p) {
    std::ostringstream s;
    s << "(" << p.x << ", " << p.y << ")";
    return s.str();
}

// Loops nearer than this cross or touch: a wall thinner than ten times OpenCASCADE's
// tolerance does not keep two faces apart.
constexpr double kLoopContact = 1e-6;

struct Loop {
    TopoDS_Wire wire;
    TopoDS_Face face; // the loop's own face (no holes)
    double area = 0.0;
    int depth = 0;    // how many other loops contain it
    std::string name; // of its first segment, as messages name the loop
    Bnd_Box box;
};

// The first two loops that cross or touch, and where; SolidWorks makes no profile of them
// (each would be a face of its own, the solids made from them overlapping).
bool loopsMeet(std::vector<Loop>& loops, const Frame& frame, std::string& error) {
    for (auto& l : loops) {
        BRepBndLib::Add(l.wire, l.box);
        l.box.Enlarge(kLoopContact);
    }
    for (size_t i = 0; i < loops.size(); ++i) {
        for (size_t j = i + 1; j < loops.size(); ++j) {
            if (loops[i].box.IsOut(loops[j].box))
                continue;
            BRepExtrema_DistShapeShape dist(loops[i].wire, loops[j].wire);
            if (!dist.IsDone() || dist.NbSolution() == 0 || dist.Value() > kLoopContact)
                continue;
            error = "the loops of " + loops[i].name + " and " + loops[j].name +
                    " cross or touch at " + pointText(frame.toLocal(toVec3(dist.PointOnShape1(1))));
            return true;
        }
    }
    return false;
}

double faceArea(const TopoDS_Face& f) {
    GProp_GProps props;
    BRepGProp::SurfaceProperties(f, props);
    return std::abs(props.Mass());
}

} // namespace

TopoDS_Face healedFace(const TopoDS_Face& face) {
    ShapeFix_Face fix(face);
    fix.FixOrientation();
    fix.Perform();
    return fix.Face();
}

// Without the healing's analysis of each wire's edge order, which compares every edge with
// all the others, three times over: the square of a long loop's length. The healing's first
// pass of wire fixes (connection, curves
// on the plane, degenerated and notched edges, vertex tolerances) is made wire by wire and
// the face built again from the fixed wires, as the healing builds it; its second pass
// (self-intersections, lacking edges, the order) finds nothing in loops that are apart and in
// order, so only the face's own fixes follow. The shape is the same, byte for byte.
TopoDS_Face healedFaceOfApartLoops(const TopoDS_Face& face) {
    ShapeFix_Face orient(face);
    orient.FixOrientation();
    const TopoDS_Face oriented = orient.Face();
    Handle(ShapeFix_Wire) fixWire = new ShapeFix_Wire;
    fixWire->SetFace(oriented);
    BRep_Builder builder;
    TopoDS_Face rebuilt = TopoDS::Face(oriented.EmptyCopied());
    rebuilt.Orientation(TopAbs_FORWARD);
    for (TopoDS_Iterator it(oriented, false); it.More(); it.Next()) {
        const TopoDS_Shape& wire = it.Value();
        // The wire is fixed as it runs and goes back into the face turned as it was.
        fixWire->Load(TopoDS::Wire(wire.Oriented(TopAbs_FORWARD)));
        fixWire->FixConnected();
        fixWire->FixEdgeCurves();
        fixWire->FixDegenerated();
        fixWire->FixNotchedEdges();
        const Handle(ShapeExtend_WireData) edges = fixWire->WireData();
        for (int i = 1; i <= edges->NbEdges(); ++i)
            fixWire->FixEdgeTool()->FixVertexTolerance(edges->Edge(i), oriented);
        builder.Add(rebuilt, fixWire->Wire().Oriented(wire.Orientation()));
    }
    if (face.Orientation() == TopAbs_REVERSED)
        rebuilt.Orientation(TopAbs_REVERSED);
    ShapeFix_Face fix(rebuilt);
    fix.FixWireMode() = 0;
    fix.Perform();
    return fix.Face();
}

bool buildProfile(const Sketch& sketch, TopoDS_Shape& profile, std::string& error) {
    if (sketch.is3D()) {
        error = "a 3D sketch gives no profile";
        return false;
    }
    const Frame& fr = sketch.frame();
    const gp_Ax3 ax(toPnt(fr.origin), toDir(fr.zDir), toDir(fr.xDir));
    const gp_Pln plane(ax);
    try {
        // Representative end points: sketch points closer than the loop tolerance are one
        // (the first of them).
        std::vector<const SketchPoint*> reps;
        std::map<const SketchPoint*, int> repOf;
        PointIndex repIndex(kLoopTolerance);
        auto rep = [&](const SketchPoint* p) {
            auto it = repOf.find(p);
            if (it != repOf.end())
                return it->second;
            const long long found = repIndex.firstWithin(p->position());
            if (found >= 0) {
                repOf[p] = static_cast<int>(found);
                return static_cast<int>(found);
            }
            reps.push_back(p);
            repIndex.add(p->position(), reps.size() - 1);
            repOf[p] = static_cast<int>(reps.size() - 1);
            return static_cast<int>(reps.size() - 1);
        };

        std::vector<Loop> loops;
        // The loops' curves for the quick validity proof, in sketch coordinates.
        std::vector<ProfileCurve> curves;
        struct Open {
            const SketchSegment* seg;
            int a, b;
        };
        std::vector<Open> open;
        for (const auto& s : sketch.segments()) {
            if (s->centreLine())
                continue;
            if (s->kind() == SegmentKind::Circle) {
                gp_Circ circ(gp_Ax2(toPnt(fr.toModel(s->centre()->position())), toDir(fr.zDir),
                                    toDir(fr.xDir)),
                             s->radius());
                Loop l;
                l.wire = BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(circ).Edge()).Wire();
                l.name = s->name();
                loops.push_back(l);
                ProfileCurve c;
                c.kind = ProfileCurve::Kind::Circle;
                c.centre = s->centre()->position();
                c.radius = s->radius();
                curves.push_back(c);
                continue;
            }
            open.push_back({s.get(), rep(s->start().get()), rep(s->end().get())});
        }

        std::vector<int> degree(reps.size(), 0);
        for (const auto& o : open) {
            ++degree[static_cast<size_t>(o.a)];
            ++degree[static_cast<size_t>(o.b)];
        }
        for (size_t i = 0; i < reps.size(); ++i) {
            if (degree[i] == 1) {
                error = "the contour is open at " + pointText(reps[i]->position());
                return false;
            }
            if (degree[i] > 2) {
                error = "the contour branches at " + pointText(reps[i]->position());
                return false;
            }
        }

        std::vector<TopoDS_Vertex> vertices(reps.size());
        for (size_t i = 0; i < reps.size(); ++i)
            vertices[i] = BRepBuilderAPI_MakeVertex(toPnt(fr.toModel(reps[i]->position())));

        auto makeEdge = [&](const Open& o, bool forward) {
            const int a = forward ? o.a : o.b;
            const int b = forward ? o.b : o.a;
            const TopoDS_Vertex& va = vertices[static_cast<size_t>(a)];
            const TopoDS_Vertex& vb = vertices[static_cast<size_t>(b)];
            if (o.seg->kind() == SegmentKind::Line)
                return BRepBuilderAPI_MakeEdge(va, vb).Edge();
            const gp_Pnt pa = BRep_Tool::Pnt(va);
            const gp_Pnt pb = BRep_Tool::Pnt(vb);
            const gp_Pnt pm = toPnt(fr.toModel(o.seg->middle()));
            Handle(Geom_TrimmedCurve) arc = GC_MakeArcOfCircle(pa, pm, pb).Value();
            return BRepBuilderAPI_MakeEdge(arc, va, vb).Edge();
        };

        bool withArcs = false;
        for (const Open& o : open) {
            withArcs = withArcs || o.seg->kind() != SegmentKind::Line;
            ProfileCurve c;
            c.start = reps[static_cast<size_t>(o.a)]->position();
            c.end = reps[static_cast<size_t>(o.b)]->position();
            c.startVertex = o.a;
            c.endVertex = o.b;
            curves.push_back(c);
        }

        // The segments at each end point, in their order: a loop is walked from segment to
        // segment through them, each time to the first one not used yet.
        std::vector<std::vector<size_t>> atPoint(reps.size());
        for (size_t j = 0; j < open.size(); ++j) {
            atPoint[static_cast<size_t>(open[j].a)].push_back(j);
            atPoint[static_cast<size_t>(open[j].b)].push_back(j);
        }
        std::vector<bool> used(open.size(), false);
        for (size_t first = 0; first < open.size(); ++first) {
            if (used[first])
                continue;
            // The edges go into the wire as they are: each starts at the very vertex the one
            // before ends at. The wire maker would compare every new vertex with all the
            // wire's vertices for a near one, which merged end points never are: the square of
            // the loop's length for nothing.
            BRep_Builder wireBuilder;
            TopoDS_Wire wire;
            wireBuilder.MakeWire(wire);
            used[first] = true;
            wireBuilder.Add(wire, makeEdge(open[first], true));
            const int startPoint = open[first].a;
            int at = open[first].b;
            while (at != startPoint) {
                bool found = false;
                for (size_t j : atPoint[static_cast<size_t>(at)]) {
                    if (used[j])
                        continue;
                    const bool forward = open[j].a == at;
                    used[j] = true;
                    wireBuilder.Add(wire, makeEdge(open[j], forward));
                    at = forward ? open[j].b : open[j].a;
                    found = true;
                    break;
                }
                if (!found) {
                    error = "the contour is open at " +
                            pointText(reps[static_cast<size_t>(at)]->position());
                    return false;
                }
            }
            wire.Closed(true);
            Loop l;
            l.wire = wire;
            l.name = open[first].seg->name();
            loops.push_back(l);
        }

        if (loops.empty()) {
            error = "the sketch has no closed contour";
            return false;
        }
        // Loops of lines and circles shown to keep apart: their faces are valid by
        // construction, and healing them finds nothing to mend in them but what they lack.
        const bool clean = !withArcs && clearlySeparate(curves);

        for (auto& l : loops) {
            BRepBuilderAPI_MakeFace mf(plane, l.wire, true);
            if (!mf.IsDone()) {
                error = "a contour does not bound a face";
                return false;
            }
            l.face = mf.Face();
            l.area = faceArea(l.face);
            if (l.area <= 1e-18) {
                error = "a contour encloses no area";
                return false;
            }
        }
        // Curves shown to keep apart cannot cross or touch.
        if (!clean && loopsMeet(loops, fr, error))
            return false;
        // Containment: a loop lies in another when a point of it is inside the other's face.
        auto inside = [&](const Loop& inner, const Loop& outer) {
            if (inner.area >= outer.area)
                return false;
            TopExp_Explorer ex(inner.wire, TopAbs_VERTEX);
            gp_Pnt probe;
            if (ex.More()) {
                probe = BRep_Tool::Pnt(TopoDS::Vertex(ex.Current()));
            } else {
                return false;
            }
            BRepClass_FaceClassifier c(outer.face, probe, 1e-9);
            return c.State() == TopAbs_IN;
        };
        for (size_t i = 0; i < loops.size(); ++i)
            for (size_t j = 0; j < loops.size(); ++j)
                if (i != j && inside(loops[i], loops[j]))
                    ++loops[i].depth;

        BRep_Builder builder;
        TopoDS_Compound compound;
        builder.MakeCompound(compound);
        int faces = 0;
        for (size_t i = 0; i < loops.size(); ++i) {
            if (loops[i].depth % 2 != 0)
                continue;
            TopoDS_Face face = loops[i].face;
            std::vector<TopoDS_Wire> holes;
            for (size_t j = 0; j < loops.size(); ++j)
                if (loops[j].depth == loops[i].depth + 1 && inside(loops[j], loops[i]))
                    holes.push_back(BRepTools::OuterWire(loops[j].face));
            if (!holes.empty()) {
                BRepBuilderAPI_MakeFace mf(loops[i].face);
                for (const auto& hole : holes)
                    mf.Add(TopoDS::Wire(hole.Reversed()));
                if (!mf.IsDone()) {
                    error = "a contour with inner contours does not bound a face";
                    return false;
                }
                face = mf.Face();
            }
            builder.Add(compound, clean ? healedFaceOfApartLoops(face) : healedFace(face));
            ++faces;
        }
        if (faces == 1) {
            TopExp_Explorer ex(compound, TopAbs_FACE);
            profile = ex.Current();
        } else {
            profile = compound;
        }
        if (!clean && !BRepCheck_Analyzer(profile).IsValid()) {
            error = "the profile is not a valid face (self-intersecting contour?)";
            return false;
        }
        return true;
    } catch (const Standard_Failure& e) {
        error = std::string("the profile could not be built: ") + e.GetMessageString();
        return false;
    }
}

} // namespace swsim::detail

namespace swsim {

std::string Sketch::profileProblem() const {
    TopoDS_Shape profile;
    std::string error;
    return detail::buildProfile(*this, profile, error) ? std::string() : error;
}

} // namespace swsim
