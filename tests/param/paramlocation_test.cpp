// Locations: frames of every TYPE, their write-back after a transform, scaling, the
// angle helpers, and the search for an equal location.

#include "param_fixture.h"

#include "metamodel/param/paramlookup.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr double pi = 3.141592653589793;

paramFrameT rx(double c) {
    const double r = c * pi / 180.0;
    return {1, 0, 0, 0, 0, std::cos(r), std::sin(r), 0, 0, -std::sin(r), std::cos(r),
            0, 0, 0, 0, 1};
}
paramFrameT ry(double b) {
    const double r = b * pi / 180.0;
    return {std::cos(r), 0, -std::sin(r), 0, 0, 1, 0, 0,
            std::sin(r), 0, std::cos(r),  0, 0, 0, 0, 1};
}
paramFrameT rz(double a) {
    const double r = a * pi / 180.0;
    return {std::cos(r), std::sin(r), 0, 0, -std::sin(r), std::cos(r), 0, 0, 0, 0, 1, 0,
            0,           0,           0, 1};
}

void expectNear(const std::vector<double>& got, const std::vector<double>& want, double tol) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], tol) << "value " << i;
}

double dot(const paramFrameT& f, int r1, int r2) {
    double s = 0;
    for (int j = 0; j < 3; ++j)
        s += f[static_cast<std::size_t>(r1 * 4 + j)] * f[static_cast<std::size_t>(r2 * 4 + j)];
    return s;
}

} // namespace

TEST_F(ParamTest, AngleHelpersInvertTheRotationOfThreeAngles) {
    const paramFrameT r = rotationFromThreeAngles(30, 20, 10);
    const paramFrameT want = paramMultiplyFrames(paramMultiplyFrames(rx(10), ry(20)), rz(30));
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_NEAR(r[i], want[i], 1e-12) << i;
    EXPECT_NEAR(yawAngle(r), 30, 1e-12);
    EXPECT_NEAR(pitchAngle(r), 20, 1e-12);
    EXPECT_NEAR(rollAngle(r), 10, 1e-12);
    // Pitch -90: the yaw is folded into the roll the other way round.
    const paramFrameT down = rotationFromThreeAngles(25, -90, 10);
    EXPECT_EQ(yawAngle(down), 0.0);
    EXPECT_NEAR(rollAngle(down), 35, 1e-9);
}

TEST_F(ParamTest, Type0FrameAndItsWriteBackReproduceTheValues) {
    metaObjectC owner = parse("(PLOC (TYPE 0) (PLOCVALS 1.0 2.0 3.0 30.0 20.0 10.0))");
    m3dParamLocationC loc(owner.getTreePtr());
    paramFrameT want = paramMultiplyFrames(paramMultiplyFrames(rx(10), ry(20)), rz(30));
    want[12] = 1;
    want[13] = 2;
    want[14] = 3;
    const paramFrameT f = loc.getFrame();
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_NEAR(f[i], want[i], 1e-12) << i;
    EXPECT_EQ(loc.transform(paramMatrixFrom(identity4)), 1);
    expectNear(values(loc), {1, 2, 3, 30, 20, 10}, 1e-12);
}

TEST_F(ParamTest, Type0AtPitch90FoldsTheYawIntoTheRoll) {
    metaObjectC owner = parse("(PLOC (TYPE 0) (PLOCVALS 0 0 0 25.0 90.0 40.0))");
    m3dParamLocationC loc(owner.getTreePtr());
    loc.transform(paramMatrixFrom(identity4));
    expectNear(values(loc), {0, 0, 0, 0, 90, 15}, 1e-9);
}

TEST_F(ParamTest, PointsMoveWhileDirectionsOnlyTurn) {
    metaObjectC owner = parse(R"((PLOCS (PLOC (TYPE 2) (PLOCVALS 1.0 2.0 3.0))
                                        (PLOC (TYPE 3) (PLOCVALS 0.0 0.0 1.0))
                                        (PLOC (TYPE 4) (PLOCVALS 10.0 0.0 0.0))))");
    m3dParamLocationC point(child(owner.getTreePtr(), 0));
    m3dParamLocationC dir(child(owner.getTreePtr(), 1));
    m3dParamLocationC rot(child(owner.getTreePtr(), 2));
    point.transform(paramMatrixFrom(translateX10));
    dir.transform(paramMatrixFrom(translateX10));
    rot.transform(paramMatrixFrom(translateX10));
    expectNear(values(point), {11, 2, 3}, 0);
    expectNear(values(dir), {0, 0, 1}, 1e-15);
    expectNear(values(rot), {10, 0, 0}, 1e-12);
    rot.transform(paramMatrixFrom(rotateZ90));
    expectNear(values(rot), {100, 0, 0}, 1e-12);
}

