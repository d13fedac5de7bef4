// The test kit itself: when plan rules apply, what the journal writes, and what a session
// object answers once its document is gone.
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/fixtures.h"
#include "platform/sldworks/testkit/journal_value.h"

#include <gtest/gtest.h>

namespace {

HRESULT errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const _com_error& error) {
        return error.Error();
    }
    return S_OK;
}

TEST(SwJournalValue, NumbersStringsAndArraysAreWrittenExactly) {
    EXPECT_EQ(journalValue(0.1), "0.1");
    EXPECT_EQ(journalValue(5.0), "5");
    EXPECT_EQ(journalValue(3.141592653589793 / 36), "0.08726646259971647");
    EXPECT_EQ(journalValue(static_cast<short>(VARIANT_TRUE)), "-1");
    EXPECT_EQ(journalValue(u"Größe"), "\"Größe\"");
    EXPECT_EQ(journalValue(static_cast<const char16_t*>(nullptr)), "\"\"");
    EXPECT_EQ(journalValue(static_cast<const IUnknown*>(nullptr)), "null");
    EXPECT_EQ(journalValue(makeDoubleArray({1, 2.5})), "[1, 2.5]");
    EXPECT_EQ(journalValue(_variant_t()), "empty");

    SAFEARRAY* shifted = SafeArrayCreateVector(VT_I4, 1, 2);
    LONG index = 2;
    LONG value = 7;
    SafeArrayPutElement(shifted, &index, &value);
    VARIANT holder;
    VariantInit(&holder);
    holder.vt = VT_ARRAY | VT_I4;
    holder.parray = shifted;
    EXPECT_EQ(journalValue(_variant_t(holder, false)), "[lb=1: 0, 7]");
}

TEST(SwFaultPlan, RulesApplyToTheirCallOrToEveryCall) {
    faultPlanC plan;
    plan.failWith("IFeature::GetName", E_FAIL, 2);
    EXPECT_FALSE(plan.take("IFeature::GetName"));
    const auto second = plan.take("IFeature::GetName");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->hr, E_FAIL);
    EXPECT_FALSE(plan.take("IFeature::GetName"));
    EXPECT_FALSE(plan.take("IFeature::GetTypeName"));

    plan.returnNull("IFeature::GetNext");
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(plan.take("IFeature::GetNext"));

    // A sequence set after calls were made answers the next calls.
    plan.scriptSequence("IFeature::GetNext", {_variant_t(1L)});
    EXPECT_EQ(plan.take("IFeature::GetNext")->kind, faultKindE::returnNull); // earlier rule first

    plan.clear();
    plan.take("ISketch::GetStatus");
    plan.scriptSequence("ISketch::GetStatus", {_variant_t(2L), _variant_t(3L)});
    EXPECT_EQ(static_cast<long>(plan.take("ISketch::GetStatus")->value), 2);
    EXPECT_EQ(static_cast<long>(plan.take("ISketch::GetStatus")->value), 3);
    EXPECT_FALSE(plan.take("ISketch::GetStatus"));
}

TEST(SwFaultPlan, RefusalsCountQueriesFromTheRuleOn) {
    faultPlanC plan;
    EXPECT_FALSE(plan.refuses("IEntity"));
    plan.refuseInterface("IEntity", 2);
    EXPECT_FALSE(plan.refuses("IEntity"));
    EXPECT_TRUE(plan.refuses("IEntity"));
    EXPECT_FALSE(plan.refuses("IEntity"));
    EXPECT_FALSE(plan.refuses("IFace2"));
}

TEST(SwTestKit, ScriptedObjectsAndWrongScriptTypes) {
    partFixtureC part;
    IDispatchPtr right(partDocFeatureByName(IPartDocPtr(part.doc()), "Right Plane"));
    part.kit().plan().scriptValue("IModelDoc2::FirstFeature", _variant_t(right.GetInterfacePtr()),
                                  1);
    EXPECT_EQ(modelDocFirstFeature(part.doc()), right);
    EXPECT_NE(modelDocFirstFeature(part.doc()), right); // only the first call

    part.kit().plan().scriptValue("IModelDoc2::FirstFeature", _variant_t("not an object"));
    EXPECT_EQ(errorOf([&] { modelDocFirstFeature(part.doc()); }), DISP_E_TYPEMISMATCH);

    part.kit().reset();
    EXPECT_TRUE(part.kit().journal().entries().empty());
    EXPECT_TRUE(modelDocFirstFeature(part.doc()));
}

TEST(SwTestKit, MalformedObjectArrays) {
    partFixtureC part;
    part.block(10, 20, 5);
    IBodyPtr body(readObjectArray(partDocGetBodies(IPartDocPtr(part.doc()), 0)).front());
    const std::size_t edges = readObjectArray(bodyGetEdges(body)).size();
    part.kit().plan().malformArray("IBody::GetEdges", malformedArrayE::tooShort, 2);
    EXPECT_EQ(readObjectArray(bodyGetEdges(body)).size(), edges - 1);
    part.kit().plan().malformArray("IBody::GetEdges", malformedArrayE::noArray, 3);
    EXPECT_EQ(bodyGetEdges(body).vt, VT_EMPTY);
    EXPECT_EQ(readObjectArray(bodyGetEdges(body)).size(), edges);
}

TEST(SwTestKit, ObjectsOfAClosedDocumentAnswerUnexpected) {
    ISldWorksPtr app = createSimulatedSldWorks();
    IFeaturePtr feature;
    {
        IModelDoc2Ptr doc(sldWorksNewPart(app));
        feature = modelDocFirstFeature(doc);
        ASSERT_TRUE(feature);
        sldWorksCloseDocument(app, "");
    }
    EXPECT_EQ(errorOf([&] { featureGetName(feature); }), E_UNEXPECTED);
}

TEST(SwTestKit, NullOutParameterIsRefused) {
    partFixtureC part;
    EXPECT_EQ(part.doc()->GetType(nullptr), E_POINTER);
    const auto calls = part.kit().journal().calls("IModelDoc2::GetType");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].hr, E_POINTER);
}

} // namespace
