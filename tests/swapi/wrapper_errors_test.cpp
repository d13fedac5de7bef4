// The wrappers' error rules, driven by the session's fault plan: every action of the plan
// reaches the caller as the rules say.
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

namespace {

// Runs `call` and gives the _com_error it raised; fails the test when it raised none.
template <class Call> _com_error raised(Call call) {
    try {
        call();
    } catch (const _com_error& error) {
        return error;
    }
    ADD_FAILURE() << "no _com_error raised";
    return _com_error(S_OK);
}

class SwapiWrapperErrors : public ::testing::Test {
protected:
    void SetUp() override { part.block(10, 20, 5); }

    IFeaturePtr frontPlane() {
        return IFeaturePtr(partDocFeatureByName(IPartDocPtr(part.doc()), "Front Plane"));
    }
    IFace2Ptr firstFace() {
        const auto bodies = readObjectArray(partDocGetBodies(IPartDocPtr(part.doc()), 0));
        return IFace2Ptr(bodyGetFirstFace(IBodyPtr(bodies.front())));
    }

    partFixtureC part;
};

TEST_F(SwapiWrapperErrors, FailedHresultRaisesItWithTheInterfaceIid) {
    part.kit().plan().failWith("IFeature::GetName", E_FAIL);
    const _com_error error = raised([&] { featureGetName(frontPlane()); });
    EXPECT_EQ(error.Error(), E_FAIL);
    EXPECT_EQ(error.Iid(), uuidOf<IFeature>());

    part.kit().plan().failWith("IModelDoc2::SelectByName", E_UNEXPECTED, 2);
    EXPECT_EQ(modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0), VARIANT_TRUE);
    const _com_error second =
        raised([&] { modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0); });
    EXPECT_EQ(second.Error(), E_UNEXPECTED);
    EXPECT_EQ(second.Iid(), uuidOf<IModelDoc2>());
    // Only the second call was planned to fail.
    EXPECT_EQ(modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0), VARIANT_TRUE);
}

TEST_F(SwapiWrapperErrors, NullInterfacePointerRaisesEPointerWithoutACall) {
    part.kit().journal().clear();
    const _com_error error = raised([] { featureGetName(nullptr); });
    EXPECT_EQ(error.Error(), E_POINTER);
    EXPECT_EQ(error.Iid(), uuidOf<IFeature>());
    EXPECT_TRUE(part.kit().journal().entries().empty());
}

TEST_F(SwapiWrapperErrors, NullAndFalseAnswersAreNoErrors) {
    part.kit().plan().returnNull("IFeature::GetNext");
    EXPECT_FALSE(featureGetNext(frontPlane()));
    part.kit().plan().returnNull("IModelDoc2::SelectByName");
    EXPECT_EQ(modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0), VARIANT_FALSE);
    EXPECT_EQ(part.model().selection().count(), 0);
}

TEST_F(SwapiWrapperErrors, SFalseIsReturnedNotRaised) {
    modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0);
    part.kit().plan().returnSFalse("IModelDoc2::InsertSketch", 1);
    EXPECT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_FALSE);
    EXPECT_FALSE(modelDocGetEditedSketch(part.doc()));
    EXPECT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_OK);
}

TEST_F(SwapiWrapperErrors, ScriptedValuesAndSequences) {
    IFeaturePtr sketchFeature(partDocFeatureByName(IPartDocPtr(part.doc()), "Sketch1"));
    ISketchPtr sketch(sketchFeature);
    part.kit().plan().scriptSequence("ISketch::GetStatus",
                                     {_variant_t(2L), _variant_t(4L), _variant_t(5L)});
    EXPECT_EQ(sketchGetStatus(sketch), 2);
    EXPECT_EQ(sketchGetStatus(sketch), 4);
    EXPECT_EQ(sketchGetStatus(sketch), 5);
    EXPECT_EQ(sketchGetStatus(sketch), 2); // the real answer: nothing fixes the rectangle

    IBodyPtr body(readObjectArray(partDocGetBodies(IPartDocPtr(part.doc()), 0)).front());
    part.kit().plan().scriptValue("IBody::GetFaceCount", _variant_t(51L));
    EXPECT_EQ(bodyGetFaceCount(body), 51);

    // A scripted object replaces the session's own answer: with nothing selected the session
    // makes no pattern; scripted, the feature comes back.
    IFeatureManagerPtr manager = modelDocGetFeatureManager(part.doc());
    const auto pattern = [&] {
        return featureMgrCreateCircularPattern(manager, 4, 1.5, VARIANT_FALSE, "", VARIANT_FALSE);
    };
    EXPECT_FALSE(pattern());
    part.kit().plan().scriptValue("IFeatureManager::CreateCircularPattern",
                                  _variant_t(static_cast<IDispatch*>(sketchFeature)));
    EXPECT_EQ(pattern(), sketchFeature);
}

TEST_F(SwapiWrapperErrors, ScriptedTypedObjectWithFurtherOutParameters) {
    IDispatchPtr asDispatch(part.doc());
    part.kit().plan().scriptValue("ISldWorks::OpenDocument",
                                  _variant_t(asDispatch.GetInterfacePtr()));
    long errors = -1;
    long warnings = -1;
    IModelDoc2Ptr opened =
        sldWorksOpenDocument(part.app(), "C:/parts/a.sldprt", 1, 1, "", errors, warnings);
    EXPECT_EQ(opened, part.docPtr());
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(warnings, 0);
    const auto calls = part.kit().journal().calls("ISldWorks::OpenDocument");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args, (std::vector<std::string>{"\"C:/parts/a.sldprt\"", "1", "1", "\"\""}));
    EXPECT_EQ(calls[0].result, "object");
}