TEST_F(ParamTest, DirectionFramesAreOrthonormalAndMovingKeepsTheStoredDirection) {
    // With an oblique first axis (dx not zero, dz not zero) the rigid inverse of the frame
    // is wrong; every kind of direction must give an orthonormal frame.
    for (const char* text :
         {"(PLOC (TYPE 1) (PLOCVALS 5.0 6.0 7.0 1.0 2.0 3.0))",
          "(PLOC (TYPE 3) (PLOCVALS 0.0 2.0 3.0))", "(PLOC (TYPE 3) (PLOCVALS 0.0 0.0 -4.0))"}) {
        metaObjectC owner = parse(text);
        m3dParamLocationC loc(owner.getTreePtr());
        const paramFrameT f = loc.getFrame();
        for (int r = 0; r < 3; ++r) {
            EXPECT_NEAR(dot(f, r, r), 1.0, 1e-12) << text << " row " << r;
            for (int s = r + 1; s < 3; ++s)
                EXPECT_NEAR(dot(f, r, s), 0.0, 1e-12) << text << " rows " << r << s;
        }
        // Row 1 = row 2 x row 0, so the frame keeps its handedness.
        EXPECT_NEAR(f[4], f[9] * f[2] - f[10] * f[1], 1e-12) << text;
        // Moving through the rigid inverse gives the frame back.
        const paramFrameT back = paramMultiplyFrames(paramInvertRigidFrame(f), f);
        for (std::size_t i = 0; i < 16; ++i)
            EXPECT_NEAR(back[i], paramIdentityFrame()[i], 1e-12) << text;
    }
    metaObjectC owner = parse("(PLOC (TYPE 1) (PLOCVALS 5.0 6.0 7.0 1.0 2.0 3.0))");
    m3dParamLocationC loc(owner.getTreePtr());
    loc.transform(paramMatrixFrom(rotateZ90));
    // d * R keeps its length: (1, 2, 3) -> (-2, 1, 3); the origin turns too.
    expectNear(values(loc), {-6, 5, 7, -2, 1, 3}, 1e-12);
}

TEST_F(ParamTest, ScalingChangesOnlyTheOriginsOfTypes0To2) {
    metaObjectC owner = parse(R"((PLOCS (PLOC (TYPE 1) (PLOCVALS 1 1 1 0 0 1))
                                        (PLOC (TYPE 4) (PLOCVALS 1 2 3))
                                        (PLOC (TYPE -1) (PLOCVALS 1 2 3))
                                        (PLOC (TYPE 0) (PLOCVALS 1 2))))");
    const auto at = [&owner](int i) { return m3dParamLocationC(child(owner.getTreePtr(), i)); };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(at(i).scale(2.0), 1);
    expectNear(values(at(0)), {2, 2, 2, 0, 0, 1}, 0);
    expectNear(values(at(1)), {1, 2, 3}, 0);
    expectNear(values(at(2)), {1, 2, 3}, 0);
    expectNear(values(at(3)), {2, 4}, 0); // a missing value is not created
}

TEST_F(ParamTest, AnUnknownTypeHasTheZeroFrameAndIsNeverChanged) {
    metaObjectC owner = parse("(PDOC (PLOCS (PLOC (TYPE 2) (PLOCVALS 0 0 0)) "
                              "(PLOC (TYPE 7) (PLOCVALS 1.0 2.0 3.0))))");
    m3dParamDocumentC doc = document(owner);
    m3dParamLocationC loc = doc.getLocations().getElementAt(1);
    EXPECT_EQ(loc.getFrame(), paramFrameT{});
    loc.scale(3.0);
    loc.transform(paramMatrixFrom(translateX10));
    expectNear(values(loc), {1, 2, 3}, 0);
    const paramFrameT zero{};
    EXPECT_EQ(doc.findLocation(7, zero.data()), 1);
}

