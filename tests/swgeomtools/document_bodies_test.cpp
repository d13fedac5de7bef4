// Document bodies and the helper-body face, on the simulated session's fixtures.
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/connection_point_references.h"
#include "libs/geomcore/swgeomtools/document_bodies.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

namespace {

swMateRefContextS contextOf(IModelDoc2Ptr& doc) {
    swMateRefContextS context;
    context.document = std::addressof(doc);
    return context;
}

// An assembly without components has no bodies: what the caller holds is counted, nothing
// raised; with components, their bodies are appended.
TEST(DocumentBodies, AssemblyCountsItsComponentsBodies) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("document_bodies_" + std::to_string(::getpid())))
            .string();
    std::filesystem::create_directories(folder);
    {
        assemblyFixtureC empty(folder, {}, {}, "Empty");
        IModelDoc2Ptr doc = empty.docPtr();
        std::vector<IDispatchPtr> bodies;
        EXPECT_EQ(collectDocumentBodies(contextOf(doc), bodies, 0, -1), 0);
    }
    {
        assemblyFixtureC two(folder, {{"Plate", 20, 10, 2}}, {"Plate", "Plate"});
        IModelDoc2Ptr doc = two.docPtr();
        std::vector<IDispatchPtr> bodies;
        EXPECT_EQ(collectDocumentBodies(contextOf(doc), bodies, 0, -1), 2);
    }
    std::filesystem::remove_all(folder);
}

// In an assembly the connection-point edge search answers 0 (so that the helper body is
// tried) and edges get no helper names, instead of raising for the missing part interface.
TEST(DocumentBodies, AssemblySkipsThePartOnlySteps) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("assembly_refs_" + std::to_string(::getpid())))
            .string();
    std::filesystem::create_directories(folder);
    {
        assemblyFixtureC assembly(folder, {{"Plate", 20, 10, 2}}, {"Plate"});
        IModelDoc2Ptr doc = assembly.docPtr();
        swMateRefContextS context = contextOf(doc);
        EXPECT_EQ(addConnPointEdgeMateReference(context, "CP1"), 0);

        std::vector<IDispatchPtr> bodies;
        ASSERT_EQ(collectDocumentBodies(context, bodies, 0, -1), 1);
        const std::vector<IDispatchPtr> edges = readObjectArray(bodyGetEdges(IBodyPtr(bodies[0])));
        ASSERT_FALSE(edges.empty());
        nameEdgeMateRefHelpers(context, "CP1", IEdgePtr(edges[0]));
        EXPECT_TRUE(context.firstEdgeRef);
    }
    std::filesystem::remove_all(folder);
}

// The far planar face of an extruded cylinder is picked; the feature the face action makes is
// handed back, and nothing when the action makes none (not the newest older feature).
TEST(DocumentBodies, HelperFaceIsTheActionsNewFeatureOnly) {
    partFixtureC part;
    const std::string block = part.extrude(part.circleSketch("Front Plane", 0, 0, 3), 5);
    IModelDoc2Ptr doc = part.docPtr();
    const IFeaturePtr helper(partDocFeatureByName(IPartDocPtr(doc), block.c_str()));
    ASSERT_TRUE(helper);
    const double origin[3] = {0, 0, 0};

    part.kit().plan().returnNull("IModelDoc2::ActOnSelectedFace");
    IFeaturePtr created;
    helperBodyFeatures(contextOf(doc), origin, helper, created);
    EXPECT_FALSE(created);

    part.kit().reset();
    helperBodyFeatures(contextOf(doc), origin, helper, created);
    ASSERT_TRUE(created);
    EXPECT_EQ(featureGetTypeName(created), _bstr_t("RefSurface"));
    // The picked face is the far end at z = 5, not the start face through the point.
    const std::vector<IDispatchPtr> faces = readObjectArray(featureGetFaces(created));
    ASSERT_EQ(faces.size(), 1u);
    const std::vector<double> onFace =
        readDoubleArray(faceGetClosestPoint(IFace2Ptr(faces[0]), 3, 3, 0), 3);
    EXPECT_NEAR(onFace[2], 5.0, 1e-9);
}

} // namespace