TEST_F(SwapiWrapperErrors, MalformedArraysRaiseInvalidArgWhenRead) {
    IFace2Ptr face = firstFace();
    part.kit().plan().malformArray("IFace2::GetClosestPoint", malformedArrayE::tooShort, 1);
    EXPECT_EQ(raised([&] { readDoubleArray(faceGetClosestPoint(face, 0, 0, 0), 3); }).Error(),
              E_INVALIDARG);

    part.kit().plan().malformArray("IFace2::GetClosestPoint", malformedArrayE::wrongElementType, 2);
    EXPECT_EQ(raised([&] { readDoubleArray(faceGetClosestPoint(face, 0, 0, 0), 3); }).Error(),
              E_INVALIDARG);

    part.kit().plan().malformArray("IFace2::GetClosestPoint", malformedArrayE::noArray, 3);
    EXPECT_EQ(raised([&] { readDoubleArray(faceGetClosestPoint(face, 0, 0, 0), 3); }).Error(),
              E_FAIL);

    // A lower bound of 1 is read from the bound: the same values.
    const auto plain = readDoubleArray(faceGetClosestPoint(face, 1, 2, 3), 3);
    part.kit().plan().malformArray("IFace2::GetClosestPoint", malformedArrayE::lowerBoundNotZero,
                                   5);
    const _variant_t shifted = faceGetClosestPoint(face, 1, 2, 3);
    LONG lower = 0;
    SafeArrayGetLBound(shifted.parray, 1, &lower);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(readDoubleArray(shifted, 3), plain);
    EXPECT_EQ(doubleArrayAt(shifted, 2), plain[2]);

    // An object array of the wrong element type is refused as a whole.
    part.kit().plan().malformArray("IBody::GetEdges", malformedArrayE::wrongElementType);
    IBodyPtr body(readObjectArray(partDocGetBodies(IPartDocPtr(part.doc()), 0)).front());
    EXPECT_EQ(raised([&] { readObjectArray(bodyGetEdges(body)); }).Error(), E_INVALIDARG);
}

TEST_F(SwapiWrapperErrors, RefusedInterfaceLeavesQueriesEmpty) {
    IFace2Ptr face = firstFace();
    part.kit().plan().refuseInterface("IEntity");
    EXPECT_FALSE(queryInterfaceOf<IEntity>(face));
    const _com_error error = raised([&] { requireInterfaceOf<IEntity>(face); });
    EXPECT_EQ(error.Error(), E_POINTER);
    EXPECT_EQ(error.Iid(), uuidOf<IEntity>());
    // A wrapper handed the empty pointer raises E_POINTER.
    EXPECT_EQ(raised([&] { entitySelect(queryInterfaceOf<IEntity>(face), VARIANT_FALSE); }).Error(),
              E_POINTER);

    IDispatchPtr object(modelDocFirstFeature(part.doc()));
    IFeaturePtr feature = frontPlane();
    ASSERT_TRUE(feature);
    // Queries are counted from the rule on.
    part.kit().plan().refuseInterface("IFeature", 1);
    featurePtrFromUnknown(feature, object);
    EXPECT_FALSE(feature); // the first query of IFeature is refused
    featurePtrFromUnknown(feature, object);
    EXPECT_TRUE(feature);
}

TEST_F(SwapiWrapperErrors, AllocationFailuresRaiseOutOfMemory) {
    part.kit().plan().failBstrAllocation("IFeature::GetName");
    const _com_error names = raised([&] { featureGetName(frontPlane()); });
    EXPECT_EQ(names.Error(), E_OUTOFMEMORY);
    EXPECT_EQ(names.Iid(), uuidOf<IFeature>());

    part.kit().plan().failSafeArrayAllocation("IFace2::GetClosestPoint");
    EXPECT_EQ(raised([&] { faceGetClosestPoint(firstFace(), 0, 0, 0); }).Error(), E_OUTOFMEMORY);

    // The caller's own strings: a _bstr_t that cannot be made raises too.
    comTestHooks::failBstrAllocations(1);
    EXPECT_EQ(raised([] { _bstr_t text("Front Plane"); }).Error(), E_OUTOFMEMORY);
    comTestHooks::reset();
}

TEST_F(SwapiWrapperErrors, JournalRecordsExactArgumentsAndAnswers) {
    part.kit().journal().clear();
    modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0.5, 0, -1);
    featureSetName(frontPlane(), "Front Plane");
    const auto entries = part.kit().journal().entries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0].call, "IModelDoc2::SelectByName");
    EXPECT_EQ(entries[0].args,
              (std::vector<std::string>{"\"Front Plane\"", "\"PLANE\"", "0.5", "0", "-1"}));
    EXPECT_EQ(entries[0].result, "-1");
    EXPECT_EQ(part.kit().journal().count("IFeature::SetName"), 1u);
    EXPECT_EQ(part.kit().journal().count("IModelDoc2::CreateExtrusion"), 0u);

    part.kit().plan().failWith("IFeature::GetTypeName", E_FAIL);
    raised([&] { featureGetTypeName(frontPlane()); });
    const auto failed = part.kit().journal().calls("IFeature::GetTypeName");
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].hr, E_FAIL);
    EXPECT_EQ(failed[0].result, "\"\""); // outputs stay empty on failure
}

} // namespace