// The same answers by the walk and, inside an operation's lookup scope, by the hashed index.
TEST_F(ParamTest, FindLocationComparesWhatEachTypeStoresWithinTheTolerance) {
    metaObjectC owner = parse(R"((PDOC (PLOCS
        (PLOC (TYPE 2) (PLOCVALS 0.0 0.0 0.0))
        (PLOC (TYPE 3) (PLOCVALS 0.0 0.0 2.0))
        (PLOC (TYPE 0) (PLOCVALS 0.0 0.0 0.0 0.0 0.0 0.0))
        (PLOC (TYPE 1) (PLOCVALS 1.0 0.0 0.0 0.0 0.0 1.0)))))");
    m3dParamDocumentC doc = document(owner);
    for (const bool indexed : {false, true}) {
        SCOPED_TRACE(indexed ? "indexed" : "walk");
        const paramLookupScopeC scope(indexed ? doc.getTreePtr() : metaTreePtrT());
        paramFrameT g = paramIdentityFrame();
        g[12] = 1e-8;
        EXPECT_EQ(doc.findLocation(0, g.data()), 2) << "a difference of exactly 1e-8 is equal";
        EXPECT_EQ(doc.findLocation(2, g.data()), 0) << "the rotation rows are not stored by TYPE 2";
        g[12] = 1.1e-8;
        EXPECT_EQ(doc.findLocation(0, g.data()), -1);
        g[12] = 1.0;
        EXPECT_EQ(doc.findLocation(3, g.data(), 2.0), 1) << "TYPE 3 stores no origin";
        EXPECT_EQ(doc.findLocation(3, g.data(), 1.0), -1) << "a direction of another length";
        EXPECT_EQ(doc.findLocation(1, g.data()), 3);
        g[12] = std::numeric_limits<double>::quiet_NaN();
        EXPECT_EQ(doc.findLocation(1, g.data()), -1) << "NaN matches nothing";
        EXPECT_EQ(doc.findLocation(2, g.data()), -1);
    }
}

// Points on both sides of the index's cell borders, queried from the other side, as first
// and as later entries: the index answers what the walk answers, entries appended while the
// scope is open included.
TEST_F(ParamTest, TheLookupIndexFindsAcrossCellBordersAndKeepsTheFirstMatch) {
    std::string text = "(PDOC (PLOCS";
    std::vector<paramFrameT> queries;
    auto point = [](double x, double y) {
        paramFrameT g{};
        g[12] = x;
        g[13] = y;
        g[15] = 1.0;
        return g;
    };
    char buf[128];
    for (int k = -20; k < 20; ++k) {
        const double border = (k + 0.5) * param_lookup::cellWidth;
        // Stored just below the border, twice (the first must win), and once just above.
        for (const double x : {border - 4e-9, border - 4e-9, border + 9e-9}) {
            std::snprintf(buf, sizeof buf, " (PLOC (TYPE 2) (PLOCVALS %.17g %d.0 0.0))", x, k);
            text += buf;
        }
        queries.push_back(point(border + 5e-9, k));   // near the first two, across the border
        queries.push_back(point(border - 2e-9, k));   // near all three
        queries.push_back(point(border + 2.1e-8, k)); // near none
    }
    text += "))";
    metaObjectC owner = parse(text);
    m3dParamDocumentC doc = document(owner);
    std::vector<int> walked;
    for (const paramFrameT& q : queries)
        walked.push_back(doc.findLocation(2, q.data()));
    EXPECT_EQ(walked[0], 0);
    EXPECT_EQ(walked[1], 0);
    EXPECT_EQ(walked[2], -1);
    const paramLookupScopeC scope(doc.getTreePtr());
    for (std::size_t i = 0; i < queries.size(); ++i)
        EXPECT_EQ(doc.findLocation(2, queries[i].data()), walked[i]) << "query " << i;
    // An entry appended while the scope is open is found.
    ASSERT_FALSE(doc.getLocations().append(doc.getLocations().getAt(2), true).isNull());
    const paramFrameT far = point(1000.0, 0.0);
    doc.getLocations().getElementAt(3 * 40).setFromFrame(far, 1.0);
    EXPECT_EQ(doc.findLocation(2, far.data()), 3 * 40);
}
